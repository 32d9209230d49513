// Opening and copying a link, the Shift test and the shortening of menu
// texts, against a watched system stand-in; and the stand-in itself.
#include "menu/open_copy.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "system/native_system.h"
#include "system/system_api.h"

namespace brisko {
namespace {

using Strings = std::vector<std::string>;

using Kind = NativeSystem::Call::Kind;

// Watches a stand-in: logs each call in order, refuses the next call of each
// kind in `refuse` and keeps every rule of Windows' a call broke.
struct Script : NativeSystem::Watcher {
  Strings log;
  std::vector<unsigned> allocFlags;  // of each GlobalAlloc
  std::multiset<Kind> refuse;
  Strings broken;

  bool begin(const NativeSystem::Call& call) override {
    log.push_back(call.text());
    if (call.kind == Kind::Alloc) allocFlags.push_back(call.value);
    const auto it = refuse.find(call.kind);
    if (it == refuse.end()) return false;
    refuse.erase(it);
    return true;
  }
  void misused(const NativeSystem::Call& call, const char* rule) override {
    broken.push_back(call.text() + ": " + rule);
  }
};

// A stand-in of the test's own, watched by its script and installed as the
// seam while the test runs; links are recorded, never launched. No call may
// break a rule.
struct Scripted : Script {
  Scripted() : previous(exchangeSystemApi(&system)) {
    system.setOpenMode(NativeSystem::OpenMode::Record);
    system.setWatcher(this);
  }
  ~Scripted() override {
    exchangeSystemApi(previous);
    EXPECT_EQ(broken, Strings{});
  }

  NativeSystem system;
  SystemApi* previous;
};

TEST(SystemSeam, ExchangeInstallsAndRestores) {
  SystemApi* original = &systemApi();
  NativeSystem other;
  SystemApi* previous = exchangeSystemApi(&other);
  EXPECT_EQ(previous, original);
  EXPECT_EQ(&systemApi(), &other);
  EXPECT_EQ(exchangeSystemApi(nullptr), &other) << "null restores the default";
  EXPECT_NE(&systemApi(), &other);
  exchangeSystemApi(previous);
  EXPECT_EQ(&systemApi(), original);
}

TEST(CopyLink, PutsTheTextAndItsZeroOnTheClipboard) {
  const std::string links[] = {"http://www.Example.pl/A?b=c&d=%20", "http://x.y",
                               std::string("http://\xB1\xEA\x9C.pl")};
  for (const std::string& link : links) {
    SCOPED_TRACE(link);
    Scripted s;
    copyLink(link);
    const std::string size = std::to_string(link.size() + 1);
    EXPECT_EQ(s.log,
              (Strings{"alloc 8258 " + size, "lock", "unlock", "open", "empty", "set 1", "close"}));
    EXPECT_EQ(s.allocFlags, std::vector<unsigned>{0x2042u})
        << "one block, moveable, zeroed, shared";
    std::vector<char> want(link.begin(), link.end());
    want.push_back('\0');
    EXPECT_EQ(s.system.clipboardBytes(), want);
    EXPECT_EQ(s.system.clipboardFormat(), 1u);
    EXPECT_EQ(s.system.liveBlocks(), 0) << "the clipboard owns the block";
    EXPECT_FALSE(s.system.clipboardOpen());
    EXPECT_TRUE(s.system.openedLinks().empty());
  }
}

TEST(CopyLink, EveryFailureLeavesNoBlockAndTheClipboardClosed) {
  struct Case {
    const char* name;
    Kind refused;
    Strings log;
  } cases[] = {
      {"allocation fails", Kind::Alloc, {"alloc 8258 11"}},
      {"lock fails", Kind::Lock, {"alloc 8258 11", "lock", "free"}},
      {"clipboard cannot be opened",
       Kind::Open,
       {"alloc 8258 11", "lock", "unlock", "open", "free"}},
      {"clipboard refuses the data",
       Kind::Set,
       {"alloc 8258 11", "lock", "unlock", "open", "empty", "set 1", "free", "close"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Scripted s;
    s.refuse = {c.refused};
    copyLink("http://a.b");
    EXPECT_EQ(s.log, c.log);
    EXPECT_EQ(s.system.liveBlocks(), 0);
    EXPECT_FALSE(s.system.clipboardOpen());
    EXPECT_TRUE(s.system.clipboardBytes().empty());
  }
}

TEST(CopyLink, AnEmptyLinkCopiesTheZeroByteAlone) {
  Scripted s;
  copyLink("");
  EXPECT_EQ(s.log.front(), "alloc 8258 1");
  EXPECT_EQ(s.system.clipboardBytes(), std::vector<char>{'\0'});
}

TEST(NativeSystemWatch, HearsOfEveryBrokenRuleAndRefusesOnlyWhatCanFail) {
  Scripted s;
  NativeSystem& system = s.system;
  SystemApi::Handle block = system.globalAlloc(kGmemMoveable, 2);
  SystemApi::Handle other = system.globalAlloc(kGmemMoveable, 2);
  system.globalUnlock(block);
  ASSERT_NE(system.globalLock(block), nullptr);
  system.emptyClipboard();
  system.closeClipboard();
  ASSERT_TRUE(system.openClipboard());
  EXPECT_FALSE(system.openClipboard()) << "still open";
  EXPECT_TRUE(system.setClipboardData(kCfText, block)) << "taken over, though locked";
  system.globalFree(block);
  s.refuse = {Kind::Free, Kind::Close, Kind::Shell};
  system.globalFree(other);
  system.closeClipboard();
  system.shellOpen(nullptr);
  EXPECT_EQ(system.liveBlocks(), 0) << "freeing cannot be refused";
  EXPECT_FALSE(system.clipboardOpen()) << "closing cannot be refused";
  EXPECT_EQ(system.openedLinks(), Strings{""}) << "opening cannot be refused";
  EXPECT_TRUE(s.refuse.empty());
  EXPECT_EQ(s.broken, (Strings{"unlock: GlobalUnlock of a locked block",
                               "empty: EmptyClipboard on an open clipboard",
                               "close: CloseClipboard after OpenClipboard",
                               "open: the clipboard is not opened twice",
                               "set 1: the block is unlocked when handed over",
                               "free: a handle the system gave and that is still live",
                               "shell (null): a link to open"}));
  s.broken.clear();  // all of them were meant
}

TEST(OpenLink, OpensTheLinkAsItStands) {
  Scripted s;
  const std::string link = "http://www.Example.pl/a b\"c&d";
  openLink(link);
  EXPECT_EQ(s.system.openedLinks(), Strings{link});
  EXPECT_EQ(s.log, Strings{"shell " + link}) << "opening touches no memory and no clipboard";
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
    Scripted s;
    s.system.setShiftState(static_cast<short>(c.state));
    EXPECT_EQ(isShiftDown(), c.down);
    EXPECT_EQ(s.log, Strings{"key 16"}) << "Shift is asked for, and nothing else";
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
    system().setWatcher(nullptr);
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
  Script script;
  system().setWatcher(&script);
  struct Case {
    const char* name;
    Kind refused;
  } cases[] = {
      {"allocation", Kind::Alloc},
      {"locking", Kind::Lock},
      {"opening", Kind::Open},
      {"setting", Kind::Set},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    script.refuse = {c.refused};
    copyLink("http://new.pl");
    EXPECT_EQ(system().liveBlocks(), blocksBefore_);
    EXPECT_FALSE(system().clipboardOpen());
    // The refusal is used up: the next copy succeeds.
    copyLink("http://again.pl");
    EXPECT_EQ(system().clipboardBytes().size(), std::string("http://again.pl").size() + 1);
  }
  // Before the failures the old text was there; a failed open leaves it.
  copyLink("http://old.pl");
  script.refuse = {Kind::Open};
  copyLink("http://new.pl");
  EXPECT_EQ(system().clipboardBytes(), old);
  EXPECT_EQ(script.broken, Strings{});
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
