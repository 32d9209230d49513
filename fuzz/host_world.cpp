#include "fuzz/host_world.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <limits>
#include <utility>

#include "fuzz/plugin_allocations.h"
#include "host/ids.h"
#include "settings/columns.h"
#include "settings/texts.h"

namespace brisko::fuzz {
namespace {

// Draws the answers every text value may get: `ordinary`, no text, or a
// status text, into `answer`. False: the caller draws the column's own.
bool drawCommonText(Draw& draw, std::string ordinary, Text& answer) {
  const int choice = draw.u8() % 16;
  if (choice > 2) return false;
  answer = choice == 0 ? Text(std::move(ordinary)) : choice == 1 ? Text() : statusText(draw);
  return true;
}

// The text registered for `column` (empty: none).
std::string registeredText(std::uint32_t column) {
  for (const ColumnDefinition& entry : kColumnTable) {
    if (entry.id == column && entry.textDefault != nullptr) return entry.textDefault;
  }
  return std::string();
}

// What a user leaves in the page controls (in any other: "1").
constexpr std::pair<std::uint32_t, const char*> kUserControlValues[] = {
    {column::kAnalysedLength, "0"},
    {column::kLinkCount, "10"},
    {column::kDisplayLength, "40"},
    {column::kExtraChars, texts::kDefaultExtraChars},
    {column::kRegexSource, texts::kDefaultRegex},
    {column::kRegexMethod, texts::kRadioNotChosen},
    {column::kAuthorMethod, texts::kRadioChosen}};

std::string userControlValue(std::uint32_t column) {
  for (const auto& [id, text] : kUserControlValues) {
    if (id == column) return text;
  }
  return "1";
}

}  // namespace

CheckCounts& counts() {
  static CheckCounts instance;
  return instance;
}

void HostWorld::startInput(FuzzBytes& bytes) {
  answers_.emplace(bytes, /*fromBack=*/true);
  log_.clear();
  expectedHost_ = nullptr;
  answer_ = HeapBytes();
}

void HostWorld::endInput() {
  answer_ = HeapBytes();
  answers_.reset();
}

void HostWorld::startMessage() {
  callOuts_ = 0;
  setErrors_ = 0;
  chatWindowAnswers_.clear();
  rowIds_.clear();
  refresh_.reset();
}

void HostWorld::enter(const IHost* self) {
  ++callOuts_;
  answer_ = HeapBytes();  // the previous answer is valid no longer
  check(self == expectedHost_, "a call-out reaches the host the plug-in was last given");
}

int HostWorld::anyInteger() {
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

void HostWorld::setError(int code) {
  ++setErrors_;
  require(code == 1, "SetError only with code 1", [&] { return std::to_string(code); });
}

std::uint32_t HostWorld::answerText(const Text& text) {
  if (!text) return 0;
  answer_ = exactText(*text);
  return ptrValue(answer_.get());
}

int HostWorld::sendToPlugin(HostMessage* message) {
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

int HostWorld::getRowId(int table, int index) {
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

int HostWorld::getValue(int table, int row, int column, ConfigValue* value) {
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

int HostWorld::sendToHost(HostMessage* message) {
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

int HostWorld::configInteger(std::uint32_t column) {
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

Text HostWorld::configText(std::uint32_t column) {
  Draw& draw = answers();
  Text common;
  if (drawCommonText(draw, registeredText(column), common)) return common;
  switch (column) {
    case column::kRegexMethod:
    case column::kAuthorMethod:
      return std::string(draw.pick({"0", "-1", "", "1", "0x", "\xB9"}));
    case column::kRegexSource:
      return draw.rare(8) ? rawBytes(draw, draw.u8() % 16) : std::string(draw.pick(pieces::kRegex));
    case column::kExtraChars:
      return draw.rare(4) ? rawBytes(draw, draw.u8() % 24)
                          : std::string(draw.pick(pieces::kExtraChars));
    default:
      return statusText(draw);
  }
}

Text HostWorld::controlValue(std::uint32_t id) {
  const std::uint32_t column = controlNumber(id);
  Draw& draw = answers();
  Text common;
  if (drawCommonText(draw, userControlValue(column), common)) return common;
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

int HostWorld::contactCount() {
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

ActionInfo HostWorld::readActionInfo(std::uint32_t pointer, bool insertion) {
  check(pointer != 0, "an action record");
  std::uint16_t size = 0;
  std::memcpy(&size, valuePtr<const void>(pointer), sizeof size);
  require(size == kActionInfoSize || (insertion && size == kActionInfoExSize), "action record size",
          [&] { return std::to_string(size); });
  ActionInfo info{};
  std::memcpy(&info, valuePtr<const void>(pointer), size);
  return info;
}

std::string HostWorld::textAt(std::uint32_t pointer) {
  const char* text = valuePtr<const char>(pointer);
  return text == nullptr ? std::string() : std::string(text);
}

int HostWorld::registerColumn(const unsigned char* whole) {
  ConfigColumnRecord record;
  std::memcpy(&record, whole, kConfigColumnRecordSize);
  check(record.name != 0, "a column has a key");
  textAt(record.name);
  if (record.columnType == 1) textAt(record.defaultValue);
  return anyInteger();
}

void HostWorld::checkMenuText(std::uint32_t id, const std::string& text) {
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

int callPlugin(HostMessage* message) {
  PluginCode plugin;
  try {
    return IMessageProc(message);
  } catch (...) {
    fail("an exception escaped IMessageProc", std::to_string(message->id));
  }
}

// CallAction: the host delivers the notification back to the plug-in as
// message 22200 before it returns, as the real host does.
int HostWorld::callAction(std::uint32_t pointer) {
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

}  // namespace brisko::fuzz
