// The entry point fuzzer's host and system: they keep to the letter of the
// host's contract (records as laid out, texts zero-terminated, a text
// answered valid until the next call-out, the refresh notification delivered
// back before CallAction returns) and to nothing more. Every answer is drawn
// from the fuzz input: null, empty, 64 KiB or link-laden texts, any integer
// from a value query, contacts that do not exist, chat windows that open and
// close from one call to the next, configuration that changes under the
// plug-in's feet, a clipboard that refuses.
//
// They also watch the plug-in: each record it sends is read whole at its
// declared size (AddressSanitizer catches a short one) and must be what the
// host expects; each text it hands out must come from what the host gave it
// (fuzz/text_origin.h). A violation aborts.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "fuzz/plugin_allocations.h"
#include "fuzz/text_origin.h"
#include "host/host_interface.h"
#include "host/ids.h"
#include "host/records.h"
#include "settings/columns.h"
#include "settings/texts.h"
#include "system/system_api.h"

// The plug-in's one export (plugin/entry.cpp).
extern "C" __attribute__((stdcall)) int IMessageProc(brisko::HostMessage* message);

namespace brisko::fuzz {

// check() whose detail is made only when the check fails (the checks run
// on every call; their details would cost more than the checks).
template <typename MakeDetail>
inline void require(bool ok, const char* what, MakeDetail&& detail) {
  if (!ok) fail(what, detail());
}

// The start of a text, for a failure's detail.
inline std::string shown(std::string_view text) { return std::string(text.substr(0, 200)); }

// ---------------------------------------------------------------------------
// The input, read from both ends: the messages from the front, the host's and
// the system's answers from the back, so that a change to one leaves the
// other's bytes in place. A used-up input reads as zeros, and zero always
// draws the host's ordinary behaviour.
class FuzzBytes {
 public:
  void reset(const std::uint8_t* data, std::size_t size) {
    data_ = data;
    front_ = 0;
    back_ = size;
  }
  bool empty() const { return front_ >= back_; }
  std::uint8_t takeFront() { return empty() ? 0 : data_[front_++]; }
  std::uint8_t takeBack() { return empty() ? 0 : data_[--back_]; }

 private:
  const std::uint8_t* data_ = nullptr;
  std::size_t front_ = 0;
  std::size_t back_ = 0;
};

class Draw {
 public:
  Draw(FuzzBytes& bytes, bool fromBack) : bytes_(bytes), fromBack_(fromBack) {}
  std::uint8_t u8() { return fromBack_ ? bytes_.takeBack() : bytes_.takeFront(); }
  std::uint16_t u16() { return static_cast<std::uint16_t>(u8() | (u8() << 8)); }
  std::uint32_t u32() { return u16() | (static_cast<std::uint32_t>(u16()) << 16); }
  // True one time in n (never once the input is used up).
  bool rare(unsigned n) { return u8() % n == n - 1; }
  template <typename T, std::size_t N>
  const T& pick(const T (&table)[N]) {
    return table[u8() % N];
  }

 private:
  FuzzBytes& bytes_;
  bool fromBack_;
};

// ---------------------------------------------------------------------------
// Texts. nullopt is a null pointer.
using Text = std::optional<std::string>;

// Bytes on the heap, exactly as many as asked for, so that AddressSanitizer
// catches a read past their end. Allocated as the host's, never the plug-in's.
class HeapBytes {
 public:
  HeapBytes() = default;
  explicit HeapBytes(std::size_t size) {
    HostCode hostCode;
    bytes_ = static_cast<char*>(std::malloc(size == 0 ? 1 : size));
    if (bytes_ == nullptr) std::abort();
    std::memset(bytes_, 0, size);
  }
  HeapBytes(HeapBytes&& other) noexcept : bytes_(other.bytes_) { other.bytes_ = nullptr; }
  HeapBytes& operator=(HeapBytes&& other) noexcept {
    std::swap(bytes_, other.bytes_);
    return *this;
  }
  HeapBytes(const HeapBytes&) = delete;
  HeapBytes& operator=(const HeapBytes&) = delete;
  ~HeapBytes() { std::free(bytes_); }
  char* get() const { return bytes_; }

 private:
  char* bytes_ = nullptr;
};

// A zero-terminated copy of a text that ends exactly at its terminator.
inline HeapBytes exactText(const std::string& text) {
  HeapBytes bytes(text.size() + 1);
  std::memcpy(bytes.get(), text.c_str(), text.size() + 1);
  return bytes;
}

namespace pieces {

// Pieces that statuses are made of: every prefix the finders know, in
// several letter cases, and the bytes around and inside links.
inline constexpr const char* kStatus[] = {"http://",
                                          "http:\\\\",
                                          "https://",
                                          "www.",
                                          "WWW.",
                                          "HTTP://",
                                          "hTtP://wWw.",
                                          "http://www.",
                                          "https://www.",
                                          "ftp://",
                                          "example",
                                          "Onet",
                                          ".pl",
                                          ".com",
                                          ".org",
                                          "/",
                                          "\\",
                                          " ",
                                          "\t",
                                          ".",
                                          "_",
                                          "@",
                                          "x@",
                                          "user@host.pl",
                                          "a",
                                          "Z9",
                                          ",",
                                          "%",
                                          "&",
                                          "=",
                                          "-",
                                          "$",
                                          "?",
                                          "<",
                                          ">",
                                          ":",
                                          "\x85",
                                          "\xB9\xEA",
                                          "\xFF",
                                          "http",
                                          "www",
                                          "w",
                                          "h",
                                          "//",
                                          "://",
                                          "1.2.3.4",
                                          ":8080",
                                          "?q=1&r=2",
                                          "<b>",
                                          "\n",
                                          "http://http://",
                                          "www.www.",
                                          "x.pl ",
                                          "mailto:a@b.pl",
                                          "HTTPS://WWW.",
                                          "http:/",
                                          "www",
                                          "ww.",
                                          "http:\\",
                                          "\x1A",
                                          "\x04"};

// Units that a 64 KiB status repeats. Chosen so that every finder stays
// linear on them (the regular-expression finder is quadratic on some long
// texts, e.g. "x@x@x@...", a cost of its method, not a fault).
inline constexpr const char* kLongUnit[] = {"a",    " ",     "http://www.", "http://", ".",
                                            "\x85", "x.pl ", "hhhh",        "ab/_",    "http:\\\\"};

inline constexpr const char* kRegex[] = {
    texts::kDefaultRegex,
    "www\\.[a-z]+",
    "https?://\\S+",
    "[a-z]+\\.pl",
    "x*",
    "\\b",
    "(?=w)",
    "",
    "(",
    "[",
    "a{2,1}",
    "(?i)HTTP://\\S+",
    "\\S+",
    "\\w+@\\w+\\.\\w+",
    "http:\\\\\\\\\\S*",
    "(www\\.)+",
    "https://",
    "[^ ]*",
    "\\\\",
    "(?<=w)w\\.\\S+",
};

inline constexpr const char* kExtraChars[] = {texts::kDefaultExtraChars,
                                              texts::kRegisteredExtraChars,
                                              "",
                                              ":",
                                              ",",
                                              "\x85\xB9",
                                              "@",
                                              " ",
                                              "<>",
                                              "\xFF"};

inline constexpr const char* kNumber[] = {"0",    "1",    "10",    "11",   "99", "999",
                                          "1000", "9999", "10000", "0009", "-1", "",
                                          "12a",  "\xB9", " 5",    "00",   "4",  "0010"};

inline constexpr const char* kFlag[] = {"1", "0", "", "1x", "-1", "01", "\xB9", "2"};

}  // namespace pieces

// Raw bytes, none of them zero (the text would end there).
inline std::string rawBytes(Draw& draw, std::size_t count) {
  std::string text;
  for (std::size_t i = 0; i < count; ++i) {
    const char c = static_cast<char>(draw.u8());
    text.push_back(c == '\0' ? ' ' : c);
  }
  return text;
}

inline std::string fromPieces(Draw& draw, std::size_t count) {
  std::string text;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t choice = draw.u8();
    if (choice >= 240) {
      text += rawBytes(draw, 1);
    } else {
      text += pieces::kStatus[choice % std::size(pieces::kStatus)];
    }
  }
  return text;
}

constexpr std::size_t kLongText = 65536;

inline std::string longText(Draw& draw) {
  std::string text = draw.pick(pieces::kLongUnit);
  text.reserve(kLongText + 32);  // below the sanitizer's large-block size
  while (text.size() < kLongText) {
    text.append(text, 0, std::min(text.size(), kLongText - text.size()));  // doubling
  }
  switch (draw.u8() % 4) {
    case 1:
      text = "www.first.pl " + text;
      break;
    case 2:
      text += " http://www.last.pl/x";
      break;
    case 3:
      text.replace(kLongText / 2, 12, "www.middle.p");
      break;
    default:
      break;
  }
  return text;
}

// The status of an ordinary contact: links of every kind the finders know.
inline constexpr char kOrdinaryStatus[] =
    "Zobacz www.Example.pl/a, http://www.test.com/b?x=1 i https://www.secure.pl/ "
    "oraz HTTP://host.org/c lub x@y.com";

// A status description, or any text the host has: an ordinary one, a
// contact that does not exist (null), none at all, pieces of links, raw
// bytes, a pile of prefixes, 64 KiB.
inline Text statusText(Draw& draw) {
  const std::uint8_t kind = draw.u8() % 16;
  switch (kind) {
    case 0:
      return std::string(kOrdinaryStatus);
    case 1:
      return std::nullopt;
    case 2:
      return std::string();
    case 8:
    case 9:
      return rawBytes(draw, draw.u8() % 64);
    case 10: {
      std::string text;
      const int repeats = 1 + draw.u8() % 40;
      for (int i = 0; i < repeats; ++i) {
        text += draw.pick({"http://www.", "http://", "www.", "HTTP://WWW.", "http:\\\\www.",
                           "https://www.", "https://"});
      }
      return text + fromPieces(draw, draw.u8() % 4);
    }
    case 11:
      // 64 KiB is costly under emulation: one status in 256.
      return draw.rare(16) ? longText(draw) : fromPieces(draw, 1 + draw.u8() % 8);
    default:
      return fromPieces(draw, 1 + draw.u8() % 16);
  }
}

// ---------------------------------------------------------------------------
// How often each check ran, over the whole process (printed at exit when the
// environment has BRISKO_FUZZ_STATS).
struct CheckCounts {
  std::size_t messages = 0;
  std::size_t menuTexts = 0;
  std::size_t chatButtonTexts = 0;
  std::size_t valuesWrittenBack = 0;
  std::size_t refreshes = 0;
  std::size_t reentries = 0;
  std::size_t opened = 0;
  std::size_t copied = 0;
  std::size_t shutdowns = 0;
};

inline CheckCounts& counts() {
  static CheckCounts instance;
  return instance;
}

// ---------------------------------------------------------------------------
// What the plug-in's notification of a refreshed chat button must be.
struct ExpectedRefresh {
  bool statusChange = false;  // else a refresh after the settings were applied
  std::int32_t contact = 0;
  std::uint32_t text = 0;
};

// The world both host objects and the system share: the input's answers,
// the model of what the plug-in holds, the counters of one message, and the
// texts given out.
class HostWorld {
 public:
  HostWorld() = default;

  void startInput(FuzzBytes& bytes) {
    answers_.emplace(bytes, /*fromBack=*/true);
    log_.clear();
    expectedHost_ = nullptr;
    answer_ = HeapBytes();
  }
  void endInput() {
    answer_ = HeapBytes();
    answers_.reset();
  }
  Draw& answers() { return *answers_; }
  TextLog& log() { return log_; }

  // The host reference the plug-in should hold (null: none).
  void expectHost(IHost* host) { expectedHost_ = host; }
  IHost* expectedHost() const { return expectedHost_; }

  // Counters of one top-level message, the host's re-entries included.
  void startMessage() {
    callOuts_ = 0;
    setErrors_ = 0;
    chatWindowAnswers_.clear();
    rowIds_.clear();
    refresh_.reset();
  }
  int callOuts() const { return callOuts_; }
  int setErrors() const { return setErrors_; }
  // The 24011 being handled, whose notification CallAction must carry.
  void expectStatusChangeRefresh(std::int32_t contact, std::uint32_t text) {
    refresh_ = ExpectedRefresh{true, contact, text};
  }

  // --- the host interface ------------------------------------------------
  void enter(const IHost* self) {
    ++callOuts_;
    answer_ = HeapBytes();  // the previous answer is valid no longer
    check(self == expectedHost_, "a call-out reaches the host the plug-in was last given");
  }

  int anyInteger() {
    switch (answers().u8() % 8) {
      case 0:
        return 0;
      case 1:
        return 1;
      case 2:
        return -1;
      case 3:
        return std::numeric_limits<int>::min();
      case 4:
        return std::numeric_limits<int>::max();
      case 5:
        return answers().u8();
      default:
        return static_cast<int>(answers().u32());
    }
  }

  void setError(int code) {
    ++setErrors_;
    require(code == 1, "SetError only with code 1", [&] { return std::to_string(code); });
  }

  // Answers with a text that stays valid until the next call-out.
  std::uint32_t answerText(const Text& text) {
    if (!text) return 0;
    answer_ = exactText(*text);
    return ptrValue(answer_.get());
  }

  int sendToPlugin(HostMessage* message) {
    check(message != nullptr, "SendToPlugin with a message");
    HostMessage copy;
    std::memcpy(&copy, message, kHostMessageSize);
    check(copy.size == kHostMessageSize && copy.id == msg::kDisplayNameQuery,
          "SendToPlugin only asks for the display name, in 30 bytes");
    Draw& draw = answers();
    if (draw.u8() % 4 == 0) {
      return static_cast<int>(answerText(std::string(texts::kPluginName)));
    }
    return static_cast<int>(answerText(statusText(draw)));
  }

  int getRowId(int table, int index) {
    check(table == kContactTable, "GetRowId of the contact table");
    check(index >= 0 && index < lastContactCount_, "GetRowId within the count answered");
    Draw& draw = answers();
    int id = 0;
    switch (draw.u8() % 6) {
      case 0:
        id = 1 + index;
        break;
      case 1:
        id = -1;
        break;
      case 2:
        id = 0;
        break;
      case 3:
        id = static_cast<int>(draw.u32());
        break;
      default:
        id = 1 + draw.u8() % 8;
        break;
    }
    if (id != -1) rowIds_.push_back(id);
    return id;
  }

  int getValue(int table, int row, int column, ConfigValue* value) {
    check(value != nullptr, "GetValue with a value record");
    ConfigValue asked;
    std::memcpy(&asked, value, kConfigValueSize);
    check(asked.bufferSize == 0, "GetValue offers no buffer");
    check(asked.type <= 1, "GetValue type 0 or 1");
    Draw& draw = answers();
    std::uint32_t answer = 0;
    if (table == kConfigTable) {
      check(row == 0, "configuration is row 0");
      answer = asked.type == 0
                   ? static_cast<std::uint32_t>(configInteger(static_cast<std::uint32_t>(column)))
                   : answerText(configText(static_cast<std::uint32_t>(column)));
    } else {
      check(table == kContactTable && column == kStatusDescriptionColumn && asked.type == 1,
            "the only contact value read is the status description");
      const Text status = statusText(draw);
      if (status) log_.addStatus(*status);
      answer = answerText(status);
    }
    std::memcpy(reinterpret_cast<char*>(value) + offsetof(ConfigValue, value), &answer,
                sizeof answer);
    return anyInteger();
  }

  int sendToHost(HostMessage* message) {
    check(message != nullptr, "SendToHost with a message");
    std::uint16_t size = 0;
    std::memcpy(&size, message, sizeof size);
    std::uint32_t id = 0;
    std::memcpy(&id, reinterpret_cast<const char*>(message) + 2, sizeof id);
    const std::uint16_t expectedSize =
        id == msg::kRegisterConfigColumn ? kConfigColumnRecordSize : kHostMessageSize;
    require(size == expectedSize, "size of a message the plug-in sends",
            [&] { return std::to_string(id); });
    unsigned char whole[kConfigColumnRecordSize];
    std::memcpy(whole, message, size);  // all of it readable
    if (id == msg::kRegisterConfigColumn) return registerColumn(whole);

    HostMessage m;
    std::memcpy(&m, whole, kHostMessageSize);
    require(m.hdr1 == 0 && m.hdr2 == 0 && m.hdr4 == 0, "head words 0",
            [&] { return std::to_string(id); });
    require(m.hdr3 == (id == msg::kGetContactCount ? 0xFFFFFFFFu : 0u), "hdr3",
            [&] { return std::to_string(id); });
    switch (id) {
      case msg::kInsertAction: {
        const ActionInfo info = readActionInfo(m.p1, true);
        check(info.mask == mask::kInsert, "insertion mask");
        textAt(info.text);
        return anyInteger();
      }
      case msg::kCallAction:
        return callAction(m.p1);
      case msg::kGetActionValue: {
        const ActionInfo info = readActionInfo(m.p1, false);
        check(info.mask == mask::kText || info.mask == mask::kTextFlagged, "read mask");
        check(info.text == 0 && info.textSize == 0, "a read offers no buffer");
        const Text value = controlValue(info.id);
        if (value) log_.addControlValue(*value);
        return static_cast<int>(answerText(value));
      }
      case msg::kSetAction: {
        const ActionInfo info = readActionInfo(m.p1, false);
        if (info.mask == mask::kStatus) return anyInteger();
        require(info.mask == mask::kText, "change mask is status or text",
                [&] { return std::to_string(info.mask); });
        const std::string text = textAt(info.text);
        check(info.text != 0, "SetActionText with a text");
        checkMenuText(info.id, text);
        return anyInteger();
      }
      case msg::kSetActionValue: {
        const ActionInfo info = readActionInfo(m.p1, false);
        check(info.mask == mask::kText || info.mask == mask::kTextFlagged, "value mask");
        check(info.text != 0, "SetActionValue with a text");
        const std::string text = textAt(info.text);
        require(log_.isWrittenBackValue(text), "a page value written back comes from the page",
                [&] { return shown(text); });
        ++counts().valuesWrittenBack;
        return anyInteger();
      }
      case msg::kGetActionHandle: {
        check(m.p1 != 0, "GetActionHandle with a reference");
        ActionRef ref;
        std::memcpy(&ref, valuePtr<const void>(m.p1), kActionRefSize);
        // A chat window that is there one moment and gone the next.
        const int handle = answers().u8() % 3 == 2 ? 0 : 1 + answers().u8();
        if (ref.id == group::kChatWindowAction) {
          check(ref.parent == 0, "chat window reference with parent 0");
          const std::int32_t contact = ref.cnt;  // packed: copied before use
          chatWindowAnswers_[contact] = handle != 0;
        }
        return handle;
      }
      case msg::kRegisterIcon: {
        check(m.p1 != 0, "RegisterIcon with a record");
        IconRecord icon;
        std::memcpy(&icon, valuePtr<const void>(m.p1), kIconRecordSize);
        check(icon.size == kIconRecordSize, "icon record size");
        return anyInteger();
      }
      case msg::kGetContactCount:
        lastContactCount_ = contactCount();
        return lastContactCount_;
      case msg::kGetPluginValue:
        return anyInteger();
      case msg::kValueToText: {
        check(m.p2 != 0, "ValueToText with a buffer");
        // The plug-in lends 52 bytes; the host fills them, maybe without a
        // terminator.
        const std::size_t n = answers().u8() % 53;
        const std::string bytes = rawBytes(answers(), n);
        std::memcpy(valuePtr<char>(m.p2), bytes.data(), n);
        return anyInteger();
      }
      default:
        fail("a message the host does not know", std::to_string(id));
    }
  }

 private:
  // A stored integer: zero draws the value registered for the column.
  int configInteger(std::uint32_t column) {
    Draw& draw = answers();
    switch (draw.u8() % 16) {
      case 0:
        for (const ColumnDefinition& entry : kColumnTable) {
          if (entry.id == column) return entry.intDefault;
        }
        return 0;
      case 1:
        return 0;
      case 2:
        return -1;
      case 3:
        return 2;
      case 4:
        return std::numeric_limits<int>::min();
      case 5:
        return std::numeric_limits<int>::max();
      case 6:
        return 5;
      case 7:
        return 10;
      case 8:
        return 11;
      case 9:
        return 999;
      case 10:
        return 1000;
      case 11:
        return 9999;
      case 12:
        return 10000;
      case 13:
        return draw.u8();
      case 14:
        return static_cast<int>(draw.u32());
      default:
        return 1;
    }
  }

  // A stored text: zero draws the text registered for the column.
  Text configText(std::uint32_t column) {
    Draw& draw = answers();
    switch (draw.u8() % 16) {
      case 0:
        for (const ColumnDefinition& entry : kColumnTable) {
          if (entry.id == column && entry.textDefault != nullptr) {
            return std::string(entry.textDefault);
          }
        }
        return std::string();
      case 1:
        return std::nullopt;
      case 2:
        return statusText(draw);
      default:
        break;
    }
    switch (column) {
      case column::kRegexMethod:
      case column::kAuthorMethod:
        return std::string(draw.pick({"0", "-1", "", "1", "0x", "\xB9"}));
      case column::kRegexSource:
        return draw.rare(8) ? rawBytes(draw, draw.u8() % 16)
                            : std::string(draw.pick(pieces::kRegex));
      case column::kExtraChars:
        return draw.rare(4) ? rawBytes(draw, draw.u8() % 24)
                            : std::string(draw.pick(pieces::kExtraChars));
      default:
        return statusText(draw);
    }
  }

  // A page control's value as the host holds it: zero draws what a user
  // would leave there.
  Text controlValue(std::uint32_t id) {
    const std::uint32_t column = controlNumber(id);
    Draw& draw = answers();
    switch (draw.u8() % 16) {
      case 0:
        switch (column) {
          case column::kAnalysedLength:
            return std::string("0");
          case column::kLinkCount:
            return std::string("10");
          case column::kDisplayLength:
            return std::string("40");
          case column::kExtraChars:
            return std::string(texts::kDefaultExtraChars);
          case column::kRegexSource:
            return std::string(texts::kDefaultRegex);
          case column::kRegexMethod:
            return std::string(texts::kRadioNotChosen);
          case column::kAuthorMethod:
            return std::string(texts::kRadioChosen);
          default:
            return std::string("1");
        }
      case 1:
        return std::nullopt;
      case 2:
        return statusText(draw);
      default:
        break;
    }
    switch (column) {
      case column::kAnalysedLength:
      case column::kLinkCount:
      case column::kDisplayLength:
        if (draw.rare(8)) {
          return std::string(1 + draw.u8() % 64, static_cast<char>('0' + draw.u8() % 10));
        }
        return std::string(draw.pick(pieces::kNumber));
      case column::kExtraChars:
        return draw.rare(8) ? std::string(100 + draw.u8() % 4, ',')
                            : std::string(draw.pick(pieces::kExtraChars));
      case column::kRegexSource:
        if (draw.rare(8)) return std::string(300 + draw.u8() % 4, 'w');
        return std::string(draw.pick(pieces::kRegex));
      case column::kRegexMethod:
      case column::kAuthorMethod:
        return std::string(draw.pick({"0", "-1", "", "1"}));
      default:
        return std::string(draw.pick(pieces::kFlag));
    }
  }

  int contactCount() {
    Draw& draw = answers();
    switch (draw.u8() % 8) {
      case 0:
        return 2;
      case 1:
        return 0;
      case 2:
        return -1;
      case 3:
        return std::numeric_limits<int>::min();
      case 4:
        return 1;
      default:
        // A host's table holds a bounded number of contacts: the plug-in
        // asks for each row, so a count in the billions would only measure
        // the host's patience.
        return draw.u8();
    }
  }

  ActionInfo readActionInfo(std::uint32_t pointer, bool insertion) {
    check(pointer != 0, "an action record");
    std::uint16_t size = 0;
    std::memcpy(&size, valuePtr<const void>(pointer), sizeof size);
    require(size == kActionInfoSize || (insertion && size == kActionInfoExSize),
            "action record size", [&] { return std::to_string(size); });
    ActionInfo info{};
    std::memcpy(&info, valuePtr<const void>(pointer), size);
    return info;
  }

  // The whole text a record points to (ASan checks it is readable and ends).
  static std::string textAt(std::uint32_t pointer) {
    const char* text = valuePtr<const char>(pointer);
    return text == nullptr ? std::string() : std::string(text);
  }

  int registerColumn(const unsigned char* whole) {
    ConfigColumnRecord record;
    std::memcpy(&record, whole, kConfigColumnRecordSize);
    check(record.name != 0, "a column has a key");
    textAt(record.name);
    if (record.columnType == 1) textAt(record.defaultValue);
    return anyInteger();
  }

  void checkMenuText(std::uint32_t id, const std::string& text) {
    if (id == action::kChatLinkButton) {
      require(log_.isOpenForm(text), "the chat button shows a link from a status",
              [&] { return shown(text); });
      ++counts().chatButtonTexts;
      return;
    }
    require(id == action::kSingleLinkItem ||
                (id >= action::kLinkItemBase && id < action::kLinkItemBase + 10),
            "menu texts only for the link items", [&] { return std::to_string(id); });
    require(log_.isMenuText(text), "a menu text comes from a status", [&] { return shown(text); });
    ++counts().menuTexts;
  }

  int callAction(std::uint32_t pointer);

  std::optional<Draw> answers_;
  TextLog log_;
  IHost* expectedHost_ = nullptr;
  HeapBytes answer_;
  int callOuts_ = 0;
  int setErrors_ = 0;
  int lastContactCount_ = 0;
  std::map<std::int32_t, bool> chatWindowAnswers_;
  std::vector<std::int32_t> rowIds_;
  std::optional<ExpectedRefresh> refresh_;
};

// Calls the plug-in as the host does; nothing may come out of it.
inline int callPlugin(HostMessage* message) {
  PluginCode plugin;
  try {
    return IMessageProc(message);
  } catch (...) {
    fail("an exception escaped IMessageProc", std::to_string(message->id));
  }
}

// CallAction: the host delivers the notification back to the plug-in as
// message 22200 before it returns, as the real host does.
inline int HostWorld::callAction(std::uint32_t pointer) {
  check(pointer != 0, "CallAction with a notification");
  ActionNotify notify;
  std::memcpy(&notify, valuePtr<const void>(pointer), kActionNotifySize);
  check(notify.size == kActionNotifySize && notify.id == action::kChatLinkButton &&
            notify.parent == group::kChatWindow && notify.code == notify::kRefresh &&
            notify.reserved18 == 0,
        "a chat button's refresh notification");
  const std::int32_t contact = notify.cnt;  // packed: copied before use
  const auto open = chatWindowAnswers_.find(contact);
  check(open != chatWindowAnswers_.end() && open->second,
        "a refresh only where the host just said a chat window is open");
  if (refresh_ && refresh_->statusChange) {
    check(contact == refresh_->contact && notify.p1 == refresh_->text &&
              notify.p2 == notify::kStatusTextMarker,
          "a status change's refresh carries its contact and text");
  } else {
    check(notify.p1 == 0 && notify.p2 == 0, "a settings refresh carries no text");
    check(std::find(rowIds_.begin(), rowIds_.end(), contact) != rowIds_.end(),
          "a settings refresh for a contact the host listed");
  }
  ++counts().refreshes;
  const int answer = anyInteger();
  if (answers().rare(16)) return answer;  // a host that drops it
  ++counts().reentries;

  HostCode hostCode;
  HeapBytes raw(kHostMessageSize);
  auto* message = reinterpret_cast<HostMessage*>(raw.get());
  HostMessage delivery{};
  delivery.size = kHostMessageSize;
  delivery.id = msg::kActionNotify;
  delivery.p1 = pointer;
  std::memcpy(message, &delivery, kHostMessageSize);
  const int nested = callPlugin(message);
  check(nested == 0, "the refresh is answered 0");
  return answer;
}

// One host interface object. Two exist, so that a second 20001 with the
// other one shows whether the plug-in switched over.
class HostileHost final : public IHost {
 public:
  explicit HostileHost(HostWorld& world) : world_(world) {}

  int GetPluginId() override {
    HostCode hostCode;
    world_.enter(this);
    return world_.anyInteger();
  }
  int GetPluginInstance() override {
    HostCode hostCode;
    world_.enter(this);
    return world_.anyInteger();
  }
  int GetHostState() override {
    HostCode hostCode;
    world_.enter(this);
    return world_.answers().u8() % 4 == 0 ? 1 : world_.anyInteger();
  }
  void SetError(int code) override {
    HostCode hostCode;
    world_.enter(this);
    world_.setError(code);
  }
  int SendToHost(HostMessage* message) override {
    HostCode hostCode;
    world_.enter(this);
    return world_.sendToHost(message);
  }
  int SendToPlugin(int, HostMessage* message) override {
    HostCode hostCode;
    world_.enter(this);
    return world_.sendToPlugin(message);
  }
  int GetRowId(int table, int index) override {
    HostCode hostCode;
    world_.enter(this);
    return world_.getRowId(table, index);
  }
  int GetValue(int table, int row, int column, ConfigValue* value) override {
    HostCode hostCode;
    world_.enter(this);
    return world_.getValue(table, row, column, value);
  }

 private:
  HostWorld& world_;
};

// ---------------------------------------------------------------------------
// The shell, clipboard and keyboard: nothing is started; every link opened or
// copied is checked against the statuses given; blocks are accounted for.
class FuzzSystem final : public SystemApi {
 public:
  explicit FuzzSystem(HostWorld& world) : world_(world) {}

  Handle globalAlloc(unsigned flags, std::size_t bytes) override {
    HostCode hostCode;
    check(flags == (kGmemMoveable | kGmemZeroInit | kGmemDdeShare), "GlobalAlloc flags");
    if (refuses(kRefuseAlloc) || draw().rare(8)) return nullptr;
    auto* block = new Block;
    block->bytes = static_cast<char*>(std::malloc(bytes == 0 ? 1 : bytes));
    if (block->bytes == nullptr) std::abort();
    std::memset(block->bytes, 0, bytes);
    block->size = bytes;
    blocks_.push_back(block);
    return block;
  }
  void* globalLock(Handle handle) override {
    HostCode hostCode;
    Block* block = find(handle, "GlobalLock");
    if (refuses(kRefuseLock) || draw().rare(16)) return nullptr;
    ++block->locks;
    return block->bytes;
  }
  void globalUnlock(Handle handle) override {
    HostCode hostCode;
    Block* block = find(handle, "GlobalUnlock");
    check(block->locks > 0, "GlobalUnlock of a locked block");
    --block->locks;
  }
  void globalFree(Handle handle) override {
    HostCode hostCode;
    Block* block = find(handle, "GlobalFree");
    drop(block);
  }
  bool openClipboard() override {
    HostCode hostCode;
    check(!clipboardOpen_, "the clipboard is not opened twice");
    if (refuses(kRefuseOpen) || draw().rare(8)) return false;
    clipboardOpen_ = true;
    return true;
  }
  void emptyClipboard() override {
    HostCode hostCode;
    check(clipboardOpen_, "EmptyClipboard on an open clipboard");
  }
  bool setClipboardData(unsigned format, Handle handle) override {
    HostCode hostCode;
    check(clipboardOpen_, "SetClipboardData on an open clipboard");
    check(format == kCfText, "clipboard text as CF_TEXT");
    Block* block = find(handle, "SetClipboardData");
    check(block->locks == 0, "the block is unlocked when handed over");
    if (refuses(kRefuseSet) || draw().rare(8)) return false;
    check(block->size >= 1 && block->bytes[block->size - 1] == '\0' &&
              std::strlen(block->bytes) == block->size - 1,
          "the clipboard gets the link and one terminating zero");
    const std::string link(block->bytes);
    require(world_.log().isOpenForm(link), "a copied link comes from a status",
            [&] { return shown(link); });
    copied_.push_back(link);
    ++counts().copied;
    drop(block);  // the clipboard owns it now
    return true;
  }
  void closeClipboard() override {
    HostCode hostCode;
    check(clipboardOpen_, "CloseClipboard after OpenClipboard");
    clipboardOpen_ = false;
  }
  void shellOpen(const char* link) override {
    HostCode hostCode;
    check(link != nullptr, "a link to open");
    const std::string text(link);
    require(world_.log().isOpenForm(text), "an opened link comes from a status",
            [&] { return shown(text); });
    opened_.push_back(text);
    ++counts().opened;
  }
  short getKeyState(int virtualKey) override {
    HostCode hostCode;
    check(virtualKey == kVkShift, "only Shift is asked for");
    return keyState_;
  }
  // The state of Shift while the next message is handled (the user's).
  void setKeyState(short state) { keyState_ = state; }
  // Which calls fail while the next message is handled (kRefuse... bits),
  // besides those the answers make fail.
  static constexpr std::uint8_t kRefuseAlloc = 1;
  static constexpr std::uint8_t kRefuseLock = 2;
  static constexpr std::uint8_t kRefuseOpen = 4;
  static constexpr std::uint8_t kRefuseSet = 8;
  void setRefusals(std::uint8_t refusals) { refusals_ = refusals; }

  // After each message: nothing left allocated or open.
  void checkSettled() const {
    check(blocks_.empty(), "no global memory block left behind");
    check(!clipboardOpen_, "the clipboard is closed again");
  }
  void startInput() {
    HostCode hostCode;
    opened_.clear();
    copied_.clear();
  }
  // Links opened and copied during this input.
  const std::vector<std::string>& opened() const { return opened_; }
  const std::vector<std::string>& copied() const { return copied_; }

 private:
  struct Block {
    char* bytes = nullptr;
    std::size_t size = 0;
    int locks = 0;
  };

  Draw& draw() { return world_.answers(); }
  bool refuses(std::uint8_t call) const { return (refusals_ & call) != 0; }

  Block* find(Handle handle, const char* what) {
    for (Block* block : blocks_) {
      if (block == handle) return block;
    }
    fail("a handle the system gave and that is still live", what);
  }

  void drop(Block* block) {
    blocks_.erase(std::find(blocks_.begin(), blocks_.end(), block));
    std::free(block->bytes);
    delete block;
  }

  HostWorld& world_;
  std::vector<Block*> blocks_;
  bool clipboardOpen_ = false;
  short keyState_ = 0;
  std::uint8_t refusals_ = 0;
  std::vector<std::string> opened_;
  std::vector<std::string> copied_;
};

}  // namespace brisko::fuzz
