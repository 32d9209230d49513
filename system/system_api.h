// The seam between the plug-in and Windows' shell, clipboard and keyboard.
//
// Every system call the plug-in makes goes through the active SystemApi. On
// Windows the default calls the real functions; natively it is the stand-in
// of system/native_system.h. Tests may install their own with
// exchangeSystemApi.
#pragma once

#include <cstddef>

namespace brisko {

class SystemApi {
 public:
  using Handle = void*;  // a global memory block (HGLOBAL)

  virtual ~SystemApi() = default;

  // GlobalAlloc / GlobalLock / GlobalUnlock / GlobalFree.
  virtual Handle globalAlloc(unsigned flags, std::size_t bytes) = 0;
  virtual void* globalLock(Handle block) = 0;
  virtual void globalUnlock(Handle block) = 0;
  virtual void globalFree(Handle block) = 0;
  // OpenClipboard(no owner) / EmptyClipboard / SetClipboardData / CloseClipboard.
  virtual bool openClipboard() = 0;
  virtual void emptyClipboard() = 0;
  virtual bool setClipboardData(unsigned format, Handle block) = 0;
  virtual void closeClipboard() = 0;
  // ShellExecuteA(no owner, "open", link, no parameters, no folder, SW_SHOWNORMAL).
  virtual void shellOpen(const char* link) = 0;
  // GetKeyState.
  virtual short getKeyState(int virtualKey) = 0;
};

// The active seam.
SystemApi& systemApi();
// Installs `api` (null restores the default) and returns the previous one.
SystemApi* exchangeSystemApi(SystemApi* api);

// Values of the Windows API used through the seam.
constexpr unsigned kGmemMoveable = 0x0002;
constexpr unsigned kGmemZeroInit = 0x0040;
constexpr unsigned kGmemDdeShare = 0x2000;
constexpr unsigned kCfText = 1;
constexpr int kVkShift = 0x10;

}  // namespace brisko
