#include "fuzz/hostile_host.h"

#include "fuzz/plugin_allocations.h"

namespace brisko::fuzz {

int HostileHost::GetPluginId() {
  HostCode hostCode;
  world_.enter(this);
  return world_.anyInteger();
}

int HostileHost::GetPluginInstance() {
  HostCode hostCode;
  world_.enter(this);
  return world_.anyInteger();
}

int HostileHost::GetHostState() {
  HostCode hostCode;
  world_.enter(this);
  return world_.answers().u8() % 4 == 0 ? 1 : world_.anyInteger();
}

void HostileHost::SetError(int code) {
  HostCode hostCode;
  world_.enter(this);
  world_.setError(code);
}

int HostileHost::SendToHost(HostMessage* message) {
  HostCode hostCode;
  world_.enter(this);
  return world_.sendToHost(message);
}

int HostileHost::SendToPlugin(int, HostMessage* message) {
  HostCode hostCode;
  world_.enter(this);
  return world_.sendToPlugin(message);
}

int HostileHost::GetRowId(int table, int index) {
  HostCode hostCode;
  world_.enter(this);
  return world_.getRowId(table, index);
}

int HostileHost::GetValue(int table, int row, int column, ConfigValue* value) {
  HostCode hostCode;
  world_.enter(this);
  return world_.getValue(table, row, column, value);
}

}  // namespace brisko::fuzz
