// The plug-in module's one export. Everything else is ordinary C++ behind
// handleMessage (plugin/dispatch.h).
#include "plugin/dispatch.h"

#if defined(_WIN32)
// Exported by name through plugin/brisko.def, not by dllexport, so no alias appears.
#define BRISKO_EXPORT extern "C" __stdcall
#else
#define BRISKO_EXPORT extern "C" __attribute__((visibility("default"), stdcall))
#endif

// The host calls this with a pointer to every message; on Windows its name is
// _IMessageProc@4 (see plugin/brisko.def).
BRISKO_EXPORT int IMessageProc(brisko::HostMessage* message) noexcept {
  return brisko::handleMessage(message);
}
