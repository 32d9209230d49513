// The records each host call-out builds, byte by byte.
#include "host/host_calls.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "emulator/host_emulator.h"
#include "host/ids.h"
#include "tests/support/record_bytes.h"

namespace brisko {
namespace {

using test::Bytes;
using test::RecordBuilder;

// Leaves non-zero bytes in the stack area the next call's frame will use, so
// that a record field left uninitialised shows up as a wrong byte.
#if defined(__GNUC__)
__attribute__((noinline))
#endif
void dirtyStack() {
  volatile std::uint8_t area[2048];
  for (std::size_t i = 0; i < sizeof area; ++i) area[i] = 0xA5;
}

class HostCallsTest : public ::testing::Test {
 protected:
  void SetUp() override { host::setCurrent(&host_); }
  void TearDown() override { host::setCurrent(nullptr); }
  // The messages sent, in order.
  std::vector<emu::HostCall> sent() const { return host_.callsOf(emu::HostCall::Op::SendToHost); }
  // The 30-byte message around a record pointer: p1 is the address of the
  // record (compared through the record's bytes), every other field as given.
  static Bytes message(std::uint32_t id, const Bytes& sentMessage, std::uint32_t p2 = 0,
                       std::uint32_t hdr3 = 0) {
    EXPECT_NE(test::u32At(sentMessage, 22), 0u) << "p1 points to the record";
    return test::messageBytes(id, test::u32At(sentMessage, 22), p2, hdr3);
  }
  emu::HostEmulator host_;  // a host object only: no plug-in behind it
};

TEST_F(HostCallsTest, InsertActionShortAndLongForms) {
  const char text[] = "Linki";
  dirtyStack();
  host::InsertAction({30, 109010, 1, 0x01000010, text, 109001, 0, 0, host::ActionForm::Short74});
  dirtyStack();
  host::InsertAction(
      {109101, 0x11000000, -1, 0x000B0000, text, 109114, 50, 7, host::ActionForm::Long78});
  ASSERT_EQ(sent().size(), 2u);
  EXPECT_EQ(sent()[0].message, message(10101, sent()[0].message));

  auto insertion = [&](std::uint16_t size, std::uint32_t id, std::uint32_t parent,
                       std::int32_t position, std::uint32_t status, std::uint32_t param,
                       std::uint16_t width, std::uint16_t height) {
    return test::ActionInfoBytes{size,   id,         parent,         -2,    position, 863,
                                 status, 0xFFFFFFFF, ptrValue(text), param, width,    height}
        .bytes();
  };
  EXPECT_EQ(sent()[0].record, insertion(74, 109010, 30, 1, 0x01000010, 109001, 0, 0));
  EXPECT_EQ(sent()[1].record, insertion(78, 0x11000000, 109101, -1, 0x000B0000, 109114, 50, 7));
}

TEST_F(HostCallsTest, StatusTextAndValueChanges) {
  dirtyStack();
  host::SetActionStatus({109010, 30, 7}, 1, 1);
  dirtyStack();
  host::SetActionText({109012, 109010, -2}, "abc");
  dirtyStack();
  host::SetActionValue({0x1101AA3B, 109101, -2}, "10", false);
  dirtyStack();
  host::SetActionValue({0x1101AA3F, 109101, -2}, "xyz", true);
  ASSERT_EQ(sent().size(), 4u);

  auto change = [](std::uint32_t id, std::uint32_t parent, std::int32_t cnt, std::uint32_t mask,
                   std::uint32_t status, std::uint32_t statusMask, std::uint32_t text) {
    return test::ActionInfoBytes{74, id, parent, cnt, 0, mask, status, statusMask, text}.bytes();
  };
  auto textOf = [&](int i) { return test::u32At(sent()[i].record, 50); };
  EXPECT_EQ(sent()[0].message, message(10108, sent()[0].message));
  EXPECT_EQ(sent()[0].record, change(109010, 30, 7, 1, 1, 1, 0));
  EXPECT_EQ(sent()[1].message, message(10108, sent()[1].message));
  EXPECT_EQ(sent()[1].record, change(109012, 109010, -2, 64, 0, 0, textOf(1)));
  EXPECT_EQ(sent()[2].message, message(10110, sent()[2].message));
  EXPECT_EQ(sent()[2].record, change(0x1101AA3B, 109101, -2, 64, 0, 0, textOf(2)));
  EXPECT_EQ(sent()[3].record, change(0x1101AA3F, 109101, -2, 65600, 0, 0, textOf(3)));
}

TEST_F(HostCallsTest, GetActionValueOffersNoBufferAndCopiesTheAnswer) {
  char hostText[] = "123";
  host_.answerWith(msg::kGetActionValue, static_cast<int>(ptrValue(hostText)));
  dirtyStack();
  std::string value = host::GetActionValue({0x1101AA3A, 109101, -2}, true);
  EXPECT_EQ(value, "123");
  hostText[0] = 'X';
  EXPECT_EQ(value, "123") << "the answer is copied";
  ASSERT_EQ(sent().size(), 1u);
  const Bytes expected = test::ActionInfoBytes{74, 0x1101AA3A, 109101, -2, 0, 65600}.bytes();
  EXPECT_EQ(sent()[0].record, expected);
  EXPECT_EQ(sent()[0].message, message(10106, sent()[0].message));

  host_.answerWith(msg::kGetActionValue, 0);
  dirtyStack();
  EXPECT_EQ(host::GetActionValue({0x1101AA3A, 109101, -2}, false), "") << "null is empty";
  EXPECT_EQ(test::u32At(sent()[1].record, 30), 64u);
}

TEST_F(HostCallsTest, ActionHandleIconAndCallAction) {
  host_.answerWith(msg::kGetActionHandle, 9);
  dirtyStack();
  EXPECT_EQ(host::GetActionHandle({3, 0, 77}), 9);
  dirtyStack();
  host::RegisterIcon(109002, 2, 0x10000000, 101);
  const char status[] = "www.a.pl";  // p2 1234: p1 is the status text
  ActionNotify notify{kActionNotifySize, 109040, 200, 77, 12, 0, ptrValue(status), 1234};
  host::CallAction(notify);
  ASSERT_EQ(sent().size(), 3u);
  EXPECT_EQ(sent()[0].message, message(10117, sent()[0].message));
  EXPECT_EQ(sent()[0].record, (RecordBuilder{}.u32(3).u32(0).u32(77).bytes));
  EXPECT_EQ(sent()[1].message, message(10130, sent()[1].message));
  RecordBuilder icon;
  icon.u16(36).zeros(2).u32(109002).u32(2).u32(0).u32(1).u32(0x10000000).u32(101).zeros(8);
  // The two gap bytes carry nothing for the host; like every unnamed byte they are zero.
  EXPECT_EQ(sent()[1].record, icon.bytes);
  EXPECT_EQ(sent()[2].message, message(10103, sent()[2].message));
  EXPECT_EQ(sent()[2].record, test::notifyBytes(109040, 200, 77, 12, ptrValue(status), 1234));
  EXPECT_EQ(sent()[2].text, "www.a.pl") << "the host reads the status text p1 points to";
}

TEST_F(HostCallsTest, ContactCountPluginValueAndValueToText) {
  host_.answerWith(msg::kGetContactCount, 3);
  host_.answerWith(msg::kGetPluginValue, 3);
  dirtyStack();
  EXPECT_EQ(host::GetContactCount(), 3);
  dirtyStack();
  EXPECT_EQ(host::GetPluginValue(5), 3);
  char buffer[52] = {};
  dirtyStack();
  host::ValueToText(3, buffer);
  ASSERT_EQ(sent().size(), 3u);
  EXPECT_EQ(sent()[0].message, test::messageBytes(201, 0, 0, 0xFFFFFFFF));
  EXPECT_EQ(sent()[1].message, test::messageBytes(245, 5));
  EXPECT_EQ(sent()[2].message, test::messageBytes(26, 3, ptrValue(buffer)));
}

TEST_F(HostCallsTest, RegisterConfigColumnIsTheWholeMessage) {
  static const char key[] = "Brisko/cfg_x";
  static const char def[] = "-1";
  dirtyStack();
  host::RegisterConfigColumn(109128, 1, ptrValue(def), key);
  ASSERT_EQ(sent().size(), 1u);
  EXPECT_EQ(sent()[0].message, (RecordBuilder{}
                                    .u16(39)
                                    .u32(1102)
                                    .zeros(16)
                                    .u8(0)
                                    .u32(109128)
                                    .u32(1)
                                    .ptr(def)
                                    .ptr(key)
                                    .bytes));
}

TEST_F(HostCallsTest, TableReads) {
  static const char text[] = "opis";
  std::uint32_t raw = ptrValue(text);  // what every table read answers
  host_.hooks().getValue = [&raw](int, int, int, ConfigValue& value) {
    value.value = raw;
    return std::optional<int>(0);
  };
  dirtyStack();
  EXPECT_EQ(host::GetContactString(7, 18), "opis");
  dirtyStack();
  EXPECT_EQ(host::GetConfigString(109119), "opis");
  raw = 0;
  dirtyStack();
  EXPECT_EQ(host::GetConfigString(109119), "") << "null is the empty text";
  raw = 0xFFFFFFFF;
  dirtyStack();
  EXPECT_EQ(host::GetConfigInt(109115), -1);
  EXPECT_EQ(host::GetContactId(4), -1) << "no such row";
  std::vector<std::vector<int>> expected = {{1, 7, 18, 1, 0, 0},
                                            {0, 0, 109119, 1, 0, 0},
                                            {0, 0, 109119, 1, 0, 0},
                                            {0, 0, 109115, 0, 0, 0},
                                            {1, 4}};
  std::vector<std::vector<int>> reads;
  for (const emu::HostCall& call : host_.calls()) {
    if (call.op == emu::HostCall::Op::GetValue || call.op == emu::HostCall::Op::GetRowId) {
      reads.push_back(call.args);
    }
  }
  EXPECT_EQ(reads, expected);
}

TEST(HostCallsWithoutHost, EveryCallIsSkipped) {
  host::setCurrent(nullptr);
  EXPECT_EQ(host::GetPluginId(), 0);
  EXPECT_EQ(host::GetContactCount(), 0);
  EXPECT_EQ(host::GetActionValue({1, 2, 3}, true), "");
  EXPECT_EQ(host::GetContactString(1, 18), "");
  EXPECT_EQ(host::GetConfigInt(109115), 0);
  EXPECT_EQ(host::GetHostState(), 0);
  EXPECT_EQ(host::GetContactId(3), 0);
  host::SetActionStatus({1, 2, 3}, 1, 1);  // must not crash
  host::SetError(1);
}

}  // namespace
}  // namespace brisko
