// The entry point fuzzer's shell, clipboard and keyboard: nothing is started;
// every link opened or copied is checked against the statuses given; blocks
// are accounted for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/host_world.h"
#include "system/system_api.h"

namespace brisko::fuzz {

// The shell, clipboard and keyboard: nothing is started; every link opened or
// copied is checked against the statuses given; blocks are accounted for.
class FuzzSystem final : public SystemApi {
 public:
  explicit FuzzSystem(HostWorld& world) : world_(world) {}

  Handle globalAlloc(unsigned flags, std::size_t bytes) override;
  void* globalLock(Handle handle) override;
  void globalUnlock(Handle handle) override;
  void globalFree(Handle handle) override;
  bool openClipboard() override;
  void emptyClipboard() override;
  bool setClipboardData(unsigned format, Handle handle) override;
  void closeClipboard() override;
  void shellOpen(const char* link) override;
  short getKeyState(int virtualKey) override;
  // The state of Shift while the next message is handled (the user's).
  void setKeyState(short state) { keyState_ = state; }
  // Which calls fail while the next message is handled (kRefuse... bits),
  // besides those the answers make fail.
  static constexpr std::uint8_t kRefuseAlloc = 1;
  static constexpr std::uint8_t kRefuseLock = 2;
  static constexpr std::uint8_t kRefuseOpen = 4;
  static constexpr std::uint8_t kRefuseSet = 8;
  void setRefusals(std::uint8_t refusals) { refusals_ = refusals; }

  // After each message: nothing left allocated or open.
  void checkSettled() const;
  void startInput();
  // Links opened and copied during this input.
  const std::vector<std::string>& opened() const { return opened_; }
  const std::vector<std::string>& copied() const { return copied_; }

 private:
  struct Block {
    char* bytes = nullptr;
    std::size_t size = 0;
    int locks = 0;
  };

  Draw& draw() { return world_.answers(); }
  bool refuses(std::uint8_t call) const { return (refusals_ & call) != 0; }

  Block* find(Handle handle, const char* what);

  void drop(Block* block);

  HostWorld& world_;
  std::vector<Block*> blocks_;
  bool clipboardOpen_ = false;
  short keyState_ = 0;
  std::uint8_t refusals_ = 0;
  std::vector<std::string> opened_;
  std::vector<std::string> copied_;
};

}  // namespace brisko::fuzz
