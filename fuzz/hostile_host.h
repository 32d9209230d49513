// One host interface object of the entry point fuzzer: every call-out goes
// to the world both host objects share (fuzz/host_world.h).
#pragma once

#include "fuzz/host_world.h"
#include "host/host_interface.h"
#include "host/records.h"

namespace brisko::fuzz {

// One host interface object. Two exist, so that a second 20001 with the
// other one shows whether the plug-in switched over.
class HostileHost final : public IHost {
 public:
  explicit HostileHost(HostWorld& world) : world_(world) {}

  int GetPluginId() override;
  int GetPluginInstance() override;
  int GetHostState() override;
  void SetError(int code) override;
  int SendToHost(HostMessage* message) override;
  int SendToPlugin(int, HostMessage* message) override;
  int GetRowId(int table, int index) override;
  int GetValue(int table, int row, int column, ConfigValue* value) override;

 private:
  HostWorld& world_;
};

}  // namespace brisko::fuzz
