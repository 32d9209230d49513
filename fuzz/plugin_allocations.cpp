// Replacement of the global operator new and delete that remembers the blocks
// the plug-in's code allocates (fuzz/plugin_allocations.h).
//
// Blocks come from malloc, so AddressSanitizer still guards each one with its
// red zones and quarantine. The table of remembered blocks lives in memory
// from malloc too, never from operator new, so that it does not count itself.
#include "fuzz/plugin_allocations.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

namespace brisko::fuzz {
namespace {

// Not thread-local: the plug-in runs on one thread by contract, and where
// 32-bit code runs under user-mode emulation a second thread's signal can
// swap the main thread's thread-local storage for its own.
bool g_pluginRunning = false;
bool g_tracking = true;

// An open-addressing set of block addresses with their sizes.
class BlockTable {
 public:
  void insert(void* block, std::size_t size) {
    Guard guard(lock_);
    if ((used_ + 1) * 2 > capacity_) grow();
    std::size_t i = slotOf(block);
    while (slots_[i].key != nullptr && slots_[i].key != kTombstone) i = (i + 1) & (capacity_ - 1);
    if (slots_[i].key == nullptr) ++used_;
    slots_[i] = {block, size};
    ++live_;
  }

  void erase(void* block) {
    if (block == nullptr) return;
    Guard guard(lock_);
    if (live_ == 0) return;
    std::size_t i = slotOf(block);
    while (slots_[i].key != nullptr) {
      if (slots_[i].key == block) {
        slots_[i].key = kTombstone;
        --live_;
        return;
      }
      i = (i + 1) & (capacity_ - 1);
    }
  }

  std::size_t live() {
    Guard guard(lock_);
    return live_;
  }

  template <typename Visit>
  void forEach(Visit&& visit) {
    Guard guard(lock_);
    for (std::size_t i = 0; i < capacity_; ++i) {
      if (slots_[i].key != nullptr && slots_[i].key != kTombstone) {
        visit(slots_[i].key, slots_[i].size);
      }
    }
  }

  void clear() {
    Guard guard(lock_);
    for (std::size_t i = 0; i < capacity_; ++i) slots_[i] = {};
    used_ = 0;
    live_ = 0;
  }

 private:
  struct Slot {
    void* key;
    std::size_t size;
  };
  struct Guard {
    explicit Guard(std::atomic_flag& flag) : flag_(flag) {
      while (flag_.test_and_set(std::memory_order_acquire)) {
      }
    }
    ~Guard() { flag_.clear(std::memory_order_release); }
    std::atomic_flag& flag_;
  };

  static inline void* const kTombstone = reinterpret_cast<void*>(std::uintptr_t{1});

  std::size_t slotOf(const void* block) const {
    auto v = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(block));
    v = (v >> 4) * 2654435761u;
    return v & (capacity_ - 1);
  }

  // Doubles the table when it is half full of live entries, else rebuilds it
  // at its size to drop the tombstones.
  void grow() {
    const std::size_t oldCapacity = capacity_;
    Slot* const old = slots_;
    std::size_t capacity = oldCapacity == 0 ? 1024 : oldCapacity;
    while ((live_ + 1) * 4 > capacity) capacity *= 2;
    auto* fresh = static_cast<Slot*>(std::calloc(capacity, sizeof(Slot)));
    if (fresh == nullptr) std::abort();
    slots_ = fresh;
    capacity_ = capacity;
    used_ = 0;
    for (std::size_t i = 0; i < oldCapacity; ++i) {
      if (old[i].key == nullptr || old[i].key == kTombstone) continue;
      std::size_t j = slotOf(old[i].key);
      while (slots_[j].key != nullptr) j = (j + 1) & (capacity_ - 1);
      slots_[j] = old[i];
      ++used_;
    }
    std::free(old);
  }

  std::atomic_flag lock_ = ATOMIC_FLAG_INIT;
  Slot* slots_ = nullptr;
  std::size_t capacity_ = 0;
  std::size_t used_ = 0;  // live entries and tombstones
  std::size_t live_ = 0;
};

BlockTable& table() {
  static BlockTable* const instance = new (std::malloc(sizeof(BlockTable))) BlockTable;
  return *instance;
}

void* allocate(std::size_t size, std::size_t alignment, bool nothrow) {
  if (size == 0) size = 1;
  void* block = nullptr;
  if (alignment <= alignof(std::max_align_t)) {
    block = std::malloc(size);
  } else if (posix_memalign(&block, alignment, size) != 0) {
    block = nullptr;
  }
  if (block == nullptr) {
    if (nothrow) return nullptr;
    throw std::bad_alloc();
  }
  if (g_pluginRunning && g_tracking) table().insert(block, size);
  return block;
}

void release(void* block) {
  if (block == nullptr) return;
  table().erase(block);
  std::free(block);
}

}  // namespace

CodeScope::CodeScope(bool pluginCode) : saved_(g_pluginRunning) { g_pluginRunning = pluginCode; }
CodeScope::~CodeScope() { g_pluginRunning = saved_; }

void setAllocationTracking(bool on) { g_tracking = on; }

std::size_t livePluginBlocks() { return table().live(); }

void forEachLivePluginBlock(const std::function<void(const void*, std::size_t)>& visit) {
  // Copied out first: the visitor may allocate.
  constexpr std::size_t kMost = 64;
  const void* blocks[kMost];
  std::size_t sizes[kMost];
  std::size_t n = 0;
  table().forEach([&](const void* block, std::size_t size) {
    if (n < kMost) {
      blocks[n] = block;
      sizes[n] = size;
      ++n;
    }
  });
  for (std::size_t i = 0; i < n; ++i) visit(blocks[i], sizes[i]);
}

void forgetLivePluginBlocks() { table().clear(); }

}  // namespace brisko::fuzz

using brisko::fuzz::allocate;
using brisko::fuzz::release;

namespace {
constexpr std::size_t kPlain = 0;
}

void* operator new(std::size_t size) { return allocate(size, kPlain, false); }
void* operator new[](std::size_t size) { return allocate(size, kPlain, false); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return allocate(size, kPlain, true);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return allocate(size, kPlain, true);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
  return allocate(size, static_cast<std::size_t>(alignment), false);
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
  return allocate(size, static_cast<std::size_t>(alignment), false);
}
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  return allocate(size, static_cast<std::size_t>(alignment), true);
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  return allocate(size, static_cast<std::size_t>(alignment), true);
}

void operator delete(void* block) noexcept { release(block); }
void operator delete[](void* block) noexcept { release(block); }
void operator delete(void* block, std::size_t) noexcept { release(block); }
void operator delete[](void* block, std::size_t) noexcept { release(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { release(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { release(block); }
void operator delete(void* block, std::align_val_t) noexcept { release(block); }
void operator delete[](void* block, std::align_val_t) noexcept { release(block); }
void operator delete(void* block, std::size_t, std::align_val_t) noexcept { release(block); }
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept { release(block); }
void operator delete(void* block, std::align_val_t, const std::nothrow_t&) noexcept {
  release(block);
}
void operator delete[](void* block, std::align_val_t, const std::nothrow_t&) noexcept {
  release(block);
}
