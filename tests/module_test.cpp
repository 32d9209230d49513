// The built plug-in module (Brisko.dll under Wine, Brisko.so natively), loaded
// through its single export and driven by the emulator: the dispatch table
// as the host meets it.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "emulator/host_emulator.h"
#include "emulator/plugin_module.h"
#include "host/ids.h"
#include "plugin/version.h"
#include "tests/support/record_bytes.h"

namespace brisko {
namespace {

using emu::HostEmulator;
using emu::PluginModule;

class ModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    module_ = PluginModule::loadBeside(&error);
    ASSERT_NE(module_, nullptr) << error;
    host_ = std::make_unique<HostEmulator>(module_->proc(), module_->handle());
  }
  void TearDown() override {
    if (host_) host_->shutDown();
  }
  // A status-change record of `size` bytes (the buffer is always 34 bytes).
  int statusChange(std::uint16_t size, std::int32_t contact, const char* text) {
    test::Bytes raw = test::statusChangeBytes(size, contact, text);
    return host_->sendRecord(reinterpret_cast<HostMessage*>(raw.data()));
  }

  std::unique_ptr<PluginModule> module_;
  std::unique_ptr<HostEmulator> host_;
};

TEST_F(ModuleTest, AnswersBeforeInitialisation) {
  struct Case {
    std::uint32_t id;
    std::uint16_t size;
    int answer;
  } cases[] = {
      {30010, 30, 109}, {30010, 29, 109}, {30011, 30, 20}, {30017, 30, 0}, {20020, 30, 2},
      {22101, 30, 1},   {20002, 30, 1},   {12345, 30, 0},  {21001, 30, 0}, {22000, 30, 0},
      {22100, 30, 0},   {22200, 30, 0},   {24011, 30, 0},  {30014, 30, 0}, {30015, 30, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    EXPECT_EQ(host_->send(c.id, 0, 0, c.size), c.answer);
  }
  EXPECT_TRUE(host_->calls().empty()) << "no host reference: no call at all";
}

TEST_F(ModuleTest, IdentificationTextsStayReadable) {
  const auto text = [&](std::uint32_t id) {
    return valuePtr<const char>(static_cast<std::uint32_t>(host_->send(id)));
  };
  const char* version = text(30012);
  const char* name = text(30013);
  const char* display = text(30016);
  ASSERT_TRUE(version && name && display);
  // A record too short for parameters is still read for its id.
  const auto shortText = [&](std::uint32_t id, std::uint16_t size) {
    return valuePtr<const char>(static_cast<std::uint32_t>(host_->send(id, 0, 0, size)));
  };
  EXPECT_EQ(shortText(30012, 29), version);
  EXPECT_EQ(shortText(30013, 29), name);
  EXPECT_EQ(shortText(30016, 6), display);
  ASSERT_TRUE(host_->startUp());
  host_->shutDown();
  EXPECT_STREQ(version, BRISKO_VERSION_TEXT);
  EXPECT_STREQ(name, "Brisko");
  EXPECT_STREQ(display, "Brisko");
}

TEST_F(ModuleTest, UnknownMessagesAreReportedOnceEach) {
  ASSERT_TRUE(host_->startUp());
  host_->clearCalls();
  EXPECT_EQ(host_->send(12345), 0);
  EXPECT_EQ(host_->errorCount(), 1);
  ASSERT_EQ(host_->calls().size(), 1u);
  EXPECT_EQ(host_->calls()[0].args, std::vector<std::int32_t>{1});
  EXPECT_EQ(host_->send(30017), 0);
  EXPECT_NE(host_->send(30016, 0, 0, 12), 0);
  EXPECT_EQ(host_->errorCount(), 1) << "30017 is answered, not reported";
  EXPECT_EQ(host_->send(30014), 0);
  EXPECT_EQ(host_->send(30015), 0);
  EXPECT_EQ(host_->errorCount(), 3) << "30014 and 30015 are not answered";
}

TEST_F(ModuleTest, StartUpAnswersOneToEachStep) {
  EXPECT_EQ(host_->send(msg::kInit, ptrValue(static_cast<IHost*>(host_.get()))), 1);
  EXPECT_EQ(host_->send(msg::kRegisterColumns), 1);
  EXPECT_EQ(host_->send(msg::kBuildUserInterface), 1);
  EXPECT_EQ(host_->send(msg::kLoadSettings), 1);
  EXPECT_EQ(host_->send(msg::kSettingsLoaded), 1);
  EXPECT_EQ(host_->errorCount(), 0);
  EXPECT_EQ(host_->columns().size(), 13u);
  EXPECT_EQ(host_->send(msg::kShutdown), 1);
  EXPECT_EQ(host_->send(msg::kShutdown), 1) << "a second shutdown destroys nothing";
}

TEST_F(ModuleTest, InitAndNotifyNeedTheirParameter) {
  // 20001 in a 29-byte record carries no interface object: nothing happens.
  EXPECT_EQ(host_->send(msg::kInit, ptrValue(static_cast<IHost*>(host_.get())), 0, 29), 0);
  EXPECT_EQ(host_->send(msg::kRegisterColumns), 0);
  EXPECT_TRUE(host_->columns().empty());

  ASSERT_TRUE(host_->startUp());
  host_->clearCalls();
  ActionNotify notify{
      kActionNotifySize, action::kLinksMenu, group::kContactMenu, 7, notify::kPrepare, 0, 0, 0};
  EXPECT_EQ(host_->send(msg::kActionNotify, ptrValue(&notify), 0, 29), 0);
  EXPECT_EQ(host_->send(msg::kActionNotify, 0), 0);
  EXPECT_TRUE(host_->calls().empty()) << "no record, no work";
}

// The status-change record must be the 34-byte form: a shorter one is a
// record too short for its message. It is answered 0 and reported to the
// host; nothing is thrown into it.
TEST_F(ModuleTest, StatusChangeRecordSizeBoundary) {
  ASSERT_TRUE(host_->startUp());
  host_->addContact(5, "stary opis");
  host_->openChat(5);
  host_->clearCalls();

  const char text[] = "nowy www.example.pl";
  EXPECT_EQ(statusChange(34, 5, text), 0);
  EXPECT_EQ(host_->errorCount(), 0);
  EXPECT_EQ(host_->callsTo(msg::kCallAction).size(), 1u);
  EXPECT_EQ(host_->readChatButton(5).text, "http://www.example.pl");

  host_->clearCalls();
  EXPECT_EQ(statusChange(33, 5, text), 0);
  EXPECT_EQ(host_->errorCount(), 1);
  EXPECT_TRUE(host_->callsTo(msg::kCallAction).empty());
}

}  // namespace
}  // namespace brisko
