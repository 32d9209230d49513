#include "emulator/host_emulator.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "host/ids.h"

namespace brisko::emu {
namespace {

using page::ElementKind;

// Synthetic handles GetActionHandle answers with.
constexpr int kActionHandleBase = 0x00A10000;
constexpr int kChatHandleBase = 0x00C30000;
// What GetPluginValue answers; ValueToText turns it into pluginValueText_.
constexpr int kPluginValueToken = 0x00B15C00;
// ValueToText writes at most this many bytes, then a zero.
constexpr std::size_t kValueTextMax = 51;

std::vector<std::uint8_t> bytesOf(const void* p, std::size_t n) {
  const auto* b = static_cast<const std::uint8_t*>(p);
  return std::vector<std::uint8_t>(b, b + n);
}

std::string textAt(std::uint32_t pointer) {
  const char* p = valuePtr<const char>(pointer);
  return p != nullptr ? std::string(p) : std::string();
}

}  // namespace

// --- HostAction -----------------------------------------------------------------

std::uint32_t HostAction::statusFor(std::int32_t cnt) const {
  const auto it = instanceStatus.find(cnt);
  return it != instanceStatus.end() ? it->second : status;
}

std::string HostAction::textFor(std::int32_t cnt) const {
  const auto it = instanceText.find(cnt);
  return it != instanceText.end() ? it->second : text;
}

// --- construction ---------------------------------------------------------------

HostEmulator::HostEmulator(MessageProc proc, void* moduleHandle)
    : proc_(proc), module_(moduleHandle) {
  prepareSystem(moduleHandle);
}

HostEmulator::~HostEmulator() = default;

// --- IHost ----------------------------------------------------------------------

int HostEmulator::GetPluginId() {
  HostCall call{HostCall::Op::GetPluginId};
  call.result = pluginId_;
  calls_.push_back(call);
  return pluginId_;
}

int HostEmulator::GetPluginInstance() {
  HostCall call{HostCall::Op::GetPluginInstance};
  // The module handle's low 32 bits (all of it on a 32-bit target).
  call.result =
      hooks_.pluginInstance
          ? hooks_.pluginInstance()
          : static_cast<int>(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(module_)));
  calls_.push_back(call);
  return call.result;
}

int HostEmulator::GetHostState() {
  HostCall call{HostCall::Op::GetHostState};
  call.result = hostState_;
  calls_.push_back(call);
  return hostState_;
}

void HostEmulator::SetError(int code) {
  HostCall call{HostCall::Op::SetError};
  call.args = {code};
  calls_.push_back(call);
}

int HostEmulator::SendToHost(HostMessage* message) {
  HostCall call{HostCall::Op::SendToHost};
  if (message == nullptr) {
    calls_.push_back(call);
    return 0;
  }
  call.messageId = message->id;
  const std::size_t n =
      message->size >= 6 && message->size <= 64 ? message->size : kHostMessageSize;
  call.message = bytesOf(message, n);
  calls_.push_back(call);
  const std::size_t index = calls_.size() - 1;
  std::optional<int> answer;
  if (hooks_.sendToHost) answer = hooks_.sendToHost(*message);
  if (!answer) {
    const auto it = answers_.find(message->id);
    if (it != answers_.end()) answer = it->second;
  }
  if (answer) {
    recordOnly(message, index);
    calls_[index].result = *answer;
    return *answer;
  }
  const int result = handleSendToHost(message, index);
  calls_[index].result = result;
  return result;
}

void HostEmulator::answerWith(std::uint32_t messageId, int answer) { answers_[messageId] = answer; }

int HostEmulator::SendToPlugin(int pluginId, HostMessage* message) {
  HostCall call{HostCall::Op::SendToPlugin};
  call.args = {pluginId};
  if (message != nullptr) {
    call.messageId = message->id;
    const std::size_t n =
        message->size >= 6 && message->size <= 64 ? message->size : kHostMessageSize;
    call.message = bytesOf(message, n);
  }
  calls_.push_back(call);
  const std::size_t index = calls_.size() - 1;
  int result = 0;
  std::optional<int> answer;
  if (hooks_.sendToPlugin && message != nullptr) answer = hooks_.sendToPlugin(pluginId, *message);
  if (answer) {
    result = *answer;
  } else if (message != nullptr && pluginId == pluginId_ && proc_ != nullptr) {
    result = proc_(message);
    const std::uint32_t id = message->id;
    if ((id == msg::kVersionQuery || id == msg::kNameQuery || id == msg::kDisplayNameQuery) &&
        result != 0) {
      calls_[index].text = textAt(static_cast<std::uint32_t>(result));
    }
  }
  calls_[index].result = result;
  return result;
}

int HostEmulator::GetRowId(int table, int index) {
  HostCall call{HostCall::Op::GetRowId};
  call.args = {table, index};
  int result = -1;
  if (table == kContactTable && index >= 0 && static_cast<std::size_t>(index) < contacts_.size()) {
    result = contacts_[static_cast<std::size_t>(index)].id;
  } else if (table == kConfigTable && index == 0) {
    result = 0;
  }
  call.result = result;
  calls_.push_back(call);
  return result;
}

int HostEmulator::GetValue(int table, int row, int column, ConfigValue* value) {
  HostCall call{HostCall::Op::GetValue};
  const int type = value != nullptr ? value->type : -1;
  call.args = {table, row, column, type};
  if (value != nullptr) {
    call.args.push_back(static_cast<std::int32_t>(value->value));
    call.args.push_back(static_cast<std::int32_t>(value->bufferSize));
  }
  int result = 0;
  std::optional<std::uint32_t> raw;
  if (hooks_.value && value != nullptr) raw = hooks_.value(table, row, column, type);
  if (raw) {
    value->value = *raw;
    if (type == 1 && *raw != 0) call.text = textAt(*raw);
  } else if (value != nullptr) {
    std::optional<std::string> text;  // the answer for type 1; nullopt = null pointer
    bool found = false;
    if (table == kConfigTable && row == 0) {
      if (ConfigColumn* c = this->column(static_cast<std::uint32_t>(column))) {
        found = true;
        if (type == 0) {
          value->value = static_cast<std::uint32_t>(
              c->type == 0 ? c->intValue() : std::atoi(c->textValue().c_str()));
        } else {
          lastConfigText_ = c->type == 0 ? std::to_string(c->intValue()) : c->textValue();
          text = lastConfigText_;
        }
      }
    } else if (table == kContactTable && column == kStatusDescriptionColumn) {
      if (const Contact* contact = findContact(row)) {
        found = true;
        if (type == 1 && !contact->nullStatus) {
          lastContactText_ = contact->status;
          text = lastContactText_;
        } else if (type == 0) {
          value->value = 0;
        }
      }
    }
    if (type == 1) {
      if (!text) {
        value->value = 0;
      } else if (value->bufferSize > 0 && value->value != 0) {
        // A buffer offered: fill it, terminated, and leave the pointer.
        char* buffer = valuePtr<char>(value->value);
        const std::size_t n = std::min<std::size_t>(text->size(), value->bufferSize - 1);
        std::memcpy(buffer, text->data(), n);
        buffer[n] = '\0';
      } else {
        const std::string& kept = (table == kConfigTable) ? lastConfigText_ : lastContactText_;
        value->value = ptrValue(kept.c_str());
      }
      if (text) call.text = *text;
    }
    result = found ? 1 : 0;
  }
  call.result = result;
  calls_.push_back(call);
  return result;
}

// --- SendToHost messages -----------------------------------------------------------

// What the host keeps of a message it is sent: copies of the record p1
// points to and of the text that record names.
void HostEmulator::recordOnly(const HostMessage* message, std::size_t callIndex) {
  HostCall& call = calls_[callIndex];
  switch (message->id) {
    case msg::kInsertAction:
    case msg::kGetActionValue:
    case msg::kSetAction:
    case msg::kSetActionValue: {
      const auto* info = valuePtr<const ActionInfo>(message->p1);
      if (info == nullptr) return;
      call.record =
          bytesOf(info, info->size == kActionInfoExSize ? kActionInfoExSize : kActionInfoSize);
      if (message->id == msg::kInsertAction ||
          (message->id != msg::kGetActionValue && (info->mask & mask::kText) != 0)) {
        call.text = textAt(info->text);
      }
      return;
    }
    case msg::kCallAction: {
      const auto* notify = valuePtr<const ActionNotify>(message->p1);
      if (notify == nullptr) return;
      call.record = bytesOf(notify, kActionNotifySize);
      if (notify->p2 == notify::kStatusTextMarker) call.text = textAt(notify->p1);
      return;
    }
    case msg::kGetActionHandle:
      if (message->p1 != 0)
        call.record = bytesOf(valuePtr<const void>(message->p1), kActionRefSize);
      return;
    case msg::kRegisterIcon:
      if (message->p1 != 0)
        call.record = bytesOf(valuePtr<const void>(message->p1), kIconRecordSize);
      return;
    case msg::kRegisterConfigColumn: {
      if (message->size < kConfigColumnRecordSize) return;
      const auto* record = reinterpret_cast<const ConfigColumnRecord*>(message);
      call.record = bytesOf(record, kConfigColumnRecordSize);
      call.text = textAt(record->name);
      if (record->columnType != 0) call.defaultText = textAt(record->defaultValue);
      return;
    }
    default:
      return;
  }
}

int HostEmulator::handleSendToHost(HostMessage* message, std::size_t callIndex) {
  recordOnly(message, callIndex);
  switch (message->id) {
    case msg::kInsertAction: {
      const auto* info = valuePtr<const ActionInfo>(message->p1);
      return info != nullptr ? handleInsert(info) : 0;
    }
    case msg::kCallAction: {
      const auto* notify = valuePtr<const ActionNotify>(message->p1);
      return notify != nullptr ? handleCallAction(notify) : 0;
    }
    case msg::kGetActionValue:
    case msg::kSetAction:
    case msg::kSetActionValue: {
      const auto* info = valuePtr<const ActionInfo>(message->p1);
      return info != nullptr ? handleChange(message->id, info, callIndex) : 0;
    }
    case msg::kGetActionHandle: {
      const auto* ref = valuePtr<const ActionRef>(message->p1);
      return ref != nullptr ? actionHandle(*ref) : 0;
    }
    case msg::kRegisterIcon: {
      const auto* icon = valuePtr<const IconRecord>(message->p1);
      if (icon == nullptr) return 0;
      icons_.push_back(*icon);
      return 1;
    }
    case msg::kGetContactCount:
      return static_cast<int>(contacts_.size());
    case msg::kRegisterConfigColumn:
      if (message->size < kConfigColumnRecordSize) return 0;
      registerColumn(*reinterpret_cast<const ConfigColumnRecord*>(message));
      return 1;
    case msg::kGetPluginValue:
      return kPluginValueToken;
    case msg::kValueToText: {
      char* buffer = valuePtr<char>(message->p2);
      if (buffer == nullptr) return 0;
      const std::string text = pluginValueText_.substr(0, kValueTextMax);
      std::memcpy(buffer, text.data(), text.size());
      buffer[text.size()] = '\0';
      calls_[callIndex].text = text;
      return 1;
    }
    default:
      return 0;
  }
}

int HostEmulator::actionHandle(const ActionRef& ref) const {
  if (ref.id == group::kChatWindowAction && ref.parent == 0) {
    const auto it = std::find(chats_.begin(), chats_.end(), ref.cnt);
    return it == chats_.end() ? 0 : kChatHandleBase + static_cast<int>(it - chats_.begin()) + 1;
  }
  for (std::size_t i = 0; i < actions_.size(); ++i) {
    if (actions_[i].id == ref.id && actions_[i].parent == ref.parent) {
      return kActionHandleBase + static_cast<int>(i) + 1;
    }
  }
  return 0;
}

void HostEmulator::registerColumn(const ConfigColumnRecord& record) {
  ConfigColumn definition;
  definition.id = record.columnId;
  definition.type = record.columnType;
  definition.key = textAt(record.name);
  if (record.columnType == 0) {
    definition.intDefault = static_cast<std::int32_t>(record.defaultValue);
  } else {
    definition.textDefault = textAt(record.defaultValue);
  }
  if (ConfigColumn* existing = column(record.columnId)) {
    // A column registered again keeps what is stored under it.
    definition.storedInt = existing->storedInt;
    definition.storedText = existing->storedText;
    *existing = definition;
  } else {
    columns_.push_back(definition);
  }
}

int HostEmulator::handleInsert(const ActionInfo* info) {
  HostAction a;
  a.id = info->id == action::kConfigControlBase ? controlId(info->param) : info->id;
  a.parent = info->parent;
  a.position = info->position;
  a.status = info->status;
  a.insertedStatus = info->status;
  a.caption = textAt(info->text);
  a.param = info->param;
  a.width = info->width;
  a.height = info->height;
  a.recordSize = info->size;
  a.order = actions_.size();
  if (a.isControl()) {
    // A control shows a value, not its caption; bound controls start from
    // the stored configuration when the page is shown.
    a.text.clear();
    if (controlsLoaded_) {
      if (const ConfigColumn* c = column(a.param)) a.text = columnValueText(*c, a.kind());
    }
  } else {
    a.text = a.caption;
  }
  actions_.push_back(a);
  return 1;
}

int HostEmulator::handleChange(std::uint32_t messageId, const ActionInfo* info,
                               std::size_t callIndex) {
  if (isConfigControl(info->id)) ensureControlValues();
  HostAction* a = action(info->id, info->parent);
  if (a == nullptr) return 0;
  const std::int32_t cnt = info->cnt;

  if (messageId == msg::kGetActionValue) {
    lastValue_ = a->textFor(cnt);
    calls_[callIndex].text = lastValue_;
    if (info->text != 0 && info->textSize > 0) {
      char* buffer = valuePtr<char>(info->text);
      const std::size_t n = std::min<std::size_t>(lastValue_.size(), info->textSize - 1);
      std::memcpy(buffer, lastValue_.data(), n);
      buffer[n] = '\0';
      return static_cast<int>(info->text);
    }
    return static_cast<int>(ptrValue(lastValue_.c_str()));
  }

  if (messageId == msg::kSetAction && (info->mask & mask::kStatus) != 0) {
    const std::uint32_t keep = ~info->statusMask;
    const std::uint32_t set = info->status & info->statusMask;
    if (cnt == kNoContact) {
      a->status = (a->status & keep) | set;
      a->instanceStatus.clear();
    } else {
      a->instanceStatus[cnt] = (a->statusFor(cnt) & keep) | set;
    }
  }
  if ((info->mask & mask::kText) != 0) {
    const std::string text = textAt(info->text);
    if (cnt == kNoContact) {
      a->text = text;
      a->instanceText.clear();
    } else {
      a->instanceText[cnt] = text;
    }
  }
  return 1;
}

int HostEmulator::handleCallAction(const ActionNotify* notify) {
  // The host delivers the notification to the plug-in before CallAction
  // returns, in a record of its own.
  ActionNotify copy = *notify;
  ++deliveredNotifies_;
  return send(msg::kActionNotify, ptrValue(&copy), 0);
}

// --- messages to the plug-in ----------------------------------------------------------

int HostEmulator::send(std::uint32_t id, std::uint32_t p1, std::uint32_t p2, std::uint16_t size) {
  if (proc_ == nullptr) return 0;
  HostMessageEx record{};  // room for the extended form, whatever `size` says
  record.base.size = size;
  record.base.id = id;
  record.base.p1 = p1;
  record.base.p2 = p2;
  return proc_(&record.base);
}

int HostEmulator::sendRecord(HostMessage* record) {
  if (proc_ == nullptr || record == nullptr) return 0;
  return proc_(record);
}

bool HostEmulator::startUp() {
  if (send(msg::kInit, ptrValue(static_cast<IHost*>(this))) != 1) return false;
  if (send(msg::kRegisterColumns) != 1) return false;
  if (send(msg::kBuildUserInterface) != 1) return false;
  if (send(msg::kLoadSettings) != 1) return false;
  return true;
}

int HostEmulator::shutDown() { return send(msg::kShutdown); }

int HostEmulator::notify(std::uint32_t id, std::uint32_t parent, std::int32_t cnt,
                         std::uint32_t code, std::uint32_t p1, std::uint32_t p2) {
  ActionNotify n{};
  n.size = kActionNotifySize;
  n.id = id;
  n.parent = parent;
  n.cnt = cnt;
  n.code = code;
  n.p1 = p1;
  n.p2 = p2;
  return send(msg::kActionNotify, ptrValue(&n), 0);
}

// --- configuration table ----------------------------------------------------------------

ConfigColumn* HostEmulator::column(std::uint32_t id) {
  for (ConfigColumn& c : columns_) {
    if (c.id == id) return &c;
  }
  return nullptr;
}

void HostEmulator::setConfigInt(std::uint32_t id, std::int32_t value) {
  if (ConfigColumn* c = column(id)) {
    c->storedInt = value;
  } else {
    ConfigColumn added;
    added.id = id;
    added.type = 0;
    added.storedInt = value;
    columns_.push_back(added);
  }
}

void HostEmulator::setConfigText(std::uint32_t id, const std::string& value) {
  if (ConfigColumn* c = column(id)) {
    c->storedText = value;
  } else {
    ConfigColumn added;
    added.id = id;
    added.type = 1;
    added.storedText = value;
    columns_.push_back(added);
  }
}

std::string HostEmulator::columnValueText(const ConfigColumn& c, ElementKind kind) const {
  if (c.type != 0) return c.textValue();
  if (kind == ElementKind::CheckBox) return c.intValue() != 0 ? "1" : "0";
  return std::to_string(c.intValue());
}

// --- contact table --------------------------------------------------------------------------

HostEmulator::Contact* HostEmulator::findContact(std::int32_t id) {
  for (Contact& c : contacts_) {
    if (c.id == id && id != -1) return &c;
  }
  return nullptr;
}

const HostEmulator::Contact* HostEmulator::findContact(std::int32_t id) const {
  for (const Contact& c : contacts_) {
    if (c.id == id && id != -1) return &c;
  }
  return nullptr;
}

void HostEmulator::addContact(std::int32_t id, const std::string& status) {
  if (Contact* c = findContact(id)) {
    c->status = status;
    c->nullStatus = false;
    return;
  }
  contacts_.push_back(Contact{id, status, false});
}

void HostEmulator::addBrokenRow() { contacts_.push_back(Contact{-1, std::string(), true}); }

void HostEmulator::setContactStatus(std::int32_t id, const std::string& status) {
  if (Contact* c = findContact(id)) {
    c->status = status;
    c->nullStatus = false;
  } else {
    addContact(id, status);
  }
}

int HostEmulator::changeStatus(std::int32_t id, const std::string& status) {
  setContactStatus(id, status);
  // The host's own copy of the new text, valid for the whole call.
  const std::string text = status;
  HostMessageEx record{};
  record.base.size = kHostMessageExSize;
  record.base.id = msg::kStatusChange;
  record.base.p1 = static_cast<std::uint32_t>(id);
  record.p3 = ptrValue(text.c_str());
  return sendRecord(&record.base);
}

void HostEmulator::setNullStatus(std::int32_t id) {
  if (Contact* c = findContact(id)) {
    c->status.clear();
    c->nullStatus = true;
  } else {
    contacts_.push_back(Contact{id, std::string(), true});
  }
}

std::vector<std::int32_t> HostEmulator::contactIds() const {
  std::vector<std::int32_t> ids;
  for (const Contact& c : contacts_) ids.push_back(c.id);
  return ids;
}

std::string HostEmulator::contactStatus(std::int32_t id) const {
  const Contact* c = findContact(id);
  return c != nullptr ? c->status : std::string();
}

bool HostEmulator::hasContact(std::int32_t id) const { return findContact(id) != nullptr; }

// --- chat windows ---------------------------------------------------------------------------

void HostEmulator::openChat(std::int32_t contact) {
  if (!chatOpen(contact)) chats_.push_back(contact);
}

void HostEmulator::closeChat(std::int32_t contact) {
  chats_.erase(std::remove(chats_.begin(), chats_.end(), contact), chats_.end());
}

bool HostEmulator::chatOpen(std::int32_t contact) const {
  return std::find(chats_.begin(), chats_.end(), contact) != chats_.end();
}

// --- actions ----------------------------------------------------------------------------------

HostAction* HostEmulator::action(std::uint32_t id, std::uint32_t parent) {
  for (HostAction& a : actions_) {
    if (a.id == id && a.parent == parent) return &a;
  }
  return nullptr;
}

HostAction* HostEmulator::control(std::uint32_t column) {
  const std::uint32_t id = controlId(column);
  for (HostAction& a : actions_) {
    if (a.id == id) return &a;
  }
  return nullptr;
}

bool HostEmulator::pageInserted() const {
  for (const HostAction& a : actions_) {
    if (a.id == action::kConfigPage && a.parent == group::kConfigPages) return true;
  }
  return false;
}

// --- what a user does and sees -----------------------------------------------------------------

ContactMenu HostEmulator::contactMenu(std::int32_t contact) {
  notify(action::kLinksMenu, group::kContactMenu, contact, notify::kPrepare);
  ContactMenu menu;
  if (const HostAction* sub = action(action::kLinksMenu, group::kContactMenu)) {
    menu.submenuShown = !sub->hiddenFor(contact);
  }
  if (menu.submenuShown) {
    for (std::uint32_t j = 0; j < 10; ++j) {
      const HostAction* item = action(action::kLinkItemBase + j, action::kLinksMenu);
      if (item != nullptr && !item->hiddenFor(contact)) {
        menu.items.push_back(item->textFor(contact));
        menu.itemIds.push_back(item->id);
      }
    }
  }
  if (const HostAction* single = action(action::kSingleLinkItem, group::kContactMenu)) {
    menu.singleShown = !single->hiddenFor(contact);
    if (menu.singleShown) menu.singleText = single->textFor(contact);
  }
  return menu;
}

void HostEmulator::chooseMenuItem(std::int32_t contact, std::uint32_t actionId, bool shift) {
  const std::uint32_t parent =
      actionId == action::kSingleLinkItem ? group::kContactMenu : action::kLinksMenu;
  setShift(shift);
  notify(actionId, parent, contact, notify::kActivate);
  if (shift) setShift(false);  // the user lets go of the key
}

ChatButton HostEmulator::chatButton(std::int32_t contact) {
  notify(action::kChatLinkButton, group::kChatWindow, contact, notify::kPrepare);
  return readChatButton(contact);
}

ChatButton HostEmulator::readChatButton(std::int32_t contact) const {
  ChatButton button;
  for (const HostAction& a : actions_) {
    if (a.id == action::kChatLinkButton && a.parent == group::kChatWindow) {
      button.shown = !a.hiddenFor(contact);
      button.text = a.textFor(contact);
      break;
    }
  }
  return button;
}

void HostEmulator::clickChatButton(std::int32_t contact, bool shift) {
  setShift(shift);
  notify(action::kChatLinkButton, group::kChatWindow, contact, notify::kActivate);
  if (shift) setShift(false);
}

void HostEmulator::ensureControlValues() {
  if (!controlsLoaded_) loadControlValues();
}

void HostEmulator::loadControlValues() {
  for (HostAction& a : actions_) {
    if (!a.isControl()) continue;
    a.instanceText.clear();
    if (const ConfigColumn* c = column(a.param)) {
      a.text = columnValueText(*c, a.kind());
    }
  }
  controlsLoaded_ = true;
}

void HostEmulator::storeControlValues() {
  for (const HostAction& a : actions_) {
    if (!a.isControl()) continue;
    ConfigColumn* c = column(a.param);
    if (c == nullptr) continue;  // a button
    if (c->type != 0) {
      c->storedText = a.text;
      continue;
    }
    // An integer column keeps its value when the control's text is no number.
    const char* begin = a.text.c_str();
    char* end = nullptr;
    const long value = std::strtol(begin, &end, 10);
    if (end != begin) c->storedInt = static_cast<std::int32_t>(value);
  }
}

void HostEmulator::setControlValue(std::uint32_t columnId, const std::string& value) {
  ensureControlValues();
  if (HostAction* c = control(columnId)) {
    c->text = value;
    c->instanceText.clear();
  }
}

std::string HostEmulator::controlValue(std::uint32_t columnId) {
  ensureControlValues();
  const HostAction* c = control(columnId);
  return c != nullptr ? c->text : std::string();
}

void HostEmulator::clickControl(std::uint32_t columnId) {
  ensureControlValues();
  HostAction* c = control(columnId);
  if (c == nullptr || c->disabled()) return;  // an inactive control takes no click
  const ElementKind kind = c->kind();
  if (kind == ElementKind::CheckBox) {
    c->text = (!c->text.empty() && c->text[0] == '1') ? "0" : "1";
  } else if (kind == ElementKind::Radio) {
    c->text = "0";
  } else if (kind != ElementKind::Button) {
    return;  // labels and fields are not clicked
  }
  notify(c->id, c->parent, kNoContact, notify::kActivate);
}

void HostEmulator::showPage() {
  loadControlValues();
  // The host prepares each control when it creates the page, then refreshes
  // each one when it brings the page up to date.
  std::vector<std::pair<std::uint32_t, std::uint32_t>> controls;  // id, parent
  for (const HostAction& a : actions_) {
    if (a.isControl()) controls.emplace_back(a.id, a.parent);
  }
  for (const auto& [id, parent] : controls) notify(id, parent, kNoContact, notify::kPrepare);
  for (const auto& [id, parent] : controls) notify(id, parent, kNoContact, notify::kRefresh);
}

int HostEmulator::applyPage() {
  ensureControlValues();
  storeControlValues();
  const int result = notify(action::kConfigPage, group::kConfigPages, kNoContact, notify::kApply);
  // What the plug-in corrected in the controls is what the host keeps.
  storeControlValues();
  return result;
}

// --- the system around the plug-in ------------------------------------------------------------

void HostEmulator::setShift(bool down) { emu::setShift(down); }

bool HostEmulator::shiftDown() const { return emu::shiftDown(); }

std::vector<std::string> HostEmulator::openedLinks() const {
  std::vector<std::string> links;
  for (const ShellOpen& open : emu::shellOpens()) links.push_back(open.file);
  return links;
}

std::vector<ShellOpen> HostEmulator::shellOpens() const { return emu::shellOpens(); }

void HostEmulator::clearOpenedLinks() { emu::clearShellOpens(); }

std::vector<char> HostEmulator::clipboardBytes() const { return emu::clipboardBytes(); }

void HostEmulator::clearClipboard() { emu::clearClipboard(); }

// --- the record of calls ----------------------------------------------------------------------

std::vector<HostCall> HostEmulator::callsTo(std::uint32_t messageId) const {
  std::vector<HostCall> found;
  for (const HostCall& call : calls_) {
    if ((call.op == HostCall::Op::SendToHost || call.op == HostCall::Op::SendToPlugin) &&
        call.messageId == messageId) {
      found.push_back(call);
    }
  }
  return found;
}

std::vector<HostCall> HostEmulator::callsOf(HostCall::Op op) const {
  std::vector<HostCall> found;
  for (const HostCall& call : calls_) {
    if (call.op == op) found.push_back(call);
  }
  return found;
}

int HostEmulator::errorCount() const {
  return static_cast<int>(std::count_if(calls_.begin(), calls_.end(), [](const HostCall& c) {
    return c.op == HostCall::Op::SetError;
  }));
}

}  // namespace brisko::emu
