// The entry point fuzzer's watch over the system stand-in (NativeSystem, in
// Record mode: nothing is started): calls refused as the input says, every
// link opened or copied checked against the statuses given, every call held
// to Windows' rules, and nothing left allocated or open after a message.
#pragma once

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "fuzz/host_world.h"
#include "fuzz/plugin_allocations.h"
#include "system/native_system.h"

namespace brisko::fuzz {

class FuzzSystem final : public NativeSystem::Watcher {
 public:
  using Call = NativeSystem::Call;

  explicit FuzzSystem(HostWorld& world) : world_(world) {
    system_.setOpenMode(NativeSystem::OpenMode::Record);
    system_.setWatcher(this);
  }

  // The stand-in, to install as the seam.
  NativeSystem& standIn() { return system_; }
  // The state of Shift while the next message is handled (the user's).
  void setKeyState(short state) { system_.setShiftState(state); }
  // Which calls fail while the next message is handled (kRefuse... bits),
  // besides those the answers make fail.
  static constexpr std::uint8_t kRefuseAlloc = 1;
  static constexpr std::uint8_t kRefuseLock = 2;
  static constexpr std::uint8_t kRefuseOpen = 4;
  static constexpr std::uint8_t kRefuseSet = 8;
  void setRefusals(std::uint8_t refusals) { refusals_ = refusals; }

  // After each message: nothing left allocated or open.
  void checkSettled() const {
    check(system_.liveBlocks() == 0, "no global memory block left behind");
    check(!system_.clipboardOpen(), "the clipboard is closed again");
  }
  void startInput() {
    HostCode hostCode;
    system_.clearOpenedLinks();
    system_.clearClipboard();
  }

  bool begin(const Call& call) override {
    hostCode_.emplace();
    switch (call.kind) {
      case Call::Kind::Alloc:
        check(call.value == (kGmemMoveable | kGmemZeroInit | kGmemDdeShare), "GlobalAlloc flags");
        return refuses(kRefuseAlloc, 8);
      case Call::Kind::Lock:
        return refuses(kRefuseLock, 16);
      case Call::Kind::Open:
        return refuses(kRefuseOpen, 8);
      case Call::Kind::Set: {
        check(call.value == kCfText, "clipboard text as CF_TEXT");
        if (refuses(kRefuseSet, 8)) return true;
        const std::vector<char>* bytes = system_.blockBytes(call.block);
        check(bytes != nullptr && !bytes->empty() && bytes->back() == '\0' &&
                  std::strlen(bytes->data()) == bytes->size() - 1,
              "the clipboard gets the link and one terminating zero");
        checkLink(bytes->data(), "a copied link comes from a status");
        ++counts().copied;
        return false;
      }
      case Call::Kind::Shell:
        checkLink(call.link, "an opened link comes from a status");
        ++counts().opened;
        return false;
      case Call::Kind::KeyState:
        check(call.value == kVkShift, "only Shift is asked for");
        return false;
      default:
        return false;
    }
  }
  void misused(const Call& call, const char* rule) override { fail(rule, call.text()); }
  void end(const Call&) override { hostCode_.reset(); }

 private:
  bool refuses(std::uint8_t call, unsigned rarity) {
    return (refusals_ & call) != 0 || world_.answers().rare(rarity);
  }
  void checkLink(const std::string& link, const char* rule) {
    require(world_.log().isOpenForm(link), rule, [&] { return shown(link); });
  }

  HostWorld& world_;
  NativeSystem system_;
  std::uint8_t refusals_ = 0;
  std::optional<HostCode> hostCode_;  // while a call runs: its work is not the plug-in's
};

}  // namespace brisko::fuzz
