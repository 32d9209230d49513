// Whole events, from the host's message to what the user gets: a menu of
// links, a link opened or copied, a chat button that follows the status.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "emulator/host_emulator.h"
#include "emulator/plugin_module.h"
#include "host/ids.h"
#include "host/records.h"
#include "settings/columns.h"
#include "tests/support/emulator_calls.h"
#include "tests/support/in_process.h"

namespace brisko {
namespace {

using Strings = std::vector<std::string>;

using test::clipboardText;
using test::recordOpenings;

// Resets what the system saw, before and after each scenario.
class SystemScope {
 public:
  explicit SystemScope(emu::HostEmulator& host) : host_(host) { reset(); }
  ~SystemScope() { reset(); }
  SystemScope(const SystemScope&) = delete;
  SystemScope& operator=(const SystemScope&) = delete;

 private:
  void reset() {
    recordOpenings();
    host_.setShift(false);
    host_.clearOpenedLinks();
    host_.clearClipboard();
  }
  emu::HostEmulator& host_;
};

// The road of one choice, with the configuration as the host registered it
// (at most five links, menu texts of twenty bytes, "http://" cut).
void chooseFromTheContactMenu(emu::HostEmulator& host) {
  SystemScope system(host);
  ASSERT_TRUE(host.startUp());
  host.addContact(11,
                  "Nowe zdj\xEA"
                  "cia: http://Foto.example.pl/Album?id=7 , blog www.Blog.pl "
                  "i http://www.SKLEP.pl/promocje-na-zime");

  // The host asks for the menu with a 22200 notification for the submenu.
  ActionNotify prepare{};
  prepare.size = kActionNotifySize;
  prepare.id = action::kLinksMenu;
  prepare.parent = group::kContactMenu;
  prepare.cnt = 11;
  prepare.code = notify::kPrepare;
  EXPECT_EQ(host.send(msg::kActionNotify, ptrValue(&prepare)), 0);

  // The user sees three items, shortened to twenty bytes, in status order.
  const emu::ContactMenu menu = host.contactMenu(11);
  EXPECT_TRUE(menu.submenuShown);
  EXPECT_FALSE(menu.singleShown);
  EXPECT_EQ(menu.items,
            (Strings{"foto.example.pl/alb\x85", "www.blog.pl", "www.sklep.pl/promoc\x85"}));

  // The third item: the whole link as the status spells it is opened.
  host.chooseMenuItem(11, action::kLinkItemBase + 2, false);
  EXPECT_EQ(host.openedLinks(), Strings{"http://www.SKLEP.pl/promocje-na-zime"});
  EXPECT_TRUE(host.clipboardBytes().empty());

  // The first item with Shift held: copied, not opened.
  host.clearOpenedLinks();
  host.chooseMenuItem(11, action::kLinkItemBase, true);
  EXPECT_TRUE(host.openedLinks().empty());
  EXPECT_EQ(host.clipboardBytes(), clipboardText("http://Foto.example.pl/Album?id=7"));

  // A slot beyond the links: nothing happens.
  host.clearClipboard();
  host.chooseMenuItem(11, action::kLinkItemBase + 4, false);
  EXPECT_TRUE(host.openedLinks().empty());
  EXPECT_TRUE(host.clipboardBytes().empty());
  EXPECT_EQ(host.errorCount(), 0);
}

TEST(Scenario, ChoosingALinkFromTheContactMenu) {
  test::InProcessHost host;
  chooseFromTheContactMenu(host);
}

// The same road through the built module, loaded by its single export.
TEST(Scenario, ChoosingALinkThroughTheLoadedModule) {
  std::string error;
  std::unique_ptr<emu::PluginModule> module = emu::PluginModule::loadBeside(&error);
  ASSERT_NE(module, nullptr) << error;
  {
    emu::HostEmulator host(module->proc(), module->handle());
    chooseFromTheContactMenu(host);
    host.shutDown();
  }
}

TEST(Scenario, ASingleLinkIsOfferedAsOneItem) {
  test::InProcessHost host;
  SystemScope system(host);
  ASSERT_TRUE(host.startUp());
  host.addContact(12, "Zapraszam na www.Moja-Strona.pl :)");
  const emu::ContactMenu menu = host.contactMenu(12);
  EXPECT_FALSE(menu.submenuShown);
  EXPECT_TRUE(menu.singleShown);
  EXPECT_EQ(menu.singleText, "Link");
  host.chooseMenuItem(12, action::kSingleLinkItem, false);
  EXPECT_EQ(host.openedLinks(), Strings{"http://www.Moja-Strona.pl"});

  // A contact without links next: no entry of the plug-in in its menu.
  host.addContact(13, "Jestem offline");
  const emu::ContactMenu empty = host.contactMenu(13);
  EXPECT_FALSE(empty.submenuShown);
  EXPECT_FALSE(empty.singleShown);
  EXPECT_TRUE(empty.items.empty());
}

TEST(Scenario, TheChatButtonFollowsTheContactsStatus) {
  test::InProcessHost host;
  SystemScope system(host);
  ASSERT_TRUE(host.startUp());
  host.addContact(21, "Gram w http://gra.example.com/Pokoj/5");
  host.openChat(21);

  emu::ChatButton button = host.chatButton(21);
  EXPECT_TRUE(button.shown);
  EXPECT_EQ(button.text, "http://gra.example.com/Pokoj/5") << "never shortened";

  // The contact changes status: the host tells the plug-in, the button follows.
  EXPECT_EQ(host.changeStatus(21, "Teraz: www.Kino.pl/seans"), 0);
  button = host.readChatButton(21);
  EXPECT_TRUE(button.shown);
  EXPECT_EQ(button.text, "http://www.Kino.pl/seans");
  EXPECT_EQ(host.deliveredNotifies(), 1);

  // The user clicks it, then clicks it with Shift.
  host.clickChatButton(21, false);
  EXPECT_EQ(host.openedLinks(), Strings{"http://www.Kino.pl/seans"});
  host.clickChatButton(21, true);
  EXPECT_EQ(host.openedLinks(), Strings{"http://www.Kino.pl/seans"});
  EXPECT_EQ(host.clipboardBytes(), clipboardText("http://www.Kino.pl/seans"));

  // A status without a link hides it; a contact without an open chat window
  // is left alone.
  EXPECT_EQ(host.changeStatus(21, "zaraz wracam"), 0);
  EXPECT_FALSE(host.readChatButton(21).shown);
  host.addContact(22, "www.a.pl");
  host.clearCalls();
  EXPECT_EQ(host.changeStatus(22, "www.b.pl"), 0);
  EXPECT_TRUE(host.callsTo(msg::kCallAction).empty());
  EXPECT_EQ(host.errorCount(), 0);
}

TEST(Scenario, TheUserTurnsTheChatButtonOffAndOnAgain) {
  test::InProcessHost host;
  SystemScope system(host);
  ASSERT_TRUE(host.startUp());
  host.addContact(31, "www.jeden.pl");
  host.addContact(32, "www.dwa.pl");
  host.addContact(33, "www.trzy.pl");
  host.openChat(31);
  host.openChat(33);
  ASSERT_TRUE(host.chatButton(31).shown);
  ASSERT_TRUE(host.chatButton(33).shown);

  host.showPage();
  host.setControlValue(column::kShowInChatWindow, "0");
  EXPECT_EQ(host.applyPage(), 0);
  EXPECT_FALSE(host.readChatButton(31).shown);
  EXPECT_FALSE(host.readChatButton(33).shown);
  EXPECT_FALSE(host.chatButton(32).shown) << "a window opened later shows none either";
  // The contact menu is not the chat window's setting.
  EXPECT_EQ(host.contactMenu(31).singleText, "Link");

  host.setControlValue(column::kShowInChatWindow, "1");
  EXPECT_EQ(host.applyPage(), 0);
  EXPECT_EQ(host.readChatButton(31).text, "http://www.jeden.pl");
  EXPECT_EQ(host.readChatButton(33).text, "http://www.trzy.pl");
}

TEST(Scenario, TheUserChangesTheDisplayLength) {
  test::InProcessHost host;
  SystemScope system(host);
  ASSERT_TRUE(host.startUp());
  host.addContact(41, "www.bardzo-dluga-nazwa.pl/sciezka oraz http://krotki.pl");
  host.openChat(41);
  host.showPage();
  host.setControlValue(column::kDisplayLength, "10");
  host.applyPage();

  EXPECT_EQ(host.contactMenu(41).items, (Strings{"www.bardz\x85", "krotki.pl"}));
  EXPECT_EQ(host.chatButton(41).text, "http://www.bardzo-dluga-nazwa.pl/sciezka");
  host.chooseMenuItem(41, action::kLinkItemBase, false);
  EXPECT_EQ(host.openedLinks(), Strings{"http://www.bardzo-dluga-nazwa.pl/sciezka"});
}

TEST(Scenario, TheUserTurnsTheContactMenuOff) {
  test::InProcessHost host;
  SystemScope system(host);
  ASSERT_TRUE(host.startUp());
  host.addContact(51, "www.a.pl www.b.pl");
  ASSERT_TRUE(host.contactMenu(51).submenuShown);
  host.showPage();
  host.setControlValue(109110, "0");
  host.applyPage();
  const emu::ContactMenu menu = host.contactMenu(51);
  EXPECT_FALSE(menu.submenuShown);
  EXPECT_FALSE(menu.singleShown);
  // The chat button keeps working.
  host.openChat(51);
  EXPECT_EQ(host.chatButton(51).text, "http://www.a.pl");
}

}  // namespace
}  // namespace brisko
