// The seam on Windows: the real shell, clipboard, global memory and keyboard.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "system/system_api.h"

namespace brisko {

// The values the seam's callers pass are Windows' own.
static_assert(kGmemMoveable == GMEM_MOVEABLE && kGmemZeroInit == GMEM_ZEROINIT &&
              kGmemDdeShare == GMEM_DDESHARE);
static_assert(kCfText == CF_TEXT && kVkShift == VK_SHIFT);

namespace {

class WindowsSystem final : public SystemApi {
 public:
  Handle globalAlloc(unsigned flags, std::size_t bytes) override {
    return GlobalAlloc(flags, bytes);
  }
  void* globalLock(Handle block) override { return GlobalLock(block); }
  void globalUnlock(Handle block) override { GlobalUnlock(block); }
  void globalFree(Handle block) override { GlobalFree(block); }

  bool openClipboard() override { return OpenClipboard(nullptr) != FALSE; }
  void emptyClipboard() override { EmptyClipboard(); }
  bool setClipboardData(unsigned format, Handle block) override {
    return SetClipboardData(format, block) != nullptr;
  }
  void closeClipboard() override { CloseClipboard(); }

  void shellOpen(const char* link) override {
    ShellExecuteA(nullptr, "open", link, nullptr, nullptr, SW_SHOWNORMAL);
  }

  short getKeyState(int virtualKey) override { return GetKeyState(virtualKey); }
};

WindowsSystem g_windowsSystem;
SystemApi* g_active = &g_windowsSystem;

}  // namespace

SystemApi& systemApi() { return *g_active; }

SystemApi* exchangeSystemApi(SystemApi* api) {
  SystemApi* previous = g_active;
  g_active = api != nullptr ? api : &g_windowsSystem;
  return previous;
}

}  // namespace brisko
