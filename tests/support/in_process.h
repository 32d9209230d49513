// Test support: the plug-in's code linked into the test program, driven by
// the host emulator exactly as the module would be.
#pragma once


#include "emulator/host_emulator.h"
#include "host/host_interface.h"
#include "plugin/plugin_state.h"

namespace brisko::test {

// Makes `host` the linked-in plug-in's current host for the scope, and the
// previous one afterwards: for driving one layer's functions directly.
class CurrentHostScope {
 public:
  explicit CurrentHostScope(IHost* host);
  ~CurrentHostScope();
  CurrentHostScope(const CurrentHostScope&) = delete;
  CurrentHostScope& operator=(const CurrentHostScope&) = delete;

 private:
  IHost* previous_;
};

// An emulator bound to the linked-in plug-in. It is shut down (20002) when
// destroyed, so each test starts from an unloaded plug-in.
class InProcessHost : public emu::HostEmulator {
 public:
  InProcessHost();
  ~InProcessHost() override;
  PluginState& state();  // requires a running plug-in
};

}  // namespace brisko::test
