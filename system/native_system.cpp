#include "system/native_system.h"

#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstring>

extern char** environ;

namespace brisko {

// One global memory block: its bytes and how often it is locked.
struct NativeSystem::Block {
  std::vector<char> bytes;
  int locks = 0;
};

namespace {

// Byte that fills a block allocated without GMEM_ZEROINIT, so that a text
// copied without its terminator shows up.
constexpr char kUninitialisedByte = '\xCD';

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

}  // namespace

NativeSystem::~NativeSystem() {
  for (Block* block : blocks_) delete block;
  blocks_.clear();
}

SystemApi::Handle NativeSystem::globalAlloc(unsigned flags, std::size_t bytes) {
  if (failAlloc_) {
    failAlloc_ = false;
    return nullptr;
  }
  auto* block = new Block;
  const char fill = (flags & kGmemZeroInit) != 0 ? '\0' : kUninitialisedByte;
  block->bytes.assign(std::max<std::size_t>(bytes, 1), fill);
  block->bytes.resize(bytes);
  blocks_.push_back(block);
  return block;
}

void* NativeSystem::globalLock(Handle handle) {
  auto it = std::find(blocks_.begin(), blocks_.end(), static_cast<Block*>(handle));
  if (it == blocks_.end()) return nullptr;
  ++(*it)->locks;
  return (*it)->bytes.data();
}

void NativeSystem::globalUnlock(Handle handle) {
  auto it = std::find(blocks_.begin(), blocks_.end(), static_cast<Block*>(handle));
  if (it != blocks_.end() && (*it)->locks > 0) --(*it)->locks;
}

void NativeSystem::globalFree(Handle handle) {
  auto it = std::find(blocks_.begin(), blocks_.end(), static_cast<Block*>(handle));
  if (it == blocks_.end()) return;
  delete *it;
  blocks_.erase(it);
}

bool NativeSystem::openClipboard() {
  if (failOpen_) {
    failOpen_ = false;
    return false;
  }
  if (clipboardOpen_) return false;  // still held by an earlier opening
  clipboardOpen_ = true;
  return true;
}

void NativeSystem::emptyClipboard() {
  if (!clipboardOpen_) return;
  clipboard_.clear();
  clipboardFormat_ = 0;
}

bool NativeSystem::setClipboardData(unsigned format, Handle handle) {
  if (failSet_) {
    failSet_ = false;
    return false;
  }
  if (!clipboardOpen_) return false;
  auto it = std::find(blocks_.begin(), blocks_.end(), static_cast<Block*>(handle));
  if (it == blocks_.end()) return false;
  // The clipboard takes the block over.
  clipboard_ = (*it)->bytes;
  clipboardFormat_ = format;
  delete *it;
  blocks_.erase(it);
  return true;
}

void NativeSystem::closeClipboard() { clipboardOpen_ = false; }

void NativeSystem::shellOpen(const char* link) {
  const char* text = link != nullptr ? link : "";
  opened_.emplace_back(text);
  if (openMode_ == OpenMode::Launch) launch(text);
}

short NativeSystem::getKeyState(int virtualKey) {
  // As Windows reports a held key: the key-state byte 0x80, sign-extended.
  if (virtualKey == kVkShift && shiftDown_) return static_cast<short>(-128);
  return 0;
}

void NativeSystem::setShiftDown(bool down) { shiftDown_ = down; }
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

void NativeSystem::failNextAlloc() { failAlloc_ = true; }
void NativeSystem::failNextOpenClipboard() { failOpen_ = true; }
void NativeSystem::failNextSetClipboardData() { failSet_ = true; }

NativeSystem& nativeSystem() {
  static NativeSystem instance;
  return instance;
}

namespace {
SystemApi* g_active = nullptr;  // null: the process-wide stand-in
}  // namespace

SystemApi& systemApi() { return g_active != nullptr ? *g_active : nativeSystem(); }

SystemApi* exchangeSystemApi(SystemApi* api) {
  SystemApi* previous = &systemApi();
  g_active = (api == &nativeSystem()) ? nullptr : api;
  return previous;
}

}  // namespace brisko
