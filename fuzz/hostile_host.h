// One host interface object of the entry point fuzzer: the emulator's host
// model (emulator/host_emulator.h), which records every call-out, with every
// answer drawn by the world both host objects share (fuzz/host_world.h).
#pragma once

#include "emulator/host_emulator.h"
#include "fuzz/host_world.h"
#include "host/records.h"

namespace brisko::fuzz {

// One host interface object. Two exist, so that a second 20001 with the
// other one shows whether the plug-in switched over. Each call-out is the
// host's code (its allocations are not the plug-in's) and must reach the
// host the plug-in was last given.
class HostileHost final : public emu::HostEmulator {
 public:
  explicit HostileHost(HostWorld& world);

  int GetPluginId() override;
  int GetPluginInstance() override;
  int GetHostState() override;
  void SetError(int code) override;
  int SendToHost(HostMessage* message) override;
  int SendToPlugin(int pluginId, HostMessage* message) override;
  int GetRowId(int table, int index) override;
  int GetValue(int table, int row, int column, ConfigValue* value) override;

 private:
  HostWorld& world_;
};

}  // namespace brisko::fuzz
