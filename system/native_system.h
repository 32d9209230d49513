// The native stand-in for Windows' shell, clipboard and keyboard.
//
// A STAND-IN, not part of the product: Brisko.dll uses the real functions
// (system/windows_system.cpp) and never links this one. Natively it is the
// seam's default, linked by the native module, the emulator, the tests and the
// fuzzers; the Windows build links it into the tests only. One instance per
// process (nativeSystem()), in a shared library that both the native plug-in
// module and the emulator load, so the emulator can press Shift, read the
// clipboard and see what was opened; tests and fuzzers may make instances of
// their own. Every opened link is recorded; natively, in Launch mode,
// xdg-open is also started with the link as its single argument (never
// through a shell).
//
// A Watcher, where one is set, is told of every call: it may make the calls
// that can fail fail, and it hears of each call that breaks Windows' rules
// (a handle not given or no longer live, an unlock of an unlocked block, a
// block handed to the clipboard while locked, the clipboard opened twice or
// used while closed). Without a watcher nothing is reported and nothing fails
// but what the rules make fail.
#pragma once

#include <string>
#include <vector>

#include "system/system_api.h"

namespace brisko {

class NativeSystem : public SystemApi {
 public:
  enum class OpenMode { Record, Launch };

  // One call of the seam, as a watcher is told of it.
  struct Call {
    enum class Kind { Alloc, Lock, Unlock, Free, Open, Empty, Set, Close, Shell, KeyState };
    Kind kind;
    unsigned value = 0;          // Alloc: the flags; Set: the format; KeyState: the key
    std::size_t bytes = 0;       // Alloc: the size asked for
    Handle block = nullptr;      // Lock, Unlock, Free, Set
    const char* link = nullptr;  // Shell; valid while the call runs

    // As "alloc 8258 11", "lock", "unlock", "free", "open", "empty", "set 1",
    // "close", "shell http://a.b", "key 16".
    std::string text() const;
  };

  class Watcher {
   public:
    virtual ~Watcher() = default;
    // Told of `call` after its rules are checked and before it is carried
    // out. True makes a call that can fail (Alloc, Lock, Open, Set) fail as
    // Windows' would, with nothing done; for the others it is ignored.
    virtual bool begin(const Call& call) = 0;
    // `call` broke the rule `rule`; it is then carried out as far as it can be.
    virtual void misused(const Call& call, const char* rule) = 0;
    // `call` is over (refused or carried out).
    virtual void end(const Call&) {}
  };

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
  void setWatcher(Watcher* watcher);  // null: none
  void setShiftDown(bool down);       // held: reported as Windows does, 0x80 sign-extended
  void setShiftState(short state);    // what GetKeyState reports for Shift, as it stands
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
  // The bytes of a live block, or null for a handle that is not one.
  const std::vector<char>* blockBytes(Handle block) const;

  ~NativeSystem() override;

 private:
  struct Block;
  struct Scope;  // tells the watcher of one call while it runs
  Block* find(Handle handle) const;
  Block* live(const Call& call);  // find(call.block), reporting a miss
  void misused(const Call& call, const char* rule);

  std::vector<Block*> blocks_;
  std::vector<char> clipboard_;
  unsigned clipboardFormat_ = 0;
  bool clipboardOpen_ = false;
  short shiftState_ = 0;
  OpenMode openMode_ = OpenMode::Launch;
  std::vector<std::string> opened_;
  Watcher* watcher_ = nullptr;
};

// The process-wide stand-in.
NativeSystem& nativeSystem();

}  // namespace brisko
