// Test support: the plug-in's code linked into the test program, driven by
// the host emulator exactly as the module would be.
#pragma once

#include <memory>

#include "emulator/host_emulator.h"
#include "plugin/plugin_state.h"

namespace brisko::test {

// The plug-in's message entry, linked in (not loaded from a module file).
emu::MessageProc inProcessProc();

// The state object the linked-in plug-in holds now (null outside 20001..20002).
PluginState* inProcessState();

// An emulator bound to the linked-in plug-in. It is shut down (20002) when
// destroyed, so each test starts from an unloaded plug-in.
class InProcessHost : public emu::HostEmulator {
 public:
  InProcessHost();
  ~InProcessHost() override;
  PluginState& state();  // requires a running plug-in
};

}  // namespace brisko::test
