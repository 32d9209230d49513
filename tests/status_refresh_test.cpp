// Refreshing the chat buttons: after a contact's status change (24011) and
// after the settings are taken over from the configuration page.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "emulator/host_emulator.h"
#include "host/ids.h"
#include "host/records.h"
#include "menu/status_refresh.h"
#include "plugin/plugin_state.h"
#include "settings/columns.h"
#include "tests/support/emulator_calls.h"
#include "tests/support/in_process.h"
#include "tests/support/record_bytes.h"

namespace brisko {
namespace {

using test::Bytes;
using test::statusReads;

// The notification a refresh sends, byte by byte.
Bytes refreshRecord(std::int32_t contact, std::uint32_t p1, std::uint32_t p2) {
  return test::notifyBytes(109040, 200, contact, 12, p1, p2);
}

// The chat-window questions ({3, 0, c}) the plug-in asked, as contact ids.
std::vector<std::int32_t> chatWindowQuestions(const emu::HostEmulator& host) {
  std::vector<std::int32_t> contacts;
  for (const emu::HostCall& call : host.callsTo(msg::kGetActionHandle)) {
    EXPECT_EQ(call.record.size(), 12u);
    const ActionRef ref = test::recordOf<ActionRef>(call.record);
    if (ref.id == group::kChatWindowAction && ref.parent == 0)
      contacts.push_back(static_cast<std::int32_t>(ref.cnt));
  }
  return contacts;
}

class StatusRefreshTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::recordOpenings();
    ASSERT_TRUE(host.startUp());
    host.clearCalls();
  }
  test::InProcessHost host;
};

// --- status change --------------------------------------------------------

TEST_F(StatusRefreshTest, ClosedChatWindowGetsNothing) {
  host.addContact(7, "old www.old.pl");
  host.clearCalls();
  EXPECT_EQ(host.changeStatus(7, "new www.new.pl"), 0);
  EXPECT_EQ(chatWindowQuestions(host), std::vector<std::int32_t>{7});
  EXPECT_TRUE(host.callsTo(msg::kCallAction).empty());
  EXPECT_TRUE(host.callsTo(msg::kSetAction).empty());
  EXPECT_EQ(host.deliveredNotifies(), 0);
}

TEST_F(StatusRefreshTest, OpenChatWindowGetsOneRefreshCarryingTheNewText) {
  host.addContact(7, "old www.Old.pl");
  host.openChat(7);
  ASSERT_EQ(host.chatButton(7).text, "http://www.Old.pl");

  struct Case {
    std::string status;
    bool shown;
    std::string text;
  } cases[] = {
      {"now see http://New.pl/Page and www.x.pl", true, "http://New.pl/Page"},
      {"no link any more", false, ""},
      {"back at www.Again.pl", true, "http://www.Again.pl"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.status);
    host.clearCalls();
    EXPECT_EQ(host.changeStatus(7, c.status), 0);
    const std::vector<emu::HostCall> sent = host.callsTo(msg::kCallAction);
    ASSERT_EQ(sent.size(), 1u);
    ASSERT_EQ(sent[0].record.size(), 30u);
    const std::uint32_t p1 = test::u32At(sent[0].record, 22);
    EXPECT_NE(p1, 0u);
    EXPECT_EQ(sent[0].record, refreshRecord(7, p1, 1234));
    EXPECT_EQ(sent[0].text, c.status) << "p1 points to the new status text";
    // The message itself: 10103 with the record in p1, p2 0.
    EXPECT_EQ(test::maskPointer(sent[0].message, 22), test::messageBytes(msg::kCallAction));

    // The button took the text from the notification, not from the host.
    EXPECT_EQ(statusReads(host, 7), 0);
    test::expectChatButton(host, 7, c.shown, c.text);
  }
}

TEST_F(StatusRefreshTest, StatusChangesWithoutTextOrContactAreIgnored) {
  host.addContact(7, "www.a.pl");
  host.openChat(7);
  static const char kText[] = "www.b.pl";
  struct Case {
    const char* name;
    std::uint32_t contact;
    std::uint32_t p3;
  } cases[] = {
      {"no text", 7, 0},
      {"contact 0", 0, ptrValue(kText)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HostMessageEx message{};
    message.base.size = kHostMessageExSize;
    message.base.id = msg::kStatusChange;
    message.base.p1 = c.contact;
    message.p3 = c.p3;
    host.clearCalls();
    EXPECT_EQ(host.sendRecord(&message.base), 0);
    EXPECT_TRUE(host.callsTo(msg::kGetActionHandle).empty());
    EXPECT_TRUE(host.callsTo(msg::kCallAction).empty());
  }
  EXPECT_EQ(host.errorCount(), 0);
}

TEST_F(StatusRefreshTest, OnStatusChangeAnswersZeroInEveryPath) {
  host.addContact(7, "www.a.pl");
  static const char kText[] = "www.b.pl";
  HostMessageEx message{};
  message.base.size = kHostMessageExSize;
  message.base.id = msg::kStatusChange;
  message.base.p1 = 7;
  message.p3 = ptrValue(kText);
  EXPECT_EQ(onStatusChange(message), 0);  // closed
  host.openChat(7);
  host.clearCalls();
  EXPECT_EQ(onStatusChange(message), 0);  // open
  EXPECT_EQ(host.callsTo(msg::kCallAction).size(), 1u);
  EXPECT_EQ(host.readChatButton(7).text, "http://www.b.pl");
}

TEST_F(StatusRefreshTest, WithTheSettingOffTheRefreshHidesTheButton) {
  host.addContact(7, "www.a.pl");
  host.openChat(7);
  ASSERT_TRUE(host.chatButton(7).shown);
  host.setConfigInt(column::kShowInChatWindow, 0);
  ASSERT_EQ(host.send(msg::kLoadSettings), 1);
  host.clearCalls();
  host.changeStatus(7, "www.b.pl");
  EXPECT_EQ(host.callsTo(msg::kCallAction).size(), 1u) << "the refresh is still sent";
  EXPECT_FALSE(host.readChatButton(7).shown);
}

// --- contact list and settings refresh -----------------------------------

TEST_F(StatusRefreshTest, ContactListSkipsRowsAnsweringMinusOne) {
  struct Case {
    const char* name;
    std::vector<std::int32_t> rows;  // -1 = a broken row
    std::vector<std::int32_t> ids;
  } cases[] = {
      {"none", {}, {}},
      {"only broken", {-1, -1}, {}},
      {"mixed", {4, -1, 9, -1, 2}, {4, 9, 2}},
      {"broken first and last", {-1, 5, -1}, {5}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::InProcessHost fresh;
    ASSERT_TRUE(fresh.startUp());
    for (std::int32_t row : c.rows) {
      if (row == -1) {
        fresh.addBrokenRow();
      } else {
        fresh.addContact(row, "");
      }
    }
    fresh.clearCalls();
    EXPECT_EQ(listContactIds(), c.ids);
    // One count and one question per row, in order.
    ASSERT_EQ(fresh.callsTo(msg::kGetContactCount).size(), 1u);
    std::vector<std::int32_t> indexes;
    for (const emu::HostCall& call : fresh.calls()) {
      if (call.op == emu::HostCall::Op::GetRowId) {
        ASSERT_GE(call.args.size(), 2u);
        EXPECT_EQ(call.args[0], kContactTable);
        indexes.push_back(call.args[1]);
      }
    }
    std::vector<std::int32_t> want;
    for (std::size_t i = 0; i < c.rows.size(); ++i) want.push_back(static_cast<std::int32_t>(i));
    EXPECT_EQ(indexes, want);
    // GetContactCount is message 201 with hdr3 -1.
    const emu::HostCall count = fresh.callsTo(msg::kGetContactCount)[0];
    EXPECT_EQ(count.message, test::messageBytes(201, 0, 0, 0xFFFFFFFF));
  }
}

// Every listed contact is asked about, and every open window refreshed once,
// whatever the order.
TEST_F(StatusRefreshTest, RefreshSendsToEveryOpenChatWindow) {
  host.addContact(4, "www.four.pl");
  host.addBrokenRow();
  host.addContact(9, "www.nine.pl");
  host.addContact(2, "www.Two.pl");
  host.addContact(6, "no link");
  host.openChat(2);
  host.openChat(4);
  host.openChat(6);
  host.clearCalls();

  refreshChatButtons();

  std::vector<std::int32_t> asked = chatWindowQuestions(host);
  std::sort(asked.begin(), asked.end());
  EXPECT_EQ(asked, (std::vector<std::int32_t>{2, 4, 6, 9}));
  std::vector<emu::HostCall> sent = host.callsTo(msg::kCallAction);
  std::sort(sent.begin(), sent.end(), [](const emu::HostCall& a, const emu::HostCall& b) {
    return static_cast<std::int32_t>(test::u32At(a.record, 10)) <
           static_cast<std::int32_t>(test::u32At(b.record, 10));
  });
  ASSERT_EQ(sent.size(), 3u);
  const std::int32_t contacts[] = {2, 4, 6};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(static_cast<std::int32_t>(test::u32At(sent[i].record, 10)), contacts[i]);
    EXPECT_EQ(sent[i].record, refreshRecord(contacts[i], 0, 0));
  }
  // Without the marker, each button read its contact's status from the host.
  EXPECT_EQ(statusReads(host, 4), 1);
  EXPECT_EQ(statusReads(host, 2), 1);
  EXPECT_EQ(statusReads(host, 9), 0);
  EXPECT_EQ(host.readChatButton(4).text, "http://www.four.pl");
  EXPECT_EQ(host.readChatButton(2).text, "http://www.Two.pl");
  EXPECT_FALSE(host.readChatButton(6).shown);
}

TEST_F(StatusRefreshTest, RefreshWithoutContactsSendsNothing) {
  refreshChatButtons();
  EXPECT_TRUE(host.callsTo(msg::kGetActionHandle).empty());
  EXPECT_TRUE(host.callsTo(msg::kCallAction).empty());
  EXPECT_EQ(host.callsTo(msg::kGetContactCount).size(), 1u);
}

// Taking the page over refreshes the open chat windows as the chat-window
// setting moves.
TEST_F(StatusRefreshTest, ApplyingThePageRefreshesByTheChatWindowSetting) {
  host.addContact(3, "www.Three.pl");
  host.addContact(5, "www.five.pl");
  host.openChat(3);
  ASSERT_TRUE(host.chatButton(3).shown);
  host.showPage();

  struct Case {
    const char* name;
    const char* value;  // the check box as the user leaves it
    std::size_t refreshes;
    bool shown;
  } cases[] = {
      {"on to off", "0", 1, false},
      {"off stays off", "0", 0, false},
      {"off to on", "1", 1, true},
      {"on stays on", "1", 1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    host.setControlValue(column::kShowInChatWindow, c.value);
    host.clearCalls();
    EXPECT_EQ(host.applyPage(), 0);
    EXPECT_EQ(host.callsTo(msg::kCallAction).size(), c.refreshes);
    for (const emu::HostCall& call : host.callsTo(msg::kCallAction)) {
      EXPECT_EQ(call.record, refreshRecord(3, 0, 0));
    }
    EXPECT_EQ(host.readChatButton(3).shown, c.shown);
    EXPECT_EQ(host.state().settings.showInChatWindow, c.shown);
  }
}

TEST_F(StatusRefreshTest, ChangedSearchSettingsReachTheButtonAtOnce) {
  // The regular expression finds a bare domain the author's scanner does not.
  host.addContact(3, "see example.com today");
  host.openChat(3);
  ASSERT_FALSE(host.chatButton(3).shown);
  host.showPage();
  host.clickControl(109128);  // "by regular expression"
  host.clearCalls();
  host.applyPage();
  ASSERT_TRUE(host.state().settings.useRegex);
  EXPECT_EQ(host.callsTo(msg::kCallAction).size(), 1u);
  const emu::ChatButton button = host.readChatButton(3);
  EXPECT_TRUE(button.shown);
  EXPECT_EQ(button.text, "http://example.com");
}

}  // namespace
}  // namespace brisko
