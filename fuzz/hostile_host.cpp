#include "fuzz/hostile_host.h"

#include <optional>

#include "fuzz/fuzz_input.h"
#include "fuzz/plugin_allocations.h"

namespace brisko::fuzz {

HostileHost::HostileHost(HostWorld& world) : world_(world) {
  emu::HostHooks& h = hooks();
  h.pluginId = [this] { return world_.anyInteger(); };
  h.pluginInstance = [this] { return world_.anyInteger(); };
  h.hostState = [this] { return world_.answers().u8() % 4 == 0 ? 1 : world_.anyInteger(); };
  h.setError = [this](int code) { world_.setError(code); };
  h.sendToHost = [this](HostMessage& message) -> std::optional<int> {
    return world_.sendToHost(&message);
  };
  h.sendToPlugin = [this](int, HostMessage& message) -> std::optional<int> {
    return world_.sendToPlugin(&message);
  };
  h.rowId = [this](int table, int index) { return world_.getRowId(table, index); };
  h.getValue = [this](int table, int row, int column, ConfigValue& value) -> std::optional<int> {
    return world_.getValue(table, row, column, &value);
  };
}

int HostileHost::GetPluginId() {
  HostCode hostCode;
  world_.enter(this);
  return HostEmulator::GetPluginId();
}

int HostileHost::GetPluginInstance() {
  HostCode hostCode;
  world_.enter(this);
  return HostEmulator::GetPluginInstance();
}

int HostileHost::GetHostState() {
  HostCode hostCode;
  world_.enter(this);
  return HostEmulator::GetHostState();
}

void HostileHost::SetError(int code) {
  HostCode hostCode;
  world_.enter(this);
  HostEmulator::SetError(code);
}

int HostileHost::SendToHost(HostMessage* message) {
  HostCode hostCode;
  world_.enter(this);
  check(message != nullptr, "SendToHost with a message");
  return HostEmulator::SendToHost(message);
}

int HostileHost::SendToPlugin(int pluginId, HostMessage* message) {
  HostCode hostCode;
  world_.enter(this);
  check(message != nullptr, "SendToPlugin with a message");
  return HostEmulator::SendToPlugin(pluginId, message);
}

int HostileHost::GetRowId(int table, int index) {
  HostCode hostCode;
  world_.enter(this);
  return HostEmulator::GetRowId(table, index);
}

int HostileHost::GetValue(int table, int row, int column, ConfigValue* value) {
  HostCode hostCode;
  world_.enter(this);
  check(value != nullptr, "GetValue with a value record");
  return HostEmulator::GetValue(table, row, column, value);
}

}  // namespace brisko::fuzz
