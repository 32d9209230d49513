// The host's tables: configuration columns, contacts, and the open chat
// windows.
#include "emulator/host_emulator.h"

#include <algorithm>

#include "emulator/plugin_memory.h"
#include "host/ids.h"

namespace brisko::emu {

using page::ElementKind;

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

// --- configuration table ----------------------------------------------------------------

ConfigColumn* HostEmulator::column(std::uint32_t id) {
  for (ConfigColumn& c : columns_) {
    if (c.id == id) return &c;
  }
  return nullptr;
}

// The column `id`; one of `type` is added when the plug-in has not
// registered it.
ConfigColumn& HostEmulator::storedColumn(std::uint32_t id, std::uint32_t type) {
  if (ConfigColumn* c = column(id)) return *c;
  ConfigColumn added;
  added.id = id;
  added.type = type;
  columns_.push_back(added);
  return columns_.back();
}

void HostEmulator::setConfigInt(std::uint32_t id, std::int32_t value) {
  storedColumn(id, 0).storedInt = value;
}

void HostEmulator::setConfigText(std::uint32_t id, const std::string& value) {
  storedColumn(id, 1).storedText = value;
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
  HostMessageEx record{
      {kHostMessageExSize, msg::kStatusChange, 0, 0, 0, 0, static_cast<std::uint32_t>(id), 0},
      ptrValue(text.c_str())};
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

}  // namespace brisko::emu
