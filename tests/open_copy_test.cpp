// Opening and copying a link, the Shift test and the shortening of menu
// texts, against a scripted system seam; and the native stand-in itself.
#include "menu/open_copy.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "system/system_api.h"

#if !defined(_WIN32)
#include "system/native_system.h"
#endif

namespace brisko {
namespace {

using Strings = std::vector<std::string>;

// A system seam that records each call in order and fails where told to.
class ScriptedSystem : public SystemApi {
 public:
  struct Block {
    unsigned flags = 0;
    std::vector<char> bytes;
    int locks = 0;
    bool freed = false;
    bool handedOver = false;
  };

  bool failAlloc = false;
  bool failLock = false;
  bool failOpen = false;
  bool failSet = false;
  short keyState = 0;

  Strings log;
  std::vector<std::unique_ptr<Block>> blocks;
  std::vector<int> keysAsked;
  Strings opened;
  bool clipboardOpen = false;
  std::vector<char> clipboard;  // bytes of the block handed over
  unsigned clipboardFormat = 0;

  Handle globalAlloc(unsigned flags, std::size_t bytes) override {
    log.push_back("alloc " + std::to_string(flags) + " " + std::to_string(bytes));
    if (failAlloc) return nullptr;
    auto block = std::make_unique<Block>();
    block->flags = flags;
    // Zeroed only when asked to, so a missing terminator would show.
    block->bytes.assign(bytes, (flags & kGmemZeroInit) != 0 ? '\0' : '\x5A');
    blocks.push_back(std::move(block));
    return blocks.back().get();
  }
  void* globalLock(Handle handle) override {
    log.push_back("lock");
    if (failLock) return nullptr;
    Block* block = find(handle);
    if (block == nullptr || block->freed || block->handedOver) return nullptr;
    ++block->locks;
    return block->bytes.data();
  }
  void globalUnlock(Handle handle) override {
    log.push_back("unlock");
    Block* block = find(handle);
    if (block != nullptr) --block->locks;
  }
  void globalFree(Handle handle) override {
    log.push_back("free");
    Block* block = find(handle);
    ASSERT_NE(block, nullptr);
    EXPECT_FALSE(block->freed) << "freed twice";
    EXPECT_FALSE(block->handedOver) << "freed after the clipboard took it";
    block->freed = true;
  }
  bool openClipboard() override {
    log.push_back("open");
    if (failOpen) return false;
    EXPECT_FALSE(clipboardOpen);
    clipboardOpen = true;
    return true;
  }
  void emptyClipboard() override {
    log.push_back("empty");
    EXPECT_TRUE(clipboardOpen);
    clipboard.clear();
  }
  bool setClipboardData(unsigned format, Handle handle) override {
    log.push_back("set " + std::to_string(format));
    EXPECT_TRUE(clipboardOpen);
    if (failSet) return false;
    Block* block = find(handle);
    if (block == nullptr) return false;
    EXPECT_EQ(block->locks, 0) << "handed over while locked";
    block->handedOver = true;
    clipboard = block->bytes;
    clipboardFormat = format;
    return true;
  }
  void closeClipboard() override {
    log.push_back("close");
    clipboardOpen = false;
  }
  void shellOpen(const char* link) override {
    log.push_back("shell");
    opened.emplace_back(link);
  }
  short getKeyState(int virtualKey) override {
    keysAsked.push_back(virtualKey);
    return keyState;
  }

  // Blocks neither freed nor owned by the clipboard.
  int leaked() const {
    int count = 0;
    for (const auto& block : blocks) count += (!block->freed && !block->handedOver) ? 1 : 0;
    return count;
  }

 private:
  Block* find(Handle handle) {
    for (const auto& block : blocks) {
      if (block.get() == handle) return block.get();
    }
    return nullptr;
  }
};

// Installs a seam for the duration of a test and puts the previous one back.
class SeamGuard {
 public:
  explicit SeamGuard(SystemApi* api) : previous_(exchangeSystemApi(api)) {}
  ~SeamGuard() { exchangeSystemApi(previous_); }
  SeamGuard(const SeamGuard&) = delete;
  SeamGuard& operator=(const SeamGuard&) = delete;

 private:
  SystemApi* previous_;
};

TEST(SystemSeam, ExchangeInstallsAndRestores) {
  SystemApi* original = &systemApi();
  ScriptedSystem scripted;
  SystemApi* previous = exchangeSystemApi(&scripted);
  EXPECT_EQ(previous, original);
  EXPECT_EQ(&systemApi(), &scripted);
  EXPECT_EQ(exchangeSystemApi(nullptr), &scripted) << "null restores the default";
  EXPECT_NE(&systemApi(), &scripted);
  exchangeSystemApi(previous);
  EXPECT_EQ(&systemApi(), original);
}

TEST(CopyLink, PutsTheTextAndItsZeroOnTheClipboard) {
  const std::string links[] = {"http://www.Example.pl/A?b=c&d=%20", "http://x.y",
                               std::string("http://\xB1\xEA\x9C.pl")};
  for (const std::string& link : links) {
    SCOPED_TRACE(link);
    ScriptedSystem scripted;
    SeamGuard guard(&scripted);
    copyLink(link);
    const std::string size = std::to_string(link.size() + 1);
    EXPECT_EQ(scripted.log,
              (Strings{"alloc 8258 " + size, "lock", "unlock", "open", "empty", "set 1", "close"}));
    ASSERT_EQ(scripted.blocks.size(), 1u);
    EXPECT_EQ(scripted.blocks[0]->flags, 0x2042u);
    std::vector<char> want(link.begin(), link.end());
    want.push_back('\0');
    EXPECT_EQ(scripted.clipboard, want);
    EXPECT_EQ(scripted.clipboardFormat, 1u);
    EXPECT_EQ(scripted.leaked(), 0);
    EXPECT_FALSE(scripted.clipboardOpen);
    EXPECT_TRUE(scripted.opened.empty());
  }
}

TEST(CopyLink, EveryFailureLeavesNoBlockAndTheClipboardClosed) {
  struct Case {
    const char* name;
    bool failAlloc, failLock, failOpen, failSet;
    Strings log;
  } cases[] = {
      {"allocation fails", true, false, false, false, {"alloc 8258 11"}},
      {"lock fails", false, true, false, false, {"alloc 8258 11", "lock", "free"}},
      {"clipboard cannot be opened",
       false,
       false,
       true,
       false,
       {"alloc 8258 11", "lock", "unlock", "open", "free"}},
      {"clipboard refuses the data",
       false,
       false,
       false,
       true,
       {"alloc 8258 11", "lock", "unlock", "open", "empty", "set 1", "free", "close"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedSystem scripted;
    scripted.failAlloc = c.failAlloc;
    scripted.failLock = c.failLock;
    scripted.failOpen = c.failOpen;
    scripted.failSet = c.failSet;
    SeamGuard guard(&scripted);
    copyLink("http://a.b");
    EXPECT_EQ(scripted.log, c.log);
    EXPECT_EQ(scripted.leaked(), 0);
    EXPECT_FALSE(scripted.clipboardOpen);
    EXPECT_TRUE(scripted.clipboard.empty());
  }
}

TEST(CopyLink, AnEmptyLinkCopiesTheZeroByteAlone) {
  ScriptedSystem scripted;
  SeamGuard guard(&scripted);
  copyLink("");
  EXPECT_EQ(scripted.log.front(), "alloc 8258 1");
  EXPECT_EQ(scripted.clipboard, std::vector<char>{'\0'});
}

TEST(OpenLink, OpensTheLinkAsItStands) {
  ScriptedSystem scripted;
  SeamGuard guard(&scripted);
  const std::string link = "http://www.Example.pl/a b\"c&d";
  openLink(link);
  EXPECT_EQ(scripted.opened, Strings{link});
  EXPECT_EQ(scripted.log, Strings{"shell"}) << "opening touches no memory and no clipboard";
}

TEST(IsShiftDown, OnlyBit0x80OfTheKeyStateCounts) {
  struct Case {
    std::uint16_t state;
    bool down;
  } cases[] = {
      {0x0000, false}, {0x0001, false}, {0x0080, true},  {0x0081, true},  {0xFF80, true},
      {0xFF81, true},  {0x8000, false}, {0x8001, false}, {0x7F7F, false}, {0x00FF, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.state);
    ScriptedSystem scripted;
    scripted.keyState = static_cast<short>(c.state);
    SeamGuard guard(&scripted);
    EXPECT_EQ(isShiftDown(), c.down);
    EXPECT_EQ(scripted.keysAsked, std::vector<int>{0x10});
  }
}

TEST(ShortenForMenu, KeepsShortTextsAndEndsLongOnesWithTheEllipsis) {
  const std::string ell(1, '\x85');
  struct Case {
    std::string text;
    std::int32_t length;
    std::string shown;
  } cases[] = {
      {"www.example.pl", 0, "www.example.pl"},
      {"www.example.pl", -1, "www.example.pl"},
      {"www.example.pl", -2147483647 - 1, "www.example.pl"},
      {"www.example.pl", 14, "www.example.pl"},
      {"www.example.pl", 15, "www.example.pl"},
      {"www.example.pl", 13, "www.example." + ell},
      {"www.example.pl", 2, "w" + ell},
      {"www.example.pl", 1, ell},
      {"", 1, ""},
      {"ab", 1, ell},
      {"\xB1\xEA\x9C\xE6", 3, "\xB1\xEA" + ell},
      {std::string(1000, 'a'), 999, std::string(998, 'a') + ell},
      {"www.example.pl", 2147483647, "www.example.pl"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.substr(0, 20) + " / " + std::to_string(c.length));
    const std::string shown = shortenForMenu(c.text, c.length);
    EXPECT_EQ(shown, c.shown);
    if (c.length > 0) {
      EXPECT_LE(shown.size(), static_cast<std::size_t>(c.length));
    }
  }
  EXPECT_EQ(kMenuEllipsis, '\x85');
}

#if !defined(_WIN32)
// The native stand-in that the emulator and the native module share.
class NativeSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = exchangeSystemApi(nullptr);
    system().setOpenMode(NativeSystem::OpenMode::Record);
    system().clearOpenedLinks();
    system().clearClipboard();
    system().setShiftDown(false);
    blocksBefore_ = system().liveBlocks();
  }
  void TearDown() override {
    system().setShiftDown(false);
    system().clearClipboard();
    system().clearOpenedLinks();
    exchangeSystemApi(previous_);
  }
  NativeSystem& system() { return nativeSystem(); }
  int blocksBefore_ = 0;

 private:
  SystemApi* previous_ = nullptr;
};

TEST_F(NativeSystemTest, IsTheDefaultSeam) { EXPECT_EQ(&systemApi(), &nativeSystem()); }

TEST_F(NativeSystemTest, CopyingStoresTheBlockAsCfText) {
  copyLink("http://www.Abc.pl");
  const std::string want = "http://www.Abc.pl";
  std::vector<char> bytes(want.begin(), want.end());
  bytes.push_back('\0');
  EXPECT_EQ(system().clipboardBytes(), bytes);
  EXPECT_EQ(system().clipboardFormat(), 1u);
  EXPECT_FALSE(system().clipboardOpen());
  EXPECT_EQ(system().liveBlocks(), blocksBefore_) << "the clipboard owns the block";
  EXPECT_TRUE(system().openedLinks().empty());

  // A second copy replaces the first.
  copyLink("http://b.pl");
  EXPECT_EQ(system().clipboardBytes(),
            (std::vector<char>{'h', 't', 't', 'p', ':', '/', '/', 'b', '.', 'p', 'l', '\0'}));
}

TEST_F(NativeSystemTest, InjectedFailuresLeakNothing) {
  copyLink("http://old.pl");
  const std::vector<char> old = system().clipboardBytes();
  struct Case {
    const char* name;
    void (NativeSystem::*inject)();
  } cases[] = {
      {"allocation", &NativeSystem::failNextAlloc},
      {"opening", &NativeSystem::failNextOpenClipboard},
      {"setting", &NativeSystem::failNextSetClipboardData},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    (system().*c.inject)();
    copyLink("http://new.pl");
    EXPECT_EQ(system().liveBlocks(), blocksBefore_);
    EXPECT_FALSE(system().clipboardOpen());
    // The injected failure is used up: the next copy succeeds.
    copyLink("http://again.pl");
    EXPECT_EQ(system().clipboardBytes().size(), std::string("http://again.pl").size() + 1);
  }
  // Before the failures the old text was there; a failed open leaves it.
  copyLink("http://old.pl");
  system().failNextOpenClipboard();
  copyLink("http://new.pl");
  EXPECT_EQ(system().clipboardBytes(), old);
}

TEST_F(NativeSystemTest, ShiftAndOpeningAreRecorded) {
  EXPECT_FALSE(isShiftDown());
  system().setShiftDown(true);
  EXPECT_TRUE(isShiftDown());
  EXPECT_EQ(system().getKeyState(0x11), 0) << "only Shift is held";
  system().setShiftDown(false);
  EXPECT_FALSE(isShiftDown());

  openLink("http://a.pl/x y");
  openLink("http://b.pl");
  EXPECT_EQ(system().openedLinks(), (Strings{"http://a.pl/x y", "http://b.pl"}));
  system().clearOpenedLinks();
  EXPECT_TRUE(system().openedLinks().empty());
}

TEST_F(NativeSystemTest, BlocksFollowTheGlobalMemoryRules) {
  SystemApi::Handle zeroed = system().globalAlloc(kGmemMoveable | kGmemZeroInit, 4);
  SystemApi::Handle raw = system().globalAlloc(kGmemMoveable, 4);
  ASSERT_NE(zeroed, nullptr);
  ASSERT_NE(raw, nullptr);
  EXPECT_EQ(system().liveBlocks(), blocksBefore_ + 2);
  const char* z = static_cast<const char*>(system().globalLock(zeroed));
  ASSERT_NE(z, nullptr);
  EXPECT_EQ(std::string(z, 4), std::string(4, '\0'));
  system().globalUnlock(zeroed);
  const char* r = static_cast<const char*>(system().globalLock(raw));
  ASSERT_NE(r, nullptr);
  EXPECT_NE(std::string(r, 4), std::string(4, '\0')) << "not zeroed unless asked";
  system().globalUnlock(raw);
  EXPECT_FALSE(system().setClipboardData(kCfText, zeroed)) << "the clipboard is not open";
  system().globalFree(zeroed);
  system().globalFree(raw);
  EXPECT_EQ(system().liveBlocks(), blocksBefore_);
  EXPECT_EQ(system().globalLock(raw), nullptr) << "a freed block cannot be locked";
}
#endif

}  // namespace
}  // namespace brisko
