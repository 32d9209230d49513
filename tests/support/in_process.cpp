#include "tests/support/in_process.h"

#include <stdexcept>

#include "host/host_calls.h"
#include "plugin/dispatch.h"

namespace brisko::test {
namespace {
int BRISKO_STDCALL linkedProc(HostMessage* message) { return handleMessage(message); }
}  // namespace

CurrentHostScope::CurrentHostScope(IHost* host) : previous_(host::current()) {
  host::setCurrent(host);
}

CurrentHostScope::~CurrentHostScope() { host::setCurrent(previous_); }

InProcessHost::InProcessHost() : emu::HostEmulator(&linkedProc, nullptr) {}

InProcessHost::~InProcessHost() { shutDown(); }

PluginState& InProcessHost::state() {
  PluginState* state = currentPluginState();
  if (state == nullptr) throw std::logic_error("the plug-in is not running");
  return *state;
}

}  // namespace brisko::test
