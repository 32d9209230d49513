#include "host/host_calls.h"

#include <cstring>

#include "host/ids.h"

namespace brisko::host {
namespace {

IHost* g_host = nullptr;

// Sends `id` with p1/p2 in a fresh 30-byte message; 0 without a host.
int send(std::uint32_t id, std::uint32_t p1, std::uint32_t p2, std::uint32_t hdr3 = 0) {
  if (g_host == nullptr) return 0;
  HostMessage message{};
  message.size = kHostMessageSize;
  message.id = id;
  message.hdr3 = hdr3;
  message.p1 = p1;
  message.p2 = p2;
  return g_host->SendToHost(&message);
}

// A read or change record: size, id, parent, cnt, position 0, offset 22 zero
// and the mask; the caller fills the fields the mask names.
ActionInfo changeRecord(const ActionTarget& target, std::uint32_t mask) {
  ActionInfo info{};
  info.size = kActionInfoSize;
  info.id = target.id;
  info.parent = target.parent;
  info.cnt = target.contact;
  info.position = 0;
  info.mask = mask;
  return info;
}

std::string copyText(const char* text) {
  return text != nullptr ? std::string(text) : std::string();
}

}  // namespace

IHost* current() { return g_host; }
void setCurrent(IHost* host) { g_host = host; }

int GetPluginId() { return g_host != nullptr ? g_host->GetPluginId() : 0; }
int GetPluginInstance() { return g_host != nullptr ? g_host->GetPluginInstance() : 0; }
int GetHostState() { return g_host != nullptr ? g_host->GetHostState() : 0; }
void SetError(int code) {
  if (g_host != nullptr) g_host->SetError(code);
}
int SendToPlugin(int pluginId, HostMessage& message) {
  return g_host != nullptr ? g_host->SendToPlugin(pluginId, &message) : 0;
}

int InsertAction(const Insertion& insertion) {
  ActionInfo info{};
  info.size = insertion.form == ActionForm::Long78 ? kActionInfoExSize : kActionInfoSize;
  info.id = insertion.id;
  info.parent = insertion.parent;
  info.cnt = kNoContact;
  info.position = insertion.position;
  info.mask = mask::kInsert;
  info.status = insertion.status;
  info.statusMask = 0xFFFFFFFFu;
  info.text = ptrValue(insertion.text);
  info.param = insertion.param;
  info.width = insertion.width;
  info.height = insertion.height;
  return send(msg::kInsertAction, ptrValue(&info), 0);
}

int CallAction(ActionNotify& event) { return send(msg::kCallAction, ptrValue(&event), 0); }

std::string GetActionValue(const ActionTarget& target, bool withHostFlag) {
  ActionInfo info = changeRecord(target, withHostFlag ? mask::kTextFlagged : mask::kText);
  info.text = 0;      // no buffer is offered:
  info.textSize = 0;  // the host answers with its own text
  return copyText(valuePtr<const char>(
      static_cast<std::uint32_t>(send(msg::kGetActionValue, ptrValue(&info), 0))));
}

void SetActionStatus(const ActionTarget& target, std::uint32_t status, std::uint32_t statusMask) {
  ActionInfo info = changeRecord(target, mask::kStatus);
  info.status = status;
  info.statusMask = statusMask;
  send(msg::kSetAction, ptrValue(&info), 0);
}

void SetActionText(const ActionTarget& target, const std::string& text) {
  ActionInfo info = changeRecord(target, mask::kText);
  info.text = ptrValue(text.c_str());
  send(msg::kSetAction, ptrValue(&info), 0);
}

void SetActionValue(const ActionTarget& target, const std::string& text, bool withHostFlag) {
  ActionInfo info = changeRecord(target, withHostFlag ? mask::kTextFlagged : mask::kText);
  info.text = ptrValue(text.c_str());
  send(msg::kSetActionValue, ptrValue(&info), 0);
}

int GetActionHandle(const ActionTarget& target) {
  ActionRef ref{target.id, target.parent, target.contact};
  return send(msg::kGetActionHandle, ptrValue(&ref), 0);
}

void RegisterIcon(std::uint32_t iconId, std::uint32_t iconKind, std::uint32_t module,
                  std::uint32_t resourceId) {
  IconRecord icon{};
  icon.size = kIconRecordSize;
  icon.iconId = iconId;
  icon.iconKind = iconKind;
  icon.zero12 = 0;
  icon.one16 = 1;
  icon.module = module;
  icon.resourceId = resourceId;
  send(msg::kRegisterIcon, ptrValue(&icon), 0);
}

int GetContactCount() { return send(msg::kGetContactCount, 0, 0, 0xFFFFFFFFu); }

void RegisterConfigColumn(std::uint32_t columnId, std::uint32_t columnType,
                          std::uint32_t defaultValue, const char* name) {
  if (g_host == nullptr) return;
  ConfigColumnRecord record{};
  record.size = kConfigColumnRecordSize;
  record.id = msg::kRegisterConfigColumn;
  record.table = static_cast<std::uint8_t>(kConfigTable);
  record.columnId = columnId;
  record.columnType = columnType;
  record.defaultValue = defaultValue;
  record.name = ptrValue(name);
  // The whole record is the message: it starts with the common head.
  g_host->SendToHost(reinterpret_cast<HostMessage*>(&record));
}

int GetPluginValue(int pluginId) {
  return send(msg::kGetPluginValue, static_cast<std::uint32_t>(pluginId), 0);
}

int ValueToText(int value, char* buffer) {
  return send(msg::kValueToText, static_cast<std::uint32_t>(value), ptrValue(buffer));
}

int GetContactId(int index) {
  return g_host != nullptr ? g_host->GetRowId(kContactTable, index) : 0;
}

int GetConfigInt(std::uint32_t column) {
  if (g_host == nullptr) return 0;
  ConfigValue value{};
  value.type = 0;
  g_host->GetValue(kConfigTable, 0, static_cast<int>(column), &value);
  return static_cast<std::int32_t>(value.value);
}

namespace {
std::string readText(int table, int row, int column) {
  if (g_host == nullptr) return std::string();
  ConfigValue value{};
  value.type = 1;
  value.value = 0;
  value.bufferSize = 0;
  g_host->GetValue(table, row, column, &value);
  return copyText(valuePtr<const char>(value.value));
}
}  // namespace

std::string GetConfigString(std::uint32_t column) {
  return readText(kConfigTable, 0, static_cast<int>(column));
}

std::string GetContactString(int contact, int column) {
  return readText(kContactTable, contact, column);
}

}  // namespace brisko::host
