// The native stand-in for Windows' shell, clipboard and keyboard.
//
// A STAND-IN, not part of the product: Brisko.dll uses the real functions
// (system/windows_system.cpp). It is linked only by the native module, the
// emulator and the tests. One instance per process, in a shared library that both the native
// plug-in module and the emulator load, so the emulator can press Shift, read the clipboard and see
// what was opened. Every opened link is recorded; in Launch mode xdg-open is also started with the
// link as its single argument (never through a shell).
#pragma once

#include <string>
#include <vector>

#include "system/system_api.h"

namespace brisko {

class NativeSystem : public SystemApi {
 public:
  enum class OpenMode { Record, Launch };

  // SystemApi
  Handle globalAlloc(unsigned flags, std::size_t bytes) override;
  void* globalLock(Handle block) override;
  void globalUnlock(Handle block) override;
  void globalFree(Handle block) override;
  bool openClipboard() override;
  void emptyClipboard() override;
  bool setClipboardData(unsigned format, Handle block) override;
  void closeClipboard() override;
  void shellOpen(const char* link) override;
  short getKeyState(int virtualKey) override;

  // Control and observation.
  void setShiftDown(bool down);
  void setOpenMode(OpenMode mode);
  const std::vector<std::string>& openedLinks() const;
  void clearOpenedLinks();
  // The clipboard's CF_TEXT block as stored (including its terminating zero),
  // or empty when the clipboard holds no text.
  const std::vector<char>& clipboardBytes() const;
  unsigned clipboardFormat() const;  // 0 when empty
  void clearClipboard();
  bool clipboardOpen() const;
  int liveBlocks() const;  // blocks allocated and not yet freed or handed over

  // Fault injection, for tests only.
  void failNextAlloc();
  void failNextOpenClipboard();
  void failNextSetClipboardData();

  ~NativeSystem() override;

 private:
  struct Block;
  std::vector<Block*> blocks_;
  std::vector<char> clipboard_;
  unsigned clipboardFormat_ = 0;
  bool clipboardOpen_ = false;
  bool shiftDown_ = false;
  OpenMode openMode_ = OpenMode::Launch;
  std::vector<std::string> opened_;
  bool failAlloc_ = false;
  bool failOpen_ = false;
  bool failSet_ = false;
};

// The process-wide stand-in.
NativeSystem& nativeSystem();

}  // namespace brisko
