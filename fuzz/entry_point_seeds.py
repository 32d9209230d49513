#!/usr/bin/env python3
"""Writes the hand-made seeds of the entry point fuzzer (fuzz/corpus/entry_point).

Each seed is a list of messages in the input format of fuzz/entry_point_fuzzer.cpp,
then a 0 that ends the messages, then the answers of the host and the system,
which the fuzzer reads from the input's end backwards. Zero answers are an
ordinary host (registered configuration values, a status with links of every
kind, chat windows open, a clipboard that works); a seed may fill them with
another byte, or set the first few.

    python3 fuzz/entry_point_seeds.py fuzz/corpus/entry_point
"""
import struct
import sys
from pathlib import Path

# Message ids as the fuzzer's op byte selects them (op % 32).
OP = {
    20001: 1, 20002: 2, 20020: 3, 21001: 4, 22000: 5, 22100: 6, 22101: 7,
    22200: 8, 24011: 16, 30010: 20, 30011: 21, 30012: 22, 30013: 23, 30014: 24,
    30015: 25, 30016: 26, 30017: 27,
}
UNKNOWN_FROM_LIST = 29   # odd op 29: an id from the fuzzer's list of unknown ids

# Size bytes: the type's size, or an exact size of 0..85.
TYPE_SIZE = bytes([0])


def exact_size(n):
    assert 0 <= n < 86
    return bytes([5, n])


def u32(v):
    return struct.pack('<I', v & 0xFFFFFFFF)


ORDINARY_STATUS = bytes([0])   # statusText kind 0: the ordinary status


def pieces_status(indexes):
    """statusText kind 3: pieces of the fuzzer's status piece table."""
    assert 1 <= len(indexes) <= 16
    # kind byte 3 (pieces), count byte (count - 1), then one byte per piece.
    return bytes([3, len(indexes) - 1]) + bytes(indexes)


def contact(n):
    """drawContact: a small contact 1..8."""
    return bytes([0, n - 1])


def plain(message_id, size=TYPE_SIZE):
    """A message whose parameters the plug-in does not read (p1 null)."""
    return bytes([OP[message_id], 0]) + size


def unknown(j):
    """An id from the fuzzer's list of unknown ids (op, index, flags, size)."""
    return bytes([UNKNOWN_FROM_LIST, j, 0]) + TYPE_SIZE


def init(host_b=False, size=TYPE_SIZE, garbage=False):
    """20001 with host A or B; garbage: p1 a pointer never to follow (only
    for records too short to carry p1)."""
    if garbage:
        return bytes([OP[20001], 0]) + size + bytes([6, 0])
    return bytes([OP[20001], 0]) + size + bytes([1 if host_b else 0])


# 22200 without a notification record (p1 null).
NOTIFY_NULL = bytes([OP[22200], 0]) + TYPE_SIZE + bytes([15])
# 22200 in a record too short for p1, whose p1 is garbage.
NOTIFY_SHORT = bytes([OP[22200], 0]) + exact_size(29) + bytes([1, 0])

# Notification ids as buildNotify's first byte selects them.
LINKS_MENU, SINGLE_ITEM, ITEM_SLOT, CHAT_BUTTON, CONFIG_PAGE, PAGE_CONTROL = 0, 3, 4, 6, 9, 10
CONTROLS = [109110, 109111, 109112, 109113, 109114, 109115, 109116, 109117, 109118,
            109119, 109120, 109121, 109122, 109123, 109128, 109129, 0, 109101]
CODES = {1: 0, 10: 1, 12: 2, 14: 6}
SHIFT = 0x10   # flags: Shift held while the message is handled
# The system refuses, while the message is handled:
REFUSE_ALLOC, REFUSE_LOCK, REFUSE_OPEN, REFUSE_SET = 1, 2, 4, 8


def notify(kind, code, extra=b'', cnt=contact(1), size=TYPE_SIZE, params=b'\x01', flags=0,
           refusals=None):
    """One 22200 with a notification record. params: 1 = no text (p1 = p2 = 0);
    0 + status = the status-text marker with that text; 3 + pick = the marker
    with a garbage p1 (only for records too short to carry it)."""
    record = bytes([kind]) + extra + bytes([0]) + cnt + bytes([CODES[code], 0]) + size + params
    if refusals is None:
        return bytes([OP[22200], flags]) + TYPE_SIZE + bytes([0]) + record
    return bytes([OP[22200], flags | 0x80]) + TYPE_SIZE + bytes([refusals, 0]) + record


def slot(j, code=1, flags=0, refusals=None):
    return notify(ITEM_SLOT, code, bytes([j]), flags=flags, refusals=refusals)


def control(column, code):
    return notify(PAGE_CONTROL, code, bytes([CONTROLS.index(column)]))


def status_change(n, status=ORDINARY_STATUS, size=TYPE_SIZE, short=False):
    """24011 for contact n with the status as p3; short: a record without p3,
    whose p3 is garbage."""
    if short:
        return bytes([OP[24011], 0]) + size + contact(n) + bytes([1, 0])
    return bytes([OP[24011], 0]) + size + contact(n) + status


def long_status(unit, where):
    """statusText kind 11, the 64 KiB branch: a unit of the fuzzer's table
    repeated, with a link at: 0 none, 1 the start, 2 the end, 3 the middle."""
    return bytes([11, 15, unit, where])


END = bytes([0])
SEED_SIZE = 1536


def seed(messages, fill=0, startup=True, first_answers=b''):
    """first_answers: the host's first answers, in the order it gives them
    (they are read from the input's end backwards)."""
    front = bytes([0 if startup else 3]) + b''.join(messages) + END
    tail = bytes(reversed(first_answers))
    assert len(front) + len(tail) <= SEED_SIZE, len(front)
    return front + bytes([fill]) * (SEED_SIZE - len(front) - len(tail)) + tail


# The answers of a 22100 sent first: nine stored integers (each the
# registered default, then GetValue's own result), then the method text (3:
# not the default; 0: the first of the method texts, "0", so the regular
# expression is chosen).
REGEX_CHOSEN = bytes(18) + bytes([3, 0])

SEEDS = {
    # Identification queries and unknown ids, before and after the start-up.
    'queries': seed([plain(i) for i in (30010, 30011, 30012, 30013, 30014, 30015, 30016,
                                        30017, 20020, 22101)]
                    + [unknown(j) for j in range(10)]
                    + [plain(20002)]
                    + [plain(i) for i in (30010, 30012, 20020)] + [unknown(1)]),
    # Everything that needs the plug-in object, before any 20001, then the
    # start-up one message at a time and a second 20001 with the other host.
    'lifecycle': seed([plain(21001), plain(22000), plain(22100),
                       notify(LINKS_MENU, 10), status_change(1),
                       init(), plain(21001), plain(22000), plain(22100),
                       init(host_b=True), plain(22100), notify(LINKS_MENU, 12),
                       plain(20002), plain(20002), NOTIFY_NULL, init()],
                      startup=False),
    # The contact menu: prepare, then choose every item slot (and two beyond)
    # and the single item; with Shift held, copy.
    'links_menu': seed([notify(LINKS_MENU, 10)]
                       + [slot(j) for j in range(12)]
                       + [slot(1, flags=SHIFT), notify(SINGLE_ITEM, 1), notify(LINKS_MENU, 12),
                          notify(LINKS_MENU, 1), slot(0, 10), NOTIFY_NULL]
                       # Copies the system refuses at each step.
                       + [slot(2, flags=SHIFT, refusals=r)
                          for r in (REFUSE_ALLOC, REFUSE_LOCK, REFUSE_OPEN, REFUSE_SET)]),
    # The chat button: prepared from the host's status, from an attached
    # status (short, 64 KiB), and chosen, with and without Shift.
    'chat_button': seed([notify(CHAT_BUTTON, 10), notify(CHAT_BUTTON, 12),
                         notify(CHAT_BUTTON, 12, params=bytes([0]) + ORDINARY_STATUS),
                         notify(CHAT_BUTTON, 12,
                                params=bytes([0]) + pieces_status([3, 10, 12, 17, 0, 10, 13])),
                         notify(CHAT_BUTTON, 12, params=bytes([0]) + long_status(1, 3)),
                         notify(CHAT_BUTTON, 1), notify(CHAT_BUTTON, 1, flags=SHIFT),
                         notify(CHAT_BUTTON, 14)]),
    # Status changes: ordinary, 64 KiB, for contact 0, without text, too short.
    'status_change': seed([status_change(1), status_change(3, pieces_status([7, 11, 12])),
                           status_change(5, long_status(2, 2)),
                           bytes([OP[24011], 0]) + TYPE_SIZE + bytes([2]) + ORDINARY_STATUS,
                           status_change(2, bytes([1])),
                           status_change(1, size=exact_size(33), short=True),
                           status_change(1, size=exact_size(30), short=True)]),
    # The configuration page: every control with the codes it reacts to, then
    # taking the page over (which refreshes the open chat windows' buttons).
    'config_page': seed([control(c, code) for c in CONTROLS for code in (1, 10, 12)]
                        + [notify(CONFIG_PAGE, 14), notify(CONFIG_PAGE, 1),
                           notify(LINKS_MENU, 10), slot(1)]),
    # Records shorter than their type: 20001 and 22200 without parameters,
    # a notification too short for its text, 24011 without p3, empty records.
    'short_records': seed([init(size=exact_size(29), garbage=True), NOTIFY_SHORT,
                           notify(CHAT_BUTTON, 12, size=exact_size(29), params=bytes([3, 1])),
                           notify(LINKS_MENU, 10, size=exact_size(0)),
                           status_change(1, size=exact_size(33), short=True),
                           plain(30010, exact_size(0)), plain(20002, exact_size(1)),
                           init(size=exact_size(29))]),
    # The regular-expression method, chosen in the stored configuration.
    'regex_method': seed([init(), plain(22100), notify(LINKS_MENU, 10), slot(0), slot(2),
                          slot(3, flags=SHIFT), notify(CHAT_BUTTON, 10), notify(CHAT_BUTTON, 1),
                          status_change(4), notify(CONFIG_PAGE, 14)],
                         startup=False, first_answers=REGEX_CHOSEN),
    # A host whose every answer is 0xFF: texts of no link, refused memory
    # and clipboard, numbers at 1.
    'refusing_host': seed([notify(LINKS_MENU, 10), slot(0), notify(CHAT_BUTTON, 1, flags=SHIFT),
                           notify(CHAT_BUTTON, 12, params=bytes([0]) + ORDINARY_STATUS),
                           status_change(1), notify(CONFIG_PAGE, 14)], fill=0xFF),
}


def main():
    folder = Path(sys.argv[1] if len(sys.argv) > 1 else 'fuzz/corpus/entry_point')
    folder.mkdir(parents=True, exist_ok=True)
    for name, data in SEEDS.items():
        (folder / name).write_bytes(data)


if __name__ == '__main__':
    main()
