// Which heap blocks the plug-in's own code allocated and has not freed.
//
// LeakSanitizer cannot run where the fuzzers run (32-bit code under
// user-mode emulation), so the entry point's fuzzer counts for itself:
// fuzz/plugin_allocations.cpp replaces the global operator new and delete,
// and every block allocated while the plug-in's code runs is remembered until
// it is freed. "The plug-in's code runs" is one flag (the plug-in runs on one
// thread): PluginCode sets it around a call of IMessageProc, HostCode clears
// it around each call-out into the fake host or the fake system (whose
// allocations are not the plug-in's). The scopes nest, as the host's re-entry
// into IMessageProc from inside a call-out does.
#pragma once

#include <cstddef>
#include <functional>

namespace brisko::fuzz {

// While alive, allocations count as the plug-in's when `pluginCode` says so
// and as not the plug-in's otherwise; when it ends, they count as before.
class CodeScope {
 public:
  explicit CodeScope(bool pluginCode);
  ~CodeScope();
  CodeScope(const CodeScope&) = delete;
  CodeScope& operator=(const CodeScope&) = delete;

 private:
  bool saved_;
};

// While alive, allocations count as the plug-in's.
struct PluginCode : CodeScope {
  PluginCode() : CodeScope(true) {}
};

// While alive, allocations are not the plug-in's.
struct HostCode : CodeScope {
  HostCode() : CodeScope(false) {}
};

// Turns the bookkeeping on or off altogether (off while the process warms up
// the libraries' own one-time caches).
void setAllocationTracking(bool on);

// Blocks of the plug-in still allocated.
std::size_t livePluginBlocks();

// Calls `visit` with the address and size of each block counted above.
void forEachLivePluginBlock(const std::function<void(const void*, std::size_t)>& visit);

// Forgets every counted block (they stay allocated).
void forgetLivePluginBlocks();

}  // namespace brisko::fuzz
