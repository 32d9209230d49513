// The entry point's message dispatch, driven directly, with the emulator as the host object.
#include "plugin/dispatch.h"

#include <gtest/gtest.h>

#include <new>
#include <optional>
#include <vector>

#include "emulator/host_emulator.h"
#include "host/host_calls.h"
#include "host/ids.h"
#include "plugin/plugin_state.h"
#include "plugin/version.h"
#include "tests/support/record_bytes.h"

namespace brisko {
namespace {

using Host = emu::HostEmulator;  // a host object only: messages reach the plug-in directly
using Op = emu::HostCall::Op;

// The codes the plug-in reported with SetError, in order.
std::vector<std::int32_t> errors(const Host& host) {
  std::vector<std::int32_t> codes;
  for (const emu::HostCall& call : host.callsOf(Op::SetError)) codes.push_back(call.args.at(0));
  return codes;
}

HostMessage makeMessage(std::uint32_t id, std::uint32_t p1 = 0, std::uint32_t p2 = 0,
                        std::uint16_t size = kHostMessageSize) {
  HostMessage m{};
  m.size = size;
  m.id = id;
  m.p1 = p1;
  m.p2 = p2;
  return m;
}

int sendMessage(std::uint32_t id, std::uint32_t p1 = 0, std::uint32_t p2 = 0,
                std::uint16_t size = kHostMessageSize) {
  HostMessage m = makeMessage(id, p1, p2, size);
  return handleMessage(&m);
}

class DispatchTest : public ::testing::Test {
 protected:
  void TearDown() override { sendMessage(msg::kShutdown); }
  void start(IHost& host) { ASSERT_EQ(sendMessage(msg::kInit, ptrValue(&host)), 1); }
};

TEST_F(DispatchTest, IdentificationQueriesNeedNoState) {
  struct Case {
    std::uint32_t id;
    int answer;
  } cases[] = {{30010, 109}, {30011, 20}, {30017, 0}, {20020, 2}, {22101, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    EXPECT_EQ(sendMessage(c.id), c.answer);
    EXPECT_EQ(sendMessage(c.id, 0, 0, 29), c.answer) << "a short record is read for its id";
  }
  EXPECT_EQ(currentPluginState(), nullptr);
}

TEST_F(DispatchTest, TextQueriesAnswerStaticTexts) {
  struct Case {
    std::uint32_t id;
    const char* text;
  } cases[] = {{30012, BRISKO_VERSION_TEXT}, {30013, "Brisko"}, {30016, "Brisko"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    const char* first = valuePtr<const char>(static_cast<std::uint32_t>(sendMessage(c.id)));
    ASSERT_NE(first, nullptr);
    EXPECT_STREQ(first, c.text);
    const char* second = valuePtr<const char>(static_cast<std::uint32_t>(sendMessage(c.id)));
    EXPECT_EQ(first, second) << "the same static text every time";
    EXPECT_STREQ(first, c.text) << "still readable after the call";
  }
}

TEST_F(DispatchTest, IdentificationQueriesMakeNoHostCallWhileRunning) {
  Host host;
  start(host);
  for (std::uint32_t id : {30010u, 30011u, 30012u, 30013u, 30016u, 30017u, 20020u, 22101u}) {
    sendMessage(id);
  }
  EXPECT_TRUE(host.calls().empty()) << "no call at all, SetError included";
}

TEST_F(DispatchTest, InitKeepsHostAndCreatesOneState) {
  Host host;
  EXPECT_EQ(currentPluginState(), nullptr);
  start(host);
  EXPECT_EQ(host::current(), &host);
  PluginState* state = currentPluginState();
  ASSERT_NE(state, nullptr);
  EXPECT_EQ(state->settings.linkCount, 4) << "built-in defaults until settings are loaded";

  EXPECT_EQ(sendMessage(msg::kShutdown), 1);
  EXPECT_EQ(host::current(), nullptr);
  EXPECT_EQ(currentPluginState(), nullptr);
  EXPECT_TRUE(host.calls().empty()) << "starting and stopping ask the host nothing";
}

TEST_F(DispatchTest, SecondInitReplacesHostAndState) {
  Host first;
  Host second;
  start(first);
  currentPluginState()->settings.linkCount = 9;
  start(second);
  EXPECT_EQ(host::current(), &second);
  ASSERT_NE(currentPluginState(), nullptr);
  EXPECT_EQ(currentPluginState()->settings.linkCount, 4) << "a fresh object";
  EXPECT_TRUE(first.calls().empty());
  EXPECT_TRUE(second.calls().empty());
}

TEST_F(DispatchTest, InitWithoutParametersOrObjectIsIgnored) {
  Host host;
  EXPECT_EQ(sendMessage(msg::kInit, ptrValue(&host), 0, 29), 0);
  EXPECT_EQ(sendMessage(msg::kInit, 0), 0);
  EXPECT_EQ(currentPluginState(), nullptr);
  EXPECT_EQ(host::current(), nullptr);
  EXPECT_TRUE(host.calls().empty());
}

TEST_F(DispatchTest, ShutdownWithoutInitAnswersOne) {
  EXPECT_EQ(sendMessage(msg::kShutdown), 1);
  EXPECT_EQ(sendMessage(msg::kShutdown), 1);
  EXPECT_EQ(currentPluginState(), nullptr);
}

// Ids outside the table, including the unanswered ones among the
// identification queries (30014, 30015) and the plug-in's own outgoing
// message numbers.
constexpr std::uint32_t kUnknownIds[] = {12345, 0,     30014, 30015, 30018,
                                         20003, 22201, 24010, 10101, 0xFFFFFFFF};

TEST_F(DispatchTest, UnknownIdIsReportedOnceWithCodeOne) {
  Host host;
  start(host);
  for (std::uint32_t id : kUnknownIds) {
    SCOPED_TRACE(id);
    host.clearCalls();
    EXPECT_EQ(sendMessage(id), 0);
    EXPECT_EQ(errors(host), std::vector<std::int32_t>{1});
    EXPECT_EQ(host.calls().size(), 1u) << "SetError alone";
  }
  host.clearCalls();
  EXPECT_EQ(sendMessage(12345, 0, 0, 10), 0) << "a short record is still read for its id";
  EXPECT_EQ(errors(host), std::vector<std::int32_t>{1});
  EXPECT_EQ(host.calls().size(), 1u);
  EXPECT_EQ(host::current(), &host) << "an unknown id touches neither reference";
  EXPECT_NE(currentPluginState(), nullptr);
}

TEST_F(DispatchTest, UnknownIdBeforeInitMakesNoCall) {
  for (std::uint32_t id : kUnknownIds) {
    SCOPED_TRACE(id);
    EXPECT_EQ(sendMessage(id), 0);
  }
  EXPECT_EQ(host::current(), nullptr);
  EXPECT_EQ(currentPluginState(), nullptr);
}

// A 20001 without an interface object while running changes nothing.
TEST_F(DispatchTest, InitWithoutParameterWhileRunningKeepsHostAndState) {
  Host host;
  start(host);
  PluginState* state = currentPluginState();
  state->settings.linkCount = 9;
  EXPECT_EQ(sendMessage(msg::kInit, 0), 0);
  EXPECT_EQ(sendMessage(msg::kInit, ptrValue(&host), 0, 29), 0);
  EXPECT_EQ(host::current(), &host);
  EXPECT_EQ(currentPluginState(), state);
  EXPECT_EQ(state->settings.linkCount, 9);
  EXPECT_TRUE(host.calls().empty());
}

TEST_F(DispatchTest, MessagesNeedingStateAreIgnoredWithoutIt) {
  for (std::uint32_t id : {21001u, 22000u, 22100u, 22200u, 24011u}) {
    SCOPED_TRACE(id);
    EXPECT_EQ(sendMessage(id), 0);
  }
  // After a shutdown as well: the host reference is gone, so no call can happen.
  Host host;
  start(host);
  sendMessage(msg::kShutdown);
  for (std::uint32_t id : {21001u, 22000u, 22100u, 22200u}) EXPECT_EQ(sendMessage(id), 0);
  EXPECT_TRUE(host.calls().empty());
}

TEST_F(DispatchTest, HandlersAnswerOne) {
  Host host;
  start(host);
  EXPECT_EQ(sendMessage(msg::kRegisterColumns), 1);
  EXPECT_EQ(sendMessage(msg::kBuildUserInterface), 1);
  EXPECT_EQ(sendMessage(msg::kLoadSettings), 1);
  EXPECT_TRUE(errors(host).empty());
}

TEST_F(DispatchTest, ActionNotifyWithoutRecordIsIgnored) {
  Host host;
  start(host);
  EXPECT_EQ(sendMessage(msg::kActionNotify, 0), 0);
  ActionNotify notify{};
  notify.size = kActionNotifySize;
  notify.id = 999999;  // no action of ours: nothing happens
  EXPECT_EQ(sendMessage(msg::kActionNotify, ptrValue(&notify), 0, 29), 0);
  EXPECT_EQ(sendMessage(msg::kActionNotify, ptrValue(&notify)), 0);
  EXPECT_TRUE(host.calls().empty());
}

// 24011 must carry its third parameter: 34 bytes are accepted, 33 are a
// record too short for the message, answered 0 and reported, never thrown.
TEST_F(DispatchTest, StatusChangeSizeBoundary) {
  Host host;
  start(host);
  const char status[] = "www.example.pl";
  test::Bytes raw = test::statusChangeBytes(34, 7, status, 40);
  HostMessage* m = reinterpret_cast<HostMessage*>(raw.data());

  // A chat window closed for contact 7: accepted, nothing sent.
  m->size = 34;
  EXPECT_EQ(handleMessage(m), 0);
  m->size = 40;
  EXPECT_EQ(handleMessage(m), 0);
  EXPECT_TRUE(errors(host).empty());

  host.clearCalls();
  m->size = 33;
  EXPECT_EQ(handleMessage(m), 0);
  EXPECT_EQ(errors(host), std::vector<std::int32_t>{1});
  EXPECT_TRUE(host.callsOf(Op::SendToHost).empty());
}

// The handler gets a 34-byte copy with its size rewritten; the chat-window
// query shows it ran with the contact from p1.
TEST_F(DispatchTest, StatusChangeReachesHandlerWithContact) {
  Host host;
  start(host);
  const char status[] = "x";
  test::Bytes raw = test::statusChangeBytes(34, 77, status);
  EXPECT_EQ(handleMessage(reinterpret_cast<HostMessage*>(raw.data())), 0);
  std::vector<std::uint32_t> askedContacts;
  for (const emu::HostCall& call : host.callsTo(msg::kGetActionHandle)) {
    askedContacts.push_back(test::u32At(call.record, 8));  // cnt
  }
  EXPECT_EQ(askedContacts, std::vector<std::uint32_t>{77});
}

// The copy handed to the handler carries p3: the new status text reaches the
// chat button's refresh, whatever the incoming record's size beyond 34.
TEST_F(DispatchTest, StatusChangeCopyCarriesTheStatusText) {
  Host host;
  host.answerWith(msg::kGetActionHandle, 1);  // the chat window is open
  start(host);
  const char status[] = "nowy www.example.pl";
  for (std::uint16_t size : {std::uint16_t{34}, std::uint16_t{48}}) {
    SCOPED_TRACE(size);
    host.clearCalls();
    // Bytes beyond 34 are not the handler's.
    test::Bytes raw = test::statusChangeBytes(size, 12, status, 48, 0xEE);
    EXPECT_EQ(handleMessage(reinterpret_cast<HostMessage*>(raw.data())), 0);
    const auto refreshes = host.callsTo(msg::kCallAction);
    ASSERT_EQ(refreshes.size(), 1u);
    EXPECT_EQ(refreshes[0].record, test::notifyBytes(action::kChatLinkButton, group::kChatWindow,
                                                     12, notify::kRefresh, ptrValue(status), 1234));
    EXPECT_TRUE(errors(host).empty());
  }
}

// Nothing thrown inside a handler crosses into the host.
TEST_F(DispatchTest, ExceptionsInHandlersBecomeSetError) {
  Host host;
  start(host);
  host.hooks().sendToHost = [](HostMessage&) -> std::optional<int> { throw std::bad_alloc(); };
  EXPECT_EQ(sendMessage(msg::kRegisterColumns), 0);
  EXPECT_EQ(errors(host), std::vector<std::int32_t>{1});
}

TEST_F(DispatchTest, NullMessageIsAnsweredZero) { EXPECT_EQ(handleMessage(nullptr), 0); }

}  // namespace
}  // namespace brisko
