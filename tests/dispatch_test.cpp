// The entry point's message dispatch, driven directly with a mock host.
#include "plugin/dispatch.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "host/host_calls.h"
#include "host/ids.h"
#include "plugin/plugin_state.h"

namespace brisko {
namespace {

using ::testing::_;
using ::testing::AnyNumber;
using ::testing::NiceMock;
using ::testing::Return;
using ::testing::StrictMock;

class MockHost : public IHost {
 public:
  MOCK_METHOD(int, GetPluginId, (), (override));
  MOCK_METHOD(int, GetPluginInstance, (), (override));
  MOCK_METHOD(int, GetHostState, (), (override));
  MOCK_METHOD(void, SetError, (int code), (override));
  MOCK_METHOD(int, SendToHost, (HostMessage * message), (override));
  MOCK_METHOD(int, SendToPlugin, (int pluginId, HostMessage* message), (override));
  MOCK_METHOD(int, GetRowId, (int table, int index), (override));
  MOCK_METHOD(int, GetValue, (int table, int row, int column, ConfigValue* value), (override));
};

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
  } cases[] = {{30012, "0.9.9.1"}, {30013, "Brisko"}, {30016, "Brisko"}};
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
  StrictMock<MockHost> host;
  start(host);
  for (std::uint32_t id : {30010u, 30011u, 30012u, 30013u, 30016u, 30017u, 20020u, 22101u}) {
    sendMessage(id);
  }
  // StrictMock fails on any call, SetError included.
}

TEST_F(DispatchTest, InitKeepsHostAndCreatesOneState) {
  StrictMock<MockHost> host;
  EXPECT_EQ(currentPluginState(), nullptr);
  start(host);
  EXPECT_EQ(host::current(), &host);
  PluginState* state = currentPluginState();
  ASSERT_NE(state, nullptr);
  EXPECT_EQ(state->settings.linkCount, 4) << "built-in defaults until settings are loaded";

  EXPECT_EQ(sendMessage(msg::kShutdown), 1);
  EXPECT_EQ(host::current(), nullptr);
  EXPECT_EQ(currentPluginState(), nullptr);
}

TEST_F(DispatchTest, SecondInitReplacesHostAndState) {
  StrictMock<MockHost> first;
  StrictMock<MockHost> second;
  start(first);
  currentPluginState()->settings.linkCount = 9;
  start(second);
  EXPECT_EQ(host::current(), &second);
  ASSERT_NE(currentPluginState(), nullptr);
  EXPECT_EQ(currentPluginState()->settings.linkCount, 4) << "a fresh object";
}

TEST_F(DispatchTest, InitWithoutParametersOrObjectIsIgnored) {
  StrictMock<MockHost> host;
  EXPECT_EQ(sendMessage(msg::kInit, ptrValue(&host), 0, 29), 0);
  EXPECT_EQ(sendMessage(msg::kInit, 0), 0);
  EXPECT_EQ(currentPluginState(), nullptr);
  EXPECT_EQ(host::current(), nullptr);
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
  StrictMock<MockHost> host;
  start(host);
  for (std::uint32_t id : kUnknownIds) {
    SCOPED_TRACE(id);
    EXPECT_CALL(host, SetError(1)).Times(1);
    EXPECT_EQ(sendMessage(id), 0);
    ::testing::Mock::VerifyAndClearExpectations(&host);
  }
  EXPECT_CALL(host, SetError(1)).Times(1);
  EXPECT_EQ(sendMessage(12345, 0, 0, 10), 0) << "a short record is still read for its id";
  ::testing::Mock::VerifyAndClearExpectations(&host);
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
  StrictMock<MockHost> host;
  start(host);
  PluginState* state = currentPluginState();
  state->settings.linkCount = 9;
  EXPECT_EQ(sendMessage(msg::kInit, 0), 0);
  EXPECT_EQ(sendMessage(msg::kInit, ptrValue(&host), 0, 29), 0);
  EXPECT_EQ(host::current(), &host);
  EXPECT_EQ(currentPluginState(), state);
  EXPECT_EQ(state->settings.linkCount, 9);
}

TEST_F(DispatchTest, MessagesNeedingStateAreIgnoredWithoutIt) {
  for (std::uint32_t id : {21001u, 22000u, 22100u, 22200u, 24011u}) {
    SCOPED_TRACE(id);
    EXPECT_EQ(sendMessage(id), 0);
  }
  // After a shutdown as well: the host reference is gone, so no call can happen.
  StrictMock<MockHost> host;
  start(host);
  sendMessage(msg::kShutdown);
  for (std::uint32_t id : {21001u, 22000u, 22100u, 22200u}) EXPECT_EQ(sendMessage(id), 0);
}

TEST_F(DispatchTest, HandlersAnswerOne) {
  NiceMock<MockHost> host;
  ON_CALL(host, SendToHost(_)).WillByDefault(Return(0));
  start(host);
  EXPECT_CALL(host, SetError(_)).Times(0);
  EXPECT_EQ(sendMessage(msg::kRegisterColumns), 1);
  EXPECT_EQ(sendMessage(msg::kBuildUserInterface), 1);
  EXPECT_EQ(sendMessage(msg::kLoadSettings), 1);
}

TEST_F(DispatchTest, ActionNotifyWithoutRecordIsIgnored) {
  StrictMock<MockHost> host;
  start(host);
  EXPECT_EQ(sendMessage(msg::kActionNotify, 0), 0);
  ActionNotify notify{};
  notify.size = kActionNotifySize;
  notify.id = 999999;  // no action of ours: nothing happens
  EXPECT_EQ(sendMessage(msg::kActionNotify, ptrValue(&notify), 0, 29), 0);
  EXPECT_EQ(sendMessage(msg::kActionNotify, ptrValue(&notify)), 0);
}

// 24011 must carry its third parameter: 34 bytes are accepted, 33 are a
// record too short for the message, answered 0 and reported, never thrown.
TEST_F(DispatchTest, StatusChangeSizeBoundary) {
  NiceMock<MockHost> host;
  start(host);
  unsigned char raw[40] = {};
  const char status[] = "www.example.pl";
  HostMessage* m = reinterpret_cast<HostMessage*>(raw);
  m->id = msg::kStatusChange;
  m->p1 = 7;
  std::uint32_t p3 = ptrValue(status);
  std::memcpy(raw + 30, &p3, 4);

  // A chat window closed for contact 7: accepted, nothing sent.
  EXPECT_CALL(host, SetError(_)).Times(0);
  EXPECT_CALL(host, SendToHost(_)).WillRepeatedly(Return(0));
  m->size = 34;
  EXPECT_EQ(handleMessage(m), 0);
  m->size = 40;
  EXPECT_EQ(handleMessage(m), 0);
  ::testing::Mock::VerifyAndClearExpectations(&host);

  EXPECT_CALL(host, SetError(1)).Times(1);
  EXPECT_CALL(host, SendToHost(_)).Times(0);
  m->size = 33;
  EXPECT_EQ(handleMessage(m), 0);
}

// The handler gets a 34-byte copy with its size rewritten; the chat-window
// query shows it ran with the contact from p1.
TEST_F(DispatchTest, StatusChangeReachesHandlerWithContact) {
  NiceMock<MockHost> host;
  start(host);
  std::vector<std::uint32_t> askedContacts;
  ON_CALL(host, SendToHost(_)).WillByDefault([&](HostMessage* message) {
    if (message->id == msg::kGetActionHandle) {
      askedContacts.push_back(
          static_cast<std::uint32_t>(valuePtr<const ActionRef>(message->p1)->cnt));
    }
    return 0;
  });
  unsigned char raw[34] = {};
  HostMessage* m = reinterpret_cast<HostMessage*>(raw);
  m->size = 34;
  m->id = msg::kStatusChange;
  m->p1 = 77;
  const char status[] = "x";
  std::uint32_t p3 = ptrValue(status);
  std::memcpy(raw + 30, &p3, 4);
  EXPECT_EQ(handleMessage(m), 0);
  EXPECT_EQ(askedContacts, std::vector<std::uint32_t>{77});
}

// The copy handed to the handler carries p3: the new status text reaches the
// chat button's refresh, whatever the incoming record's size beyond 34.
TEST_F(DispatchTest, StatusChangeCopyCarriesTheStatusText) {
  NiceMock<MockHost> host;
  start(host);
  const char status[] = "nowy www.example.pl";
  struct Refresh {
    std::uint32_t id, parent, code, p1, p2;
    std::int32_t cnt;
  };
  std::vector<Refresh> refreshes;
  ON_CALL(host, SendToHost(_)).WillByDefault([&](HostMessage* message) {
    if (message->id == msg::kGetActionHandle) return 1;  // the chat window is open
    if (message->id == msg::kCallAction) {
      const ActionNotify* n = valuePtr<const ActionNotify>(message->p1);
      refreshes.push_back({n->id, n->parent, n->code, n->p1, n->p2, n->cnt});
    }
    return 0;
  });
  EXPECT_CALL(host, SetError(_)).Times(0);
  for (std::uint16_t size : {std::uint16_t{34}, std::uint16_t{48}}) {
    SCOPED_TRACE(size);
    refreshes.clear();
    unsigned char raw[48];
    std::memset(raw, 0xEE, sizeof raw);  // bytes beyond 34 are not the handler's
    HostMessage* m = reinterpret_cast<HostMessage*>(raw);
    m->size = size;
    m->id = msg::kStatusChange;
    m->p1 = 12;
    const std::uint32_t p3 = ptrValue(status);
    std::memcpy(raw + 30, &p3, 4);
    EXPECT_EQ(handleMessage(m), 0);
    ASSERT_EQ(refreshes.size(), 1u);
    EXPECT_EQ(refreshes[0].id, action::kChatLinkButton);
    EXPECT_EQ(refreshes[0].parent, group::kChatWindow);
    EXPECT_EQ(refreshes[0].cnt, 12);
    EXPECT_EQ(refreshes[0].code, notify::kRefresh);
    EXPECT_EQ(refreshes[0].p1, ptrValue(status));
    EXPECT_EQ(refreshes[0].p2, 1234u);
  }
}

// Nothing thrown inside a handler crosses into the host.
TEST_F(DispatchTest, ExceptionsInHandlersBecomeSetError) {
  NiceMock<MockHost> host;
  start(host);
  EXPECT_CALL(host, SendToHost(_)).WillRepeatedly([](HostMessage*) -> int {
    throw std::bad_alloc();
  });
  EXPECT_CALL(host, SetError(1)).Times(1);
  EXPECT_EQ(sendMessage(msg::kRegisterColumns), 0);
}

TEST_F(DispatchTest, NullMessageIsAnsweredZero) { EXPECT_EQ(handleMessage(nullptr), 0); }

}  // namespace
}  // namespace brisko
