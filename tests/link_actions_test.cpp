// The link actions and their notifications: icons and insertions at start-up,
// filling the contact menu, choosing an item, the chat button, and the
// routing of page notifications. Driven through the host emulator.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "emulator/host_emulator.h"
#include "host/host_calls.h"
#include "host/ids.h"
#include "host/records.h"
#include "menu/link_actions.h"
#include "plugin/plugin_state.h"
#include "settings/columns.h"
#include "settings/texts.h"
#include "tests/support/emulator_calls.h"
#include "tests/support/in_process.h"
#include "tests/support/record_bytes.h"

namespace brisko {
namespace {

using Strings = std::vector<std::string>;
using test::Bytes;
using test::clipboardText;
using test::RecordBuilder;
using test::recordOpenings;
using test::statusReads;

// One change (message 10108) the plug-in sent.
struct Change {
  std::uint32_t id = 0;
  std::uint32_t parent = 0;
  std::int32_t cnt = 0;
  std::uint32_t mask = 0;
  std::uint32_t status = 0;
  std::uint32_t statusMask = 0;
  std::string text;
  bool isStatus() const { return mask == mask::kStatus; }
  bool isText() const { return mask == mask::kText; }
};

// The fields of an ActionInfo record, unpacked (the packed record's fields
// are not aligned, so assertions must not bind references to them).
struct Info {
  std::uint32_t id, parent;
  std::int32_t cnt, position;
  std::uint32_t mask, status, statusMask, text, param;
  std::uint16_t width, height;
};

Info infoOf(const emu::HostCall& call) {
  const ActionInfo raw = test::recordOf<ActionInfo>(call.record);
  return Info{raw.id,         raw.parent, raw.cnt,   raw.position, raw.mask,  raw.status,
              raw.statusMask, raw.text,   raw.param, raw.width,    raw.height};
}

std::vector<Change> changesOf(const emu::HostEmulator& host) {
  std::vector<Change> changes;
  for (const emu::HostCall& call : host.callsTo(msg::kSetAction)) {
    const Info info = infoOf(call);
    Change c;
    c.id = info.id;
    c.parent = info.parent;
    c.cnt = info.cnt;
    c.mask = info.mask;
    c.status = info.status;
    c.statusMask = info.statusMask;
    c.text = call.text;
    changes.push_back(c);
  }
  return changes;
}

// Status changes as (id, parent, cnt, hidden?) in order.
struct Visibility {
  std::uint32_t id;
  std::uint32_t parent;
  std::int32_t cnt;
  bool hidden;
  bool operator==(const Visibility& o) const {
    return id == o.id && parent == o.parent && cnt == o.cnt && hidden == o.hidden;
  }
};

std::ostream& operator<<(std::ostream& out, const Visibility& v) {
  return out << (v.hidden ? "hide " : "show ") << v.id << "/" << v.parent << "/" << v.cnt;
}

std::vector<Visibility> visibilityChanges(const emu::HostEmulator& host) {
  std::vector<Visibility> result;
  for (const Change& c : changesOf(host)) {
    if (!c.isStatus()) continue;
    EXPECT_EQ(c.statusMask, status::kHidden) << "only the hidden bit is ever changed";
    EXPECT_TRUE(c.status == 0 || c.status == status::kHidden);
    result.push_back({c.id, c.parent, c.cnt, c.status == status::kHidden});
  }
  return result;
}

const std::uint32_t kSlot0 = action::kLinkItemBase;

// A running plug-in with plain menu texts: no shortening, "http://" cut,
// "www." kept, up to ten links.
class LinkMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    recordOpenings();
    ASSERT_TRUE(host.startUp());
    host.setConfigInt(column::kDisplayLength, 0);
    host.setConfigInt(column::kLinkCount, 10);
    host.setConfigInt(column::kCutHttp, 1);
    host.setConfigInt(column::kCutWww, 0);
    reload();
    host.setShift(false);
    host.clearOpenedLinks();
    host.clearClipboard();
    host.clearCalls();
  }
  void TearDown() override {
    host.setShift(false);
    host.clearOpenedLinks();
    host.clearClipboard();
  }
  void reload() { ASSERT_EQ(host.send(msg::kLoadSettings), 1); }

  test::InProcessHost host;
};

constexpr char kThreeLinks[] = "a http://one.pl b www.Two.pl c http://www.three.pl";
const Strings kThreeItems = {"one.pl", "www.two.pl", "www.three.pl"};
const Strings kThreeOpen = {"http://one.pl", "http://www.Two.pl", "http://www.three.pl"};

// --- start-up -------------------------------------------------------------

TEST(LinkActionsStartUp, ThirteenInsertionsByteByByte) {
  recordOpenings();
  test::InProcessHost host;
  ASSERT_TRUE(host.startUp());

  struct Expected {
    std::uint32_t parent, id;
    std::int32_t position;
    std::uint32_t status;
    std::string text;
    std::uint32_t param;
  };
  std::vector<Expected> expected = {{30, 109010, 1, 0x01000010, "Linki", 109001}};
  const char* slotTexts[] = {"Link_01", "Link_02", "Link_03", "Link_04", "Link_05",
                             "Link_06", "Link_07", "Link_08", "Link_09", "Link_10"};
  for (std::uint32_t j = 0; j < 10; ++j) {
    expected.push_back({109010, 109012 + j, -1, 0x01000000, slotTexts[j], 0});
  }
  expected.push_back({30, 109011, 2, 0x01000000, "Link", 109001});
  expected.push_back({200, 109040, -1, 0x03000000, "Link", 109001});

  const std::vector<emu::HostCall> inserts = host.callsTo(msg::kInsertAction);
  ASSERT_GE(inserts.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE("insertion " + std::to_string(i + 1));
    const Expected& e = expected[i];
    const emu::HostCall& call = inserts[i];

    EXPECT_EQ(test::maskPointer(call.message, 22), test::messageBytes(msg::kInsertAction));

    ASSERT_EQ(call.record.size(), 74u);
    EXPECT_NE(test::u32At(call.record, 50), 0u) << "the text, compared below through the text";
    EXPECT_EQ(test::maskPointer(call.record, 50),
              (test::ActionInfoBytes{74, e.id, e.parent, -2, e.position, 863, e.status, 0xFFFFFFFF,
                                     0, e.param}
                   .bytes()));
    EXPECT_EQ(call.text, e.text);
  }

  // The link actions come before the configuration page's insertions.
  for (std::size_t i = expected.size(); i < inserts.size(); ++i) {
    const Info info = infoOf(inserts[i]);
    EXPECT_NE(info.id, action::kLinksMenu);
    EXPECT_FALSE(info.id >= action::kSingleLinkItem && info.id <= action::kLinkItemBase + 9);
    EXPECT_NE(info.id, action::kChatLinkButton);
  }
  // No action uses the second icon, and none is created hidden.
  for (const emu::HostCall& call : inserts) {
    const Info info = infoOf(call);
    EXPECT_NE(info.param, 109002u);
  }
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(infoOf(inserts[i]).status & status::kHidden, 0u);
  }
  EXPECT_TRUE(host.pageInserted()) << "the page follows within the same message";
}

TEST(LinkActionsStartUp, IconsAndActionsComeBeforeThePage) {
  test::InProcessHost host;
  ASSERT_TRUE(host.startUp());
  std::vector<std::uint32_t> order;  // 10130 / 10101 in the order sent
  for (const emu::HostCall& call : host.calls()) {
    if (call.op != emu::HostCall::Op::SendToHost) continue;
    if (call.messageId == msg::kRegisterIcon || call.messageId == msg::kInsertAction) {
      order.push_back(call.messageId);
    }
  }
  ASSERT_GE(order.size(), 15u);
  EXPECT_EQ(order[0], msg::kRegisterIcon);
  EXPECT_EQ(order[1], msg::kRegisterIcon);
  for (std::size_t i = 2; i < order.size(); ++i) EXPECT_EQ(order[i], msg::kInsertAction);
}

// With a module handle that changes between calls, each icon registration
// is seen to ask for it afresh.
TEST(LinkActionsStartUp, TwoIconRecordsEachWithAFreshModuleHandle) {
  emu::HostEmulator iconHost;
  std::uint32_t handle = 0x10000000;
  iconHost.hooks().pluginInstance = [&handle] {
    const std::uint32_t answered = handle;
    handle += 0x01000000;
    return static_cast<int>(answered);
  };
  {
    test::CurrentHostScope scope(&iconHost);
    registerIcons();
  }

  using Op = emu::HostCall::Op;
  std::vector<std::pair<Op, std::uint32_t>> sequence;
  for (const emu::HostCall& call : iconHost.calls()) sequence.emplace_back(call.op, call.messageId);
  EXPECT_EQ(sequence,
            (std::vector<std::pair<Op, std::uint32_t>>{{Op::GetPluginInstance, 0},
                                                       {Op::SendToHost, msg::kRegisterIcon},
                                                       {Op::GetPluginInstance, 0},
                                                       {Op::SendToHost, msg::kRegisterIcon}}));
  const auto icons = iconHost.callsTo(msg::kRegisterIcon);
  ASSERT_EQ(icons.size(), 2u);
  const std::uint32_t modules[] = {0x10000000, 0x11000000};
  const std::uint32_t ids[] = {109001, 109002};
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    RecordBuilder r;
    r.u16(36).u16(0).u32(ids[i]).u32(static_cast<std::uint32_t>(i + 1)).u32(0).u32(1);
    r.u32(modules[i]).u32(101).u32(0).u32(0);
    Bytes actual = icons[i].record;
    actual[2] = actual[3] = 0;  // the gap after the size carries nothing
    EXPECT_EQ(actual, r.bytes);
  }
}

TEST(LinkActionsStartUp, IconRecordsThroughTheEmulatorCarryItsModuleHandle) {
  test::InProcessHost host;
  ASSERT_TRUE(host.startUp());
  const std::vector<emu::HostCall>& calls = host.calls();
  std::vector<std::int32_t> instances;
  std::vector<Bytes> icons;
  for (const emu::HostCall& call : calls) {
    if (call.op == emu::HostCall::Op::GetPluginInstance) instances.push_back(call.result);
    if (call.op == emu::HostCall::Op::SendToHost && call.messageId == msg::kRegisterIcon) {
      icons.push_back(call.record);
      ASSERT_EQ(instances.size(), icons.size()) << "the handle is asked before each record";
    }
  }
  ASSERT_EQ(icons.size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    ASSERT_EQ(icons[i].size(), 36u);
    RecordBuilder r;
    r.u16(36).u16(0).u32(109001 + static_cast<std::uint32_t>(i));
    r.u32(static_cast<std::uint32_t>(i + 1)).u32(0).u32(1);
    r.u32(static_cast<std::uint32_t>(instances[i])).u32(101).u32(0).u32(0);
    Bytes actual = icons[i];
    actual[2] = actual[3] = 0;
    EXPECT_EQ(actual, r.bytes);
  }
}

TEST(LinkActionsStartUp, BuildUserInterfaceAnswersOne) {
  test::InProcessHost host;
  ASSERT_TRUE(host.startUp());
  host.clearCalls();
  EXPECT_EQ(host.send(msg::kBuildUserInterface), 1);
  EXPECT_EQ(host.callsTo(msg::kRegisterIcon).size(), 2u);
  EXPECT_GE(host.callsTo(msg::kInsertAction).size(), 13u);
}

// --- the contact menu -----------------------------------------------------

TEST_F(LinkMenuTest, NothingToOfferHidesTheMenuAsNamedAndTheSingleItem) {
  // Lists from an earlier preparation, to see which cases keep them.
  host.addContact(1, kThreeLinks);
  ASSERT_EQ(host.contactMenu(1).items, kThreeItems);

  struct Case {
    const char* name;
    bool settingOn;
    bool nullStatus;
    std::string status;
    bool listsKept;
  } cases[] = {
      {"empty status", true, false, "", true},
      {"no status text at all", true, true, "", true},
      {"setting off", false, false, "see www.other.pl", true},
      {"status without links", true, false, "nothing to see here", false},
  };
  std::int32_t contact = 10;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ++contact;
    host.addContact(contact, c.status);
    if (c.nullStatus) host.setNullStatus(contact);
    host.setConfigInt(column::kShowInContactMenu, c.settingOn ? 1 : 0);
    reload();
    host.contactMenu(1);  // refill the lists
    host.clearCalls();

    // The host names the submenu with the contact's instance.
    EXPECT_EQ(host.notify(action::kLinksMenu, group::kContactMenu, contact, notify::kPrepare), 0);
    EXPECT_EQ(visibilityChanges(host),
              (std::vector<Visibility>{{109010, 30, contact, true}, {109011, 30, -2, true}}));
    for (const Change& change : changesOf(host)) EXPECT_FALSE(change.isText());
    EXPECT_EQ(statusReads(host, contact), 1);
    if (c.listsKept) {
      EXPECT_EQ(host.state().links.found().openLinks, kThreeOpen);
      EXPECT_EQ(host.state().links.found().displayLinks.size(), 3u);
    } else {
      EXPECT_TRUE(host.state().links.found().openLinks.empty());
      EXPECT_TRUE(host.state().links.found().displayLinks.empty());
    }
    const emu::ContactMenu menu = host.contactMenu(contact);
    EXPECT_FALSE(menu.submenuShown);
    EXPECT_FALSE(menu.singleShown);
  }
}

TEST_F(LinkMenuTest, OneLinkUnderTheFourCombinationsOfTheSingleLinkSettings) {
  host.addContact(7, "see www.Example.pl now");
  struct Case {
    bool submenu;
    bool showName;
    bool expectSubmenu;
    std::string singleText;
  } cases[] = {
      {false, false, false, "Link"},
      {false, true, false, "www.example.pl"},
      {true, false, true, ""},
      {true, true, true, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("submenu ") + (c.submenu ? "yes" : "no") + ", name " +
                 (c.showName ? "yes" : "no"));
    host.setConfigInt(column::kSubmenuForSingleLink, c.submenu ? 1 : 0);
    host.setConfigInt(column::kShowSingleLinkName, c.showName ? 1 : 0);
    reload();
    host.clearCalls();
    const emu::ContactMenu menu = host.contactMenu(7);
    const std::vector<Change> changes = changesOf(host);
    std::vector<Visibility> visibility = visibilityChanges(host);

    if (c.expectSubmenu) {
      EXPECT_TRUE(menu.submenuShown);
      EXPECT_FALSE(menu.singleShown);
      EXPECT_EQ(menu.items, Strings{"www.example.pl"});
      std::vector<Visibility> want = {
          {109010, 30, -2, false}, {109011, 30, -2, true}, {kSlot0, 109010, -2, false}};
      for (std::uint32_t j = 1; j < 10; ++j) want.push_back({kSlot0 + j, 109010, -2, true});
      EXPECT_EQ(visibility, want);
      ASSERT_FALSE(changes.empty());
      EXPECT_TRUE(changes[0].isText());
      EXPECT_EQ(changes[0].id, kSlot0);
      EXPECT_EQ(changes[0].parent, action::kLinksMenu);
      EXPECT_EQ(changes[0].cnt, kNoContact);
      EXPECT_EQ(changes[0].text, "www.example.pl");
    } else {
      EXPECT_FALSE(menu.submenuShown);
      EXPECT_TRUE(menu.singleShown);
      EXPECT_EQ(menu.singleText, c.singleText);
      EXPECT_EQ(visibility,
                (std::vector<Visibility>{{109011, 30, -2, false}, {109010, 30, -2, true}}));
      ASSERT_FALSE(changes.empty());
      EXPECT_TRUE(changes[0].isText());
      EXPECT_EQ(changes[0].id, action::kSingleLinkItem);
      EXPECT_EQ(changes[0].parent, group::kContactMenu);
      EXPECT_EQ(changes[0].cnt, kNoContact);
      EXPECT_EQ(changes[0].text, c.singleText);
    }

    // Whichever item shows it, the link opened is entry 0 of the open forms.
    host.clearOpenedLinks();
    host.chooseMenuItem(7, c.expectSubmenu ? kSlot0 : action::kSingleLinkItem, false);
    EXPECT_EQ(host.openedLinks(), Strings{"http://www.Example.pl"});
  }
}

TEST_F(LinkMenuTest, ThreeLinksFillThreeSlotsInOrderAndHideTheRest) {
  host.addContact(3, kThreeLinks);
  const emu::ContactMenu menu = host.contactMenu(3);
  EXPECT_TRUE(menu.submenuShown);
  EXPECT_FALSE(menu.singleShown);
  EXPECT_EQ(menu.items, kThreeItems);
  EXPECT_EQ(menu.itemIds, (std::vector<std::uint32_t>{109012, 109013, 109014}));
  EXPECT_EQ(host.state().links.found().openLinks, kThreeOpen);

  const std::vector<Change> changes = changesOf(host);
  // Texts first, in slot order, then every status change.
  ASSERT_GE(changes.size(), 3u);
  for (std::uint32_t j = 0; j < 3; ++j) {
    EXPECT_TRUE(changes[j].isText());
    EXPECT_EQ(changes[j].id, kSlot0 + j);
    EXPECT_EQ(changes[j].parent, action::kLinksMenu);
    EXPECT_EQ(changes[j].cnt, kNoContact);
    EXPECT_EQ(changes[j].text, kThreeItems[j]);
  }
  for (std::size_t i = 3; i < changes.size(); ++i) EXPECT_TRUE(changes[i].isStatus());

  std::vector<Visibility> want = {{109010, 30, -2, false}, {109011, 30, -2, true}};
  for (std::uint32_t j = 0; j < 3; ++j) want.push_back({kSlot0 + j, 109010, -2, false});
  for (std::uint32_t j = 3; j < 10; ++j) want.push_back({kSlot0 + j, 109010, -2, true});
  EXPECT_EQ(visibilityChanges(host), want);

  // A change record carries only what its mask names.
  for (const emu::HostCall& call : host.callsTo(msg::kSetAction)) {
    ASSERT_EQ(call.record.size(), 74u);
    const Info info = infoOf(call);
    EXPECT_EQ(info.position, 0);
    EXPECT_EQ(info.param, 0u);
    EXPECT_EQ(info.width, 0u);
    if (info.mask == mask::kText) {
      EXPECT_EQ(info.statusMask, 0u);
    }
    if (info.mask == mask::kStatus) {
      EXPECT_EQ(info.text, 0u);
    }
  }
}

// Every host call of a preparation, in order, each change record byte by
// byte: the status read first, then 74-byte records carrying only what their
// mask names (the text pointer is compared through the text it points to).
TEST_F(LinkMenuTest, PreparationsSendExactlyTheseRecordsInThisOrder) {
  host.addContact(3, kThreeLinks);
  host.addContact(4, "nothing to see");
  host.addContact(5, "at www.Five.pl");
  host.openChat(5);

  // One expected host call: a read of a contact's status, or a change.
  struct Step {
    std::int32_t readContact;  // != 0: GetValue(1, contact, 18, text)
    std::uint32_t id, parent;
    std::int32_t cnt;
    std::uint32_t mask, status;
    std::string text;
  };
  auto read = [](std::int32_t contact) { return Step{contact, 0, 0, 0, 0, 0, ""}; };
  auto text = [](std::uint32_t id, std::uint32_t parent, std::int32_t cnt, std::string t) {
    return Step{0, id, parent, cnt, mask::kText, 0, std::move(t)};
  };
  auto visible = [](std::uint32_t id, std::uint32_t parent, std::int32_t cnt, bool shown) {
    return Step{0, id, parent, cnt, mask::kStatus, shown ? 0u : status::kHidden, ""};
  };

  std::vector<Step> fill = {read(3)};
  for (std::uint32_t j = 0; j < 3; ++j)
    fill.push_back(text(kSlot0 + j, 109010, -2, kThreeItems[j]));
  fill.push_back(visible(109010, 30, -2, true));
  fill.push_back(visible(109011, 30, -2, false));
  for (std::uint32_t j = 0; j < 10; ++j) fill.push_back(visible(kSlot0 + j, 109010, -2, j < 3));

  struct Case {
    const char* name;
    std::uint32_t id, parent;
    std::int32_t cnt;
    std::vector<Step> steps;
  } cases[] = {
      {"three links", 109010, 30, 3, fill},
      {"no link: hidden as named, then the single item",
       109010,
       30,
       4,
       {read(4), visible(109010, 30, 4, false), visible(109011, 30, -2, false)}},
      {"chat button: shown, then its text",
       109040,
       200,
       5,
       {read(5), visible(109040, 200, 5, true), text(109040, 200, 5, "http://www.Five.pl")}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    host.clearCalls();
    EXPECT_EQ(host.notify(c.id, c.parent, c.cnt, notify::kRefresh), 0);
    const std::vector<emu::HostCall>& calls = host.calls();
    ASSERT_EQ(calls.size(), c.steps.size());
    for (std::size_t i = 0; i < calls.size(); ++i) {
      SCOPED_TRACE("call " + std::to_string(i));
      const Step& s = c.steps[i];
      const emu::HostCall& call = calls[i];
      if (s.readContact != 0) {
        ASSERT_EQ(call.op, emu::HostCall::Op::GetValue);
        // Table 1, the contact's row, column 18, a text wanted, no buffer offered.
        EXPECT_EQ(call.args, (std::vector<std::int32_t>{1, s.readContact, 18, 1, 0, 0}));
        continue;
      }
      ASSERT_EQ(call.op, emu::HostCall::Op::SendToHost);
      EXPECT_EQ(test::maskPointer(call.message, 22), test::messageBytes(msg::kSetAction));

      const bool isText = s.mask == mask::kText;
      ASSERT_EQ(call.record.size(), 74u);
      if (isText) {
        EXPECT_NE(test::u32At(call.record, 50), 0u);
        EXPECT_EQ(call.text, s.text);
      }
      EXPECT_EQ(isText ? test::maskPointer(call.record, 50) : call.record,
                (test::ActionInfoBytes{74, s.id, s.parent, s.cnt, 0, s.mask, isText ? 0 : s.status,
                                       isText ? 0 : status::kHidden}
                     .bytes()));
    }
  }
}

std::string manyLinks(int count) {
  std::string status;
  for (int i = 1; i <= count; ++i) status += "www.l" + std::to_string(i) + ".pl ";
  return status;
}

TEST_F(LinkMenuTest, TenAndMoreLinksUseAtMostTheTenSlots) {
  struct Case {
    int links;
    int linkCount;  // as stored; loading takes it unchanged
    std::size_t shown;
  } cases[] = {{10, 10, 10}, {12, 10, 10}, {12, 15, 10}, {5, 2, 2}};
  std::int32_t contact = 100;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.links) + " links, count " + std::to_string(c.linkCount));
    ++contact;
    host.addContact(contact, manyLinks(c.links));
    host.setConfigInt(column::kLinkCount, c.linkCount);
    reload();
    host.clearCalls();
    const emu::ContactMenu menu = host.contactMenu(contact);
    Strings want;
    for (std::size_t i = 1; i <= c.shown; ++i) want.push_back("www.l" + std::to_string(i) + ".pl");
    EXPECT_EQ(menu.items, want);
    for (const Change& change : changesOf(host)) {
      EXPECT_LT(change.id, action::kLinkItemBase + 10) << "there is no eleventh slot";
    }
    std::size_t texts = 0;
    for (const Change& change : changesOf(host)) texts += change.isText() ? 1 : 0;
    EXPECT_EQ(texts, c.shown);
  }
}

TEST_F(LinkMenuTest, ALongerListThanTheSlotsFillsOnlyTheSlots) {
  std::vector<std::string> list;
  for (int i = 0; i < 12; ++i) list.push_back("1item" + std::to_string(i) + ".pl");
  host.clearCalls();
  fillLinksMenu(list, host.state().settings);
  std::vector<Change> texts;
  for (const Change& c : changesOf(host)) {
    if (c.isText()) texts.push_back(c);
  }
  ASSERT_EQ(texts.size(), 10u);
  for (std::uint32_t j = 0; j < 10; ++j) {
    EXPECT_EQ(texts[j].id, kSlot0 + j);
    EXPECT_EQ(texts[j].text, "www.item" + std::to_string(j) + ".pl");
  }
  std::vector<Visibility> want = {{109010, 30, -2, false}, {109011, 30, -2, true}};
  for (std::uint32_t j = 0; j < 10; ++j) want.push_back({kSlot0 + j, 109010, -2, false});
  EXPECT_EQ(visibilityChanges(host), want);
}

TEST_F(LinkMenuTest, PrepareAndRefreshAreHandledAlike) {
  host.addContact(3, kThreeLinks);
  for (std::uint32_t code : {notify::kPrepare, notify::kRefresh}) {
    SCOPED_TRACE(code);
    host.state().links.foundForTests().openLinks.clear();
    host.state().links.foundForTests().displayLinks.clear();
    host.clearCalls();
    EXPECT_EQ(host.notify(action::kLinksMenu, group::kContactMenu, 3, code), 0);
    EXPECT_EQ(host.state().links.found().openLinks, kThreeOpen);
    EXPECT_EQ(visibilityChanges(host).size(), 12u);
  }
}

// --- choosing an item -----------------------------------------------------

TEST_F(LinkMenuTest, ChoosingOpensTheEntryOfItsSlotAndNothingOutsideTheList) {
  host.addContact(3, kThreeLinks);
  ASSERT_EQ(host.contactMenu(3).items, kThreeItems);
  struct Case {
    std::uint32_t id;
    Strings opened;
  } cases[] = {
      {109011, {kThreeOpen[0]}},
      {109012, {kThreeOpen[0]}},
      {109013, {kThreeOpen[1]}},
      {109014, {kThreeOpen[2]}},
      {109015, {}},
      {109017, {}},
      {109021, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    host.clearOpenedLinks();
    host.clearClipboard();
    host.chooseMenuItem(3, c.id, false);
    EXPECT_EQ(host.openedLinks(), c.opened);
    EXPECT_TRUE(host.clipboardBytes().empty());
  }
  // The lists are those of the last preparation, whatever contact chooses.
  EXPECT_EQ(host.state().links.found().openLinks, kThreeOpen);
}

TEST_F(LinkMenuTest, ShiftCopiesTheOpenFormAndOpensNothing) {
  host.addContact(3, kThreeLinks);
  ASSERT_EQ(host.contactMenu(3).items, kThreeItems);

  host.chooseMenuItem(3, 109013, true);
  EXPECT_TRUE(host.openedLinks().empty());
  EXPECT_EQ(host.clipboardBytes(), clipboardText("http://www.Two.pl"));

  host.clearClipboard();
  host.chooseMenuItem(3, 109014, false);
  EXPECT_EQ(host.openedLinks(), Strings{"http://www.three.pl"});
  EXPECT_TRUE(host.clipboardBytes().empty()) << "without Shift nothing is copied";

  // Shift is read when the choice is handled, not when the menu was prepared.
  host.clearOpenedLinks();
  host.setShift(true);
  ASSERT_EQ(host.contactMenu(3).items, kThreeItems);
  host.setShift(false);
  host.notify(109012, action::kLinksMenu, 3, notify::kActivate);
  EXPECT_EQ(host.openedLinks(), Strings{"http://one.pl"});
  EXPECT_TRUE(host.clipboardBytes().empty());
}

TEST_F(LinkMenuTest, ChoosingOutsideTheListCopiesNothingEither) {
  host.addContact(3, kThreeLinks);
  ASSERT_EQ(host.contactMenu(3).items, kThreeItems);
  host.chooseMenuItem(3, 109017, true);
  EXPECT_TRUE(host.clipboardBytes().empty());
  EXPECT_TRUE(host.openedLinks().empty());

  // Lists emptied since the menu was prepared.
  host.state().links.foundForTests().openLinks.clear();
  host.state().links.foundForTests().displayLinks.clear();
  host.chooseMenuItem(3, 109012, false);
  host.chooseMenuItem(3, 109011, true);
  EXPECT_TRUE(host.openedLinks().empty());
  EXPECT_TRUE(host.clipboardBytes().empty());
}

TEST_F(LinkMenuTest, UseLinkAtChecksItsBound) {
  host.state().links.foundForTests().openLinks = {"http://a.pl", "http://b.pl"};
  host.state().links.foundForTests().displayLinks = {"0a.pl", "0b.pl"};
  struct Case {
    std::size_t index;
    bool copy;
    Strings opened;
    std::string copied;  // "" = nothing
  } cases[] = {
      {0, false, {"http://a.pl"}, ""},
      {1, false, {"http://b.pl"}, ""},
      {1, true, {}, "http://b.pl"},
      {2, false, {}, ""},
      {2, true, {}, ""},
      {static_cast<std::size_t>(-1), false, {}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.index) + (c.copy ? " copy" : " open"));
    host.clearOpenedLinks();
    host.clearClipboard();
    useLinkAt(host.state().links.found(), c.index, c.copy);
    EXPECT_EQ(host.openedLinks(), c.opened);
    if (c.copied.empty()) {
      EXPECT_TRUE(host.clipboardBytes().empty());
    } else {
      EXPECT_EQ(host.clipboardBytes(), clipboardText(c.copied));
    }
  }
  EXPECT_EQ(host.state().links.found().openLinks, (Strings{"http://a.pl", "http://b.pl"}));
}

TEST_F(LinkMenuTest, CodesOtherThanTheirOwnDoNothing) {
  host.addContact(3, kThreeLinks);
  ASSERT_EQ(host.contactMenu(3).items, kThreeItems);
  host.clearCalls();

  // Activate on the submenu itself; prepare, refresh and apply on a slot; an
  // unknown id; a code the plug-in does not know on the chat button.
  struct Case {
    std::uint32_t id, parent, code;
  } cases[] = {
      {action::kLinksMenu, group::kContactMenu, notify::kActivate},
      {109013, action::kLinksMenu, notify::kPrepare},
      {109013, action::kLinksMenu, notify::kRefresh},
      {109013, action::kLinksMenu, notify::kApply},
      {action::kSingleLinkItem, group::kContactMenu, notify::kPrepare},
      {109022, action::kLinksMenu, notify::kActivate},
      {109009, group::kContactMenu, notify::kActivate},
      {action::kChatLinkButton, group::kChatWindow, notify::kApply},
      {action::kChatLinkButton, group::kChatWindow, 11},
      {action::kLinksMenu, group::kContactMenu, 11},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.id) + " code " + std::to_string(c.code));
    host.setShift(true);
    EXPECT_EQ(host.notify(c.id, c.parent, 3, c.code), 0);
    host.setShift(false);
    EXPECT_EQ(host.notify(c.id, c.parent, 3, c.code), 0);
  }
  EXPECT_TRUE(host.openedLinks().empty());
  EXPECT_TRUE(host.clipboardBytes().empty());
  EXPECT_TRUE(host.callsTo(msg::kSetAction).empty());
  EXPECT_EQ(statusReads(host, 3), 0);
  EXPECT_EQ(host.state().links.found().openLinks, kThreeOpen);
  EXPECT_EQ(host.errorCount(), 0);
}

// --- the configuration page's notifications ------------------------------

TEST_F(LinkMenuTest, PageControlsGoToThePageWhateverTheirLowBytes) {
  host.addContact(3, kThreeLinks);
  // The first "default" button puts the default extra characters back.
  EXPECT_EQ(host.notify(action::kConfigControlBase | 109120, action::kConfigPage, kNoContact,
                        notify::kActivate),
            0);
  const std::vector<emu::HostCall> values = host.callsTo(msg::kSetActionValue);
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(infoOf(values[0]).id, action::kConfigControlBase | 109119);
  EXPECT_EQ(values[0].text, ",.%&=@-");

  // A page id whose low bytes equal the submenu's is not the submenu.
  host.clearCalls();
  EXPECT_EQ(host.notify(action::kConfigControlBase | action::kLinksMenu, group::kContactMenu, 3,
                        notify::kPrepare),
            0);
  EXPECT_EQ(statusReads(host, 3), 0);
  EXPECT_TRUE(host.callsTo(msg::kSetAction).empty());
}

TEST_F(LinkMenuTest, ApplyOnThePageTakesTheValuesOverOnlyWhenThePageExists) {
  host.clearCalls();
  EXPECT_EQ(host.notify(action::kConfigPage, group::kConfigPages, kNoContact, notify::kApply), 0);
  const std::vector<emu::HostCall> handles = host.callsTo(msg::kGetActionHandle);
  ASSERT_GE(handles.size(), 1u);
  EXPECT_EQ(handles[0].record, RecordBuilder{}.u32(109101).u32(46).i32(-2).bytes);
  EXPECT_NE(handles[0].result, 0);
  EXPECT_FALSE(host.callsTo(msg::kGetActionValue).empty()) << "the page's values were read";

  for (std::uint32_t code : {notify::kActivate, notify::kPrepare, notify::kRefresh}) {
    SCOPED_TRACE(code);
    host.clearCalls();
    EXPECT_EQ(host.notify(action::kConfigPage, group::kConfigPages, kNoContact, code), 0);
    EXPECT_TRUE(host.callsTo(msg::kGetActionHandle).empty());
    EXPECT_TRUE(host.callsTo(msg::kGetActionValue).empty());
  }
}

TEST(LinkActionsPage, ApplyWithoutThePageReadsNothing) {
  test::InProcessHost host;
  // Start without the user-interface message: the page does not exist.
  ASSERT_EQ(host.send(msg::kInit, ptrValue(static_cast<IHost*>(&host))), 1);
  ASSERT_EQ(host.send(msg::kRegisterColumns), 1);
  ASSERT_EQ(host.send(msg::kLoadSettings), 1);
  ASSERT_FALSE(host.pageInserted());
  host.clearCalls();
  EXPECT_EQ(host.notify(action::kConfigPage, group::kConfigPages, kNoContact, notify::kApply), 0);
  const std::vector<emu::HostCall> handles = host.callsTo(msg::kGetActionHandle);
  ASSERT_EQ(handles.size(), 1u);
  EXPECT_EQ(handles[0].result, 0);
  EXPECT_TRUE(host.callsTo(msg::kGetActionValue).empty());
}

// --- the chat button ------------------------------------------------------

TEST_F(LinkMenuTest, ChatButtonShowsTheWholeFirstLinkOrIsHidden) {
  host.setConfigInt(column::kDisplayLength, 5);  // never applies to the button
  reload();
  struct Case {
    const char* name;
    std::string status;
    bool nullStatus;
    bool settingOn;
    bool shown;
    std::string text;
  } cases[] = {
      {"link", "at www.Example.pl/Long/Path and www.b.pl", false, true, true,
       "http://www.Example.pl/Long/Path"},
      {"no link", "just words", false, true, false, ""},
      {"empty status", "", false, true, false, ""},
      {"null status", "", true, true, false, ""},
      {"setting off", "at www.Example.pl", false, false, false, ""},
  };
  std::int32_t contact = 20;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ++contact;
    host.addContact(contact, c.status);
    if (c.nullStatus) host.setNullStatus(contact);
    host.openChat(contact);
    host.setConfigInt(column::kShowInChatWindow, c.settingOn ? 1 : 0);
    reload();
    host.clearCalls();
    const emu::ChatButton button = host.chatButton(contact);
    EXPECT_EQ(button.shown, c.shown);
    if (c.shown) {
      EXPECT_EQ(button.text, c.text);
    }
    // Every change is addressed to the button as the host named it.
    const std::vector<Change> changes = changesOf(host);
    ASSERT_FALSE(changes.empty());
    for (const Change& change : changes) {
      EXPECT_EQ(change.id, action::kChatLinkButton);
      EXPECT_EQ(change.parent, group::kChatWindow);
      EXPECT_EQ(change.cnt, contact);
    }
    if (c.shown) {
      ASSERT_EQ(changes.size(), 2u);
      EXPECT_TRUE(changes[0].isStatus()) << "shown first";
      EXPECT_EQ(changes[0].status, 0u);
      EXPECT_TRUE(changes[1].isText());
      EXPECT_EQ(changes[1].text, c.text);
    } else {
      ASSERT_EQ(changes.size(), 1u);
      EXPECT_TRUE(changes[0].isStatus());
      EXPECT_EQ(changes[0].status, status::kHidden);
    }
    EXPECT_EQ(statusReads(host, contact), c.settingOn ? 1 : 0);
    // The link lists are not the button's.
    EXPECT_TRUE(host.state().links.found().openLinks.empty());
  }
}

TEST_F(LinkMenuTest, ChatButtonTakesTheAttachedStatusOnlyWithTheMarker) {
  host.addContact(5, "host says www.Host.pl");
  host.openChat(5);
  static const char kAttached[] = "new www.Attached.pl";

  struct Case {
    const char* name;
    std::uint16_t size;
    std::uint32_t p1;
    std::uint32_t p2;
    bool asksHost;
    bool shown;
    std::string text;
  } cases[] = {
      {"marker", 30, ptrValue(kAttached), 1234, false, true, "http://www.Attached.pl"},
      {"marker, no text", 30, 0, 1234, false, false, ""},
      {"other p2", 30, ptrValue(kAttached), 1235, true, true, "http://www.Host.pl"},
      {"no p2", 30, ptrValue(kAttached), 0, true, true, "http://www.Host.pl"},
      {"short record", 29, ptrValue(kAttached), 1234, true, true, "http://www.Host.pl"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ActionNotify record{};
    record.size = c.size;
    record.id = action::kChatLinkButton;
    record.parent = group::kChatWindow;
    record.cnt = 5;
    record.code = notify::kRefresh;
    record.p1 = c.p1;
    record.p2 = c.p2;
    host.clearCalls();
    EXPECT_EQ(host.send(msg::kActionNotify, ptrValue(&record)), 0);
    EXPECT_EQ(statusReads(host, 5), c.asksHost ? 1 : 0);
    test::expectChatButton(host, 5, c.shown, c.text);
  }
}

TEST_F(LinkMenuTest, ClickingTheChatButtonOpensOrCopiesTheFirstLink) {
  host.addContact(5, "see http://First.pl/A and www.second.pl");
  host.openChat(5);
  static const char kAttached[] = "www.attached.pl";
  struct Case {
    const char* name;
    bool shift;
    std::uint32_t p1, p2;
    Strings opened;
    std::string copied;
  } cases[] = {
      {"open", false, 0, 0, {"http://First.pl/A"}, ""},
      {"copy", true, 0, 0, {}, "http://First.pl/A"},
      {"the marker is not consulted", false, ptrValue(kAttached), 1234, {"http://First.pl/A"}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    host.clearOpenedLinks();
    host.clearClipboard();
    host.clearCalls();
    host.setShift(c.shift);
    EXPECT_EQ(
        host.notify(action::kChatLinkButton, group::kChatWindow, 5, notify::kActivate, c.p1, c.p2),
        0);
    host.setShift(false);
    EXPECT_EQ(host.openedLinks(), c.opened);
    if (c.copied.empty()) {
      EXPECT_TRUE(host.clipboardBytes().empty());
    } else {
      EXPECT_EQ(host.clipboardBytes(), clipboardText(c.copied));
    }
    EXPECT_EQ(statusReads(host, 5), 1);
    EXPECT_TRUE(host.callsTo(msg::kSetAction).empty()) << "a click changes no action";
    EXPECT_TRUE(host.state().links.found().openLinks.empty()) << "the lists are not touched";
  }

  // Through the emulator's own click as well.
  host.clearOpenedLinks();
  host.clickChatButton(5, false);
  EXPECT_EQ(host.openedLinks(), Strings{"http://First.pl/A"});
}

TEST_F(LinkMenuTest, ClickingTheChatButtonWithoutALinkDoesNothing) {
  host.addContact(6, "nothing here");
  host.addContact(8, "");
  host.addContact(9, "x");
  host.setNullStatus(9);
  for (std::int32_t contact : {6, 8, 9}) {
    SCOPED_TRACE(contact);
    host.openChat(contact);
    for (bool shift : {false, true}) {
      host.clickChatButton(contact, shift);
      EXPECT_TRUE(host.openedLinks().empty());
      EXPECT_TRUE(host.clipboardBytes().empty());
    }
  }
  // The setting governs only what the button shows, not a click on it.
  host.addContact(4, "www.still.pl");
  host.setConfigInt(column::kShowInChatWindow, 0);
  reload();
  host.openChat(4);
  host.clickChatButton(4, false);
  EXPECT_EQ(host.openedLinks(), Strings{"http://www.still.pl"});
}

// --- shortening of menu texts ---------------------------------------------

TEST_F(LinkMenuTest, MenuTextsAreShortenedToTheDisplayLengthButNeverTheOpenedLink) {
  // 18-byte display forms: "www.abcdefghij.pl" is 17, "www.abcdefghijk.pl" 18.
  host.addContact(2, "x www.abcdefghijk.pl y http://Short.pl z www.abcdefghij.pl");
  host.addContact(3, "only www.Abcdefghijk.pl");
  host.openChat(3);
  const std::string ell(1, '\x85');
  struct Case {
    int displayLength;
    Strings items;
    std::string single;
  } cases[] = {
      {0, {"www.abcdefghijk.pl", "short.pl", "www.abcdefghij.pl"}, "www.abcdefghijk.pl"},
      {-3, {"www.abcdefghijk.pl", "short.pl", "www.abcdefghij.pl"}, "www.abcdefghijk.pl"},
      {18, {"www.abcdefghijk.pl", "short.pl", "www.abcdefghij.pl"}, "www.abcdefghijk.pl"},
      {17, {"www.abcdefghijk." + ell, "short.pl", "www.abcdefghij.pl"}, "www.abcdefghijk." + ell},
      {8, {"www.abc" + ell, "short.pl", "www.abc" + ell}, "www.abc" + ell},
      {1, {ell, ell, ell}, ell},
  };
  host.setConfigInt(column::kShowSingleLinkName, 1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.displayLength);
    host.setConfigInt(column::kDisplayLength, c.displayLength);
    reload();
    EXPECT_EQ(host.contactMenu(2).items, c.items);
    for (const std::string& item : c.items) {
      if (c.displayLength > 0) {
        EXPECT_LE(item.size(), static_cast<std::size_t>(c.displayLength));
      }
    }
    const emu::ContactMenu single = host.contactMenu(3);
    ASSERT_TRUE(single.singleShown);
    EXPECT_EQ(single.singleText, c.single);

    // What is opened, copied and shown on the chat button stays whole.
    host.clearOpenedLinks();
    host.clearClipboard();
    host.chooseMenuItem(3, action::kSingleLinkItem, false);
    EXPECT_EQ(host.openedLinks(), Strings{"http://www.Abcdefghijk.pl"});
    host.chooseMenuItem(3, action::kSingleLinkItem, true);
    EXPECT_EQ(host.clipboardBytes(), clipboardText("http://www.Abcdefghijk.pl"));
    EXPECT_EQ(host.chatButton(3).text, "http://www.Abcdefghijk.pl");
  }

  // "Link" is no link name: it is never shortened.
  host.setConfigInt(column::kShowSingleLinkName, 0);
  host.setConfigInt(column::kDisplayLength, 2);
  reload();
  EXPECT_EQ(host.contactMenu(3).singleText, "Link");
}

}  // namespace
}  // namespace brisko
