#!/usr/bin/env python3
"""Packs a folder into a zip archive that depends on nothing but its contents.

usage: reproducible_zip.py ARCHIVE FOLDER EPOCH

Every regular file below FOLDER becomes an entry named FOLDER's last path
component followed by its relative path ('/' separators), in byte order of
those names. Each entry has the time EPOCH (seconds since 1970, taken as UTC
and rounded down to the two-second steps of the zip format; 1980-01-01 is the
earliest time the format holds), the permissions rw-r--r--, no extra fields
(no owner, no access time) and the same compression. Two runs over the same
files therefore give the same bytes, whichever folder, user, umask or clock
they run with.
"""
import os
import sys
import time
import zipfile

EARLIEST = 315532800  # 1980-01-01T00:00:00Z


def main(argv):
    if len(argv) != 4:
        sys.stderr.write(__doc__)
        return 2
    archive, folder, epoch = argv[1], argv[2].rstrip("/"), int(argv[3])
    stamp = time.gmtime(max(epoch, EARLIEST))[:6]
    top = os.path.basename(folder)
    names = []
    for parent, dirs, files in os.walk(folder):
        dirs.sort()
        for name in files:
            path = os.path.join(parent, name)
            names.append(top + "/" + os.path.relpath(path, folder).replace(os.sep, "/"))
    names.sort(key=lambda n: n.encode("utf-8"))
    partial = archive + ".partial"
    with zipfile.ZipFile(partial, "w") as out:
        for name in names:
            entry = zipfile.ZipInfo(name, date_time=stamp)
            entry.create_system = 3  # permissions are Unix mode bits
            entry.external_attr = 0o100644 << 16
            entry.compress_type = zipfile.ZIP_DEFLATED
            with open(os.path.join(folder, name[len(top) + 1:]), "rb") as source:
                out.writestr(entry, source.read(), compresslevel=9)
    os.replace(partial, archive)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
