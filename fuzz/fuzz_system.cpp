#include "fuzz/fuzz_system.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "fuzz/plugin_allocations.h"

namespace brisko::fuzz {

SystemApi::Handle FuzzSystem::globalAlloc(unsigned flags, std::size_t bytes) {
  HostCode hostCode;
  check(flags == (kGmemMoveable | kGmemZeroInit | kGmemDdeShare), "GlobalAlloc flags");
  if (refuses(kRefuseAlloc) || draw().rare(8)) return nullptr;
  auto* block = new Block;
  block->bytes = static_cast<char*>(std::malloc(bytes == 0 ? 1 : bytes));
  if (block->bytes == nullptr) std::abort();
  std::memset(block->bytes, 0, bytes);
  block->size = bytes;
  blocks_.push_back(block);
  return block;
}

void* FuzzSystem::globalLock(Handle handle) {
  HostCode hostCode;
  Block* block = find(handle, "GlobalLock");
  if (refuses(kRefuseLock) || draw().rare(16)) return nullptr;
  ++block->locks;
  return block->bytes;
}

void FuzzSystem::globalUnlock(Handle handle) {
  HostCode hostCode;
  Block* block = find(handle, "GlobalUnlock");
  check(block->locks > 0, "GlobalUnlock of a locked block");
  --block->locks;
}

void FuzzSystem::globalFree(Handle handle) {
  HostCode hostCode;
  Block* block = find(handle, "GlobalFree");
  drop(block);
}

bool FuzzSystem::openClipboard() {
  HostCode hostCode;
  check(!clipboardOpen_, "the clipboard is not opened twice");
  if (refuses(kRefuseOpen) || draw().rare(8)) return false;
  clipboardOpen_ = true;
  return true;
}

void FuzzSystem::emptyClipboard() {
  HostCode hostCode;
  check(clipboardOpen_, "EmptyClipboard on an open clipboard");
}

bool FuzzSystem::setClipboardData(unsigned format, Handle handle) {
  HostCode hostCode;
  check(clipboardOpen_, "SetClipboardData on an open clipboard");
  check(format == kCfText, "clipboard text as CF_TEXT");
  Block* block = find(handle, "SetClipboardData");
  check(block->locks == 0, "the block is unlocked when handed over");
  if (refuses(kRefuseSet) || draw().rare(8)) return false;
  check(block->size >= 1 && block->bytes[block->size - 1] == '\0' &&
            std::strlen(block->bytes) == block->size - 1,
        "the clipboard gets the link and one terminating zero");
  const std::string link(block->bytes);
  require(world_.log().isOpenForm(link), "a copied link comes from a status",
          [&] { return shown(link); });
  copied_.push_back(link);
  ++counts().copied;
  drop(block);  // the clipboard owns it now
  return true;
}

void FuzzSystem::closeClipboard() {
  HostCode hostCode;
  check(clipboardOpen_, "CloseClipboard after OpenClipboard");
  clipboardOpen_ = false;
}

void FuzzSystem::shellOpen(const char* link) {
  HostCode hostCode;
  check(link != nullptr, "a link to open");
  const std::string text(link);
  require(world_.log().isOpenForm(text), "an opened link comes from a status",
          [&] { return shown(text); });
  opened_.push_back(text);
  ++counts().opened;
}

short FuzzSystem::getKeyState(int virtualKey) {
  HostCode hostCode;
  check(virtualKey == kVkShift, "only Shift is asked for");
  return keyState_;
}

void FuzzSystem::checkSettled() const {
  check(blocks_.empty(), "no global memory block left behind");
  check(!clipboardOpen_, "the clipboard is closed again");
}

void FuzzSystem::startInput() {
  HostCode hostCode;
  opened_.clear();
  copied_.clear();
}

FuzzSystem::Block* FuzzSystem::find(Handle handle, const char* what) {
  for (Block* block : blocks_) {
    if (block == handle) return block;
  }
  fail("a handle the system gave and that is still live", what);
}

void FuzzSystem::drop(Block* block) {
  blocks_.erase(std::find(blocks_.begin(), blocks_.end(), block));
  std::free(block->bytes);
  delete block;
}

}  // namespace brisko::fuzz
