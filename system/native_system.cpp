#include "system/native_system.h"

#include <algorithm>
#include <cstring>

#if !defined(_WIN32)
#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>

extern char** environ;
#endif

namespace brisko {

// One global memory block: its bytes and how often it is locked.
struct NativeSystem::Block {
  std::vector<char> bytes;
  int locks = 0;
};

// Tells the watcher, if any, of a call from its start to its end.
struct NativeSystem::Scope {
  Scope(Watcher* to, const Call& of)
      : watcher(to), call(of), refused(to != nullptr && to->begin(of)) {}
  ~Scope() {
    if (watcher != nullptr) watcher->end(call);
  }
  Watcher* const watcher;
  const Call& call;
  const bool refused;  // the watcher's answer
};

namespace {

using Kind = NativeSystem::Call::Kind;

// Byte that fills a block allocated without GMEM_ZEROINIT, so that a text
// copied without its terminator shows up.
constexpr char kUninitialisedByte = '\xCD';

#if !defined(_WIN32)
// xdg-open processes not yet waited for.
std::vector<pid_t>& pendingChildren() {
  static std::vector<pid_t> children;
  return children;
}

void reapFinishedChildren() {
  auto& children = pendingChildren();
  children.erase(std::remove_if(children.begin(), children.end(),
                                [](pid_t pid) {
                                  int status = 0;
                                  return waitpid(pid, &status, WNOHANG) != 0;
                                }),
                 children.end());
}

// Starts xdg-open with `link` as its single argument, without a shell.
void launch(const char* link) {
  reapFinishedChildren();
  std::string program = "xdg-open";
  std::string argument = link;
  char* argv[] = {program.data(), argument.data(), nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv, environ) == 0) {
    pendingChildren().push_back(pid);
  }
}
#endif

}  // namespace

std::string NativeSystem::Call::text() const {
  static const char* const kNames[] = {"alloc", "lock", "unlock", "free",  "open",
                                       "empty", "set",  "close",  "shell", "key"};
  std::string text = kNames[static_cast<int>(kind)];
  switch (kind) {
    case Kind::Alloc:
      return text + " " + std::to_string(value) + " " + std::to_string(bytes);
    case Kind::Set:
    case Kind::KeyState:
      return text + " " + std::to_string(value);
    case Kind::Shell:
      return text + " " + (link != nullptr ? link : "(null)");
    default:
      return text;
  }
}

NativeSystem::~NativeSystem() {
  for (Block* block : blocks_) delete block;
  blocks_.clear();
}

SystemApi::Handle NativeSystem::globalAlloc(unsigned flags, std::size_t bytes) {
  const Call call{Kind::Alloc, flags, bytes};
  const Scope scope(watcher_, call);
  if (scope.refused) return nullptr;
  auto* block = new Block;
  const char fill = (flags & kGmemZeroInit) != 0 ? '\0' : kUninitialisedByte;
  block->bytes.assign(std::max<std::size_t>(bytes, 1), fill);
  block->bytes.resize(bytes);
  blocks_.push_back(block);
  return block;
}

void* NativeSystem::globalLock(Handle handle) {
  const Call call{Kind::Lock, 0, 0, handle};
  Block* block = live(call);
  const Scope scope(watcher_, call);
  if (block == nullptr || scope.refused) return nullptr;
  ++block->locks;
  return block->bytes.data();
}

void NativeSystem::globalUnlock(Handle handle) {
  const Call call{Kind::Unlock, 0, 0, handle};
  Block* block = live(call);
  if (block != nullptr && block->locks == 0) misused(call, "GlobalUnlock of a locked block");
  const Scope scope(watcher_, call);
  if (block != nullptr && block->locks > 0) --block->locks;
}

void NativeSystem::globalFree(Handle handle) {
  const Call call{Kind::Free, 0, 0, handle};
  Block* block = live(call);
  const Scope scope(watcher_, call);
  if (block == nullptr) return;
  blocks_.erase(std::find(blocks_.begin(), blocks_.end(), block));
  delete block;
}

bool NativeSystem::openClipboard() {
  const Call call{Kind::Open};
  if (clipboardOpen_) misused(call, "the clipboard is not opened twice");
  const Scope scope(watcher_, call);
  if (scope.refused) return false;
  if (clipboardOpen_) return false;  // still held by an earlier opening
  clipboardOpen_ = true;
  return true;
}

void NativeSystem::emptyClipboard() {
  const Call call{Kind::Empty};
  if (!clipboardOpen_) misused(call, "EmptyClipboard on an open clipboard");
  const Scope scope(watcher_, call);
  if (!clipboardOpen_) return;
  clipboard_.clear();
  clipboardFormat_ = 0;
}

bool NativeSystem::setClipboardData(unsigned format, Handle handle) {
  const Call call{Kind::Set, format, 0, handle};
  if (!clipboardOpen_) misused(call, "SetClipboardData on an open clipboard");
  Block* block = live(call);
  if (block != nullptr && block->locks > 0) misused(call, "the block is unlocked when handed over");
  const Scope scope(watcher_, call);
  if (scope.refused || !clipboardOpen_ || block == nullptr) return false;
  // The clipboard takes the block over.
  clipboard_ = block->bytes;
  clipboardFormat_ = format;
  blocks_.erase(std::find(blocks_.begin(), blocks_.end(), block));
  delete block;
  return true;
}

void NativeSystem::closeClipboard() {
  const Call call{Kind::Close};
  if (!clipboardOpen_) misused(call, "CloseClipboard after OpenClipboard");
  const Scope scope(watcher_, call);
  clipboardOpen_ = false;
}

void NativeSystem::shellOpen(const char* link) {
  const Call call{Kind::Shell, 0, 0, nullptr, link};
  if (link == nullptr) misused(call, "a link to open");
  const Scope scope(watcher_, call);
  const char* text = link != nullptr ? link : "";
  opened_.emplace_back(text);
#if !defined(_WIN32)
  if (openMode_ == OpenMode::Launch) launch(text);
#endif
}

short NativeSystem::getKeyState(int virtualKey) {
  const Call call{Kind::KeyState, static_cast<unsigned>(virtualKey)};
  const Scope scope(watcher_, call);
  return virtualKey == kVkShift ? shiftState_ : 0;
}

void NativeSystem::setWatcher(Watcher* watcher) { watcher_ = watcher; }
// As Windows reports a held key: the key-state byte 0x80, sign-extended.
void NativeSystem::setShiftDown(bool down) { shiftState_ = down ? static_cast<short>(-128) : 0; }
void NativeSystem::setShiftState(short state) { shiftState_ = state; }
void NativeSystem::setOpenMode(OpenMode mode) { openMode_ = mode; }
const std::vector<std::string>& NativeSystem::openedLinks() const { return opened_; }
void NativeSystem::clearOpenedLinks() { opened_.clear(); }
const std::vector<char>& NativeSystem::clipboardBytes() const { return clipboard_; }
unsigned NativeSystem::clipboardFormat() const { return clipboardFormat_; }

void NativeSystem::clearClipboard() {
  clipboard_.clear();
  clipboardFormat_ = 0;
}

bool NativeSystem::clipboardOpen() const { return clipboardOpen_; }
int NativeSystem::liveBlocks() const { return static_cast<int>(blocks_.size()); }

const std::vector<char>* NativeSystem::blockBytes(Handle handle) const {
  const Block* block = find(handle);
  return block != nullptr ? &block->bytes : nullptr;
}

NativeSystem::Block* NativeSystem::find(Handle handle) const {
  auto it = std::find(blocks_.begin(), blocks_.end(), static_cast<Block*>(handle));
  return it != blocks_.end() ? *it : nullptr;
}

NativeSystem::Block* NativeSystem::live(const Call& call) {
  Block* block = find(call.block);
  if (block == nullptr) misused(call, "a handle the system gave and that is still live");
  return block;
}

void NativeSystem::misused(const Call& call, const char* rule) {
  if (watcher_ != nullptr) watcher_->misused(call, rule);
}

NativeSystem& nativeSystem() {
  static NativeSystem instance;
  return instance;
}

#if !defined(_WIN32)
// On Windows the seam's default is the real system (system/windows_system.cpp).
namespace {
SystemApi* g_active = nullptr;  // null: the process-wide stand-in
}  // namespace

SystemApi& systemApi() { return g_active != nullptr ? *g_active : nativeSystem(); }

SystemApi* exchangeSystemApi(SystemApi* api) {
  SystemApi* previous = &systemApi();
  g_active = (api == &nativeSystem()) ? nullptr : api;
  return previous;
}
#endif

}  // namespace brisko
