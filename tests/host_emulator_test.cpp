// The host emulator itself: loading the real module, the host's tables, the
// record of calls, the page, the system bridge and the text conversion.
//
// Most cases drive the emulator with a scripted plug-in (a message procedure
// defined here) or call the host interface directly as a plug-in would, so
// that they test the emulator and not the plug-in.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "emulator/cp1250.h"
#include "emulator/host_emulator.h"
#include "emulator/plugin_module.h"
#include "emulator/render.h"
#include "host/ids.h"
#include "settings/control_params.h"
#include "tests/support/record_bytes.h"

#if defined(_WIN32)
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on
#endif

namespace brisko {
namespace {

// Fields of packed records are compared as copies (unary +, or a local): the
// test macros take their arguments by reference, and a reference to a packed
// field may be misaligned.

using emu::HostCall;
using emu::HostEmulator;
using emu::PluginModule;

// --- a scripted plug-in -------------------------------------------------------------------------

struct Received {
  std::uint32_t id;
  std::uint16_t size;
  std::uint32_t p1, p2;
  ActionNotify notify{};    // when id is 22200: a copy of the record p1 points to
  const void* p1Address{};  // the address p1 carried
};

std::vector<Received> g_received;
std::function<int(HostMessage*)> g_script;

int BRISKO_STDCALL scriptedProc(HostMessage* m) {
  Received r{m->id, m->size, m->p1, m->p2};
  r.p1Address = valuePtr<const void>(m->p1);
  if (m->id == msg::kActionNotify && m->p1 != 0) {
    r.notify = recordFrom<ActionNotify>(valuePtr<const void>(m->p1), kActionNotifySize);
  }
  g_received.push_back(r);
  return g_script ? g_script(m) : 1;
}

class Emulator : public ::testing::Test {
 protected:
  Emulator() {
    g_received.clear();
    g_script = nullptr;
  }
  ~Emulator() override { g_script = nullptr; }

  // Sends a message to the host as the plug-in does.
  int toHost(std::uint32_t id, const void* p1 = nullptr, std::uint32_t p2 = 0) {
    HostMessage m{};
    m.size = kHostMessageSize;
    m.id = id;
    m.p1 = ptrValue(p1);
    m.p2 = p2;
    return host.SendToHost(&m);
  }
  int insert(std::uint32_t parent, std::uint32_t id, std::uint32_t status, const char* text,
             std::uint32_t param = 0, std::uint16_t size = kActionInfoExSize) {
    ActionInfo a{};
    a.size = size;
    a.id = id;
    a.parent = parent;
    a.cnt = kNoContact;
    a.position = -1;
    a.mask = mask::kInsert;
    a.status = status;
    a.statusMask = 0xFFFFFFFFu;
    a.text = ptrValue(text);
    a.param = param;
    return toHost(msg::kInsertAction, &a);
  }
  void setStatus(std::uint32_t id, std::uint32_t parent, std::int32_t cnt, std::uint32_t status,
                 std::uint32_t statusMask) {
    ActionInfo a{};
    a.size = kActionInfoSize;
    a.id = id;
    a.parent = parent;
    a.cnt = cnt;
    a.mask = mask::kStatus;
    a.status = status;
    a.statusMask = statusMask;
    toHost(msg::kSetAction, &a);
  }
  void setText(std::uint32_t message, std::uint32_t id, std::uint32_t parent, std::int32_t cnt,
               const char* text) {
    ActionInfo a{};
    a.size = kActionInfoSize;
    a.id = id;
    a.parent = parent;
    a.cnt = cnt;
    a.mask = mask::kTextFlagged;
    a.text = ptrValue(text);
    toHost(message, &a);
  }
  const char* getValue(std::uint32_t id, std::uint32_t parent, std::int32_t cnt) {
    ActionInfo a{};
    a.size = kActionInfoSize;
    a.id = id;
    a.parent = parent;
    a.cnt = cnt;
    a.mask = mask::kTextFlagged;
    return valuePtr<const char>(static_cast<std::uint32_t>(toHost(msg::kGetActionValue, &a)));
  }
  void registerColumn(std::uint32_t id, std::uint32_t type, std::uint32_t def, const char* key) {
    ConfigColumnRecord r{};
    r.size = kConfigColumnRecordSize;
    r.id = msg::kRegisterConfigColumn;
    r.table = 0;
    r.columnId = id;
    r.columnType = type;
    r.defaultValue = def;
    r.name = ptrValue(key);
    host.SendToHost(reinterpret_cast<HostMessage*>(&r));
  }
  std::vector<Received> notifications() const {
    std::vector<Received> out;
    for (const Received& r : g_received) {
      if (r.id == msg::kActionNotify) out.push_back(r);
    }
    return out;
  }

  HostEmulator host{&scriptedProc, nullptr};
};

// --- the real module
// ------------------------------------------------------------------------------

TEST(EmulatorModule, LoadsTheModuleBesideAndRunsItsWholeLife) {
  std::string error;
  std::unique_ptr<PluginModule> module = PluginModule::loadBeside(&error);
  ASSERT_NE(module, nullptr) << error;
  EXPECT_EQ(module->path(), PluginModule::besidePath());
  ASSERT_NE(module->proc(), nullptr);

  HostEmulator host(module->proc(), module->handle());
  EXPECT_EQ(host.send(msg::kNetIdQuery), 109);
  const char* name = valuePtr<const char>(static_cast<std::uint32_t>(host.send(msg::kNameQuery)));
  ASSERT_NE(name, nullptr);
  EXPECT_STREQ(name, "Brisko");

  ASSERT_TRUE(host.startUp());
  EXPECT_EQ(host.columns().size(), 13u);
  EXPECT_TRUE(host.pageInserted());
  ASSERT_EQ(host.icons().size(), 2u);
  // The host is handed the module's own handle (its low 32 bits).
  const auto handle =
      static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(module->handle()));
  EXPECT_EQ(host.icons()[0].module, handle);
  EXPECT_EQ(host.icons()[0].resourceId, 101u);

  host.addContact(7, "zobacz www.example.pl i http://drugi.example.pl/x");
  const emu::ContactMenu menu = host.contactMenu(7);
  EXPECT_TRUE(menu.submenuShown);
  EXPECT_EQ(menu.items.size(), 2u);

  // Choosing opens through the shell, which the emulator only records; with
  // Shift the link goes to the clipboard instead. On Windows this is the
  // module's own ShellExecuteA import and the real clipboard.
  host.clearOpenedLinks();
  host.clearClipboard();
  host.chooseMenuItem(7, action::kLinkItemBase + 1, false);
  ASSERT_EQ(host.shellOpens().size(), 1u);
  EXPECT_EQ(host.shellOpens()[0].file, "http://drugi.example.pl/x");
  EXPECT_EQ(host.shellOpens()[0].verb, "open");
  EXPECT_EQ(host.shellOpens()[0].show, 1);
  host.chooseMenuItem(7, action::kLinkItemBase, true);
  EXPECT_EQ(host.openedLinks().size(), 1u) << "with Shift nothing more is opened";
  const std::vector<char> clip = host.clipboardBytes();
  const char expected[] = "http://www.example.pl";
  EXPECT_EQ(clip, std::vector<char>(expected, expected + sizeof expected));

  EXPECT_EQ(host.errorCount(), 0);
  EXPECT_EQ(host.shutDown(), 1);
}

TEST(EmulatorModule, AFileThatIsNoModuleIsReported) {
  std::string error;
  EXPECT_EQ(PluginModule::load(PluginModule::besidePath() + ".missing", &error), nullptr);
  EXPECT_NE(error.find(".missing"), std::string::npos) << error;
}

// --- start-up and messages to the plug-in
// -------------------------------------------------------------

TEST_F(Emulator, StartUpSendsTheFourMessagesInOrderWithTheHostObject) {
  ASSERT_TRUE(host.startUp());
  ASSERT_EQ(g_received.size(), 4u);
  EXPECT_EQ(g_received[0].id, msg::kInit);
  EXPECT_EQ(g_received[0].p1, ptrValue(static_cast<IHost*>(&host)));
  EXPECT_EQ(g_received[1].id, msg::kRegisterColumns);
  EXPECT_EQ(g_received[2].id, msg::kBuildUserInterface);
  EXPECT_EQ(g_received[3].id, msg::kLoadSettings);
  for (const Received& r : g_received) EXPECT_EQ(r.size, kHostMessageSize);
}

TEST_F(Emulator, StartUpStopsAtTheFirstMessageNotAnswered1) {
  g_script = [](HostMessage* m) { return m->id == msg::kBuildUserInterface ? 0 : 1; };
  EXPECT_FALSE(host.startUp());
  EXPECT_EQ(g_received.back().id, msg::kBuildUserInterface);
}

TEST_F(Emulator, SendHonoursTheSizeItIsGiven) {
  host.send(30010, 5, 6, 29);
  ASSERT_EQ(g_received.size(), 1u);
  EXPECT_EQ(g_received[0].size, 29);
  EXPECT_EQ(g_received[0].id, 30010u);
}

TEST_F(Emulator, StatusChangeArrivesAsTheExtendedRecord) {
  std::string seen;
  std::uint16_t size = 0;
  g_script = [&](HostMessage* m) {
    if (m->id == msg::kStatusChange) {
      size = m->size;
      const auto* ex = reinterpret_cast<HostMessageEx*>(m);
      seen = valuePtr<const char>(ex->p3);
      EXPECT_EQ(std::uint32_t{m->p1}, 5u);
    }
    return 0;
  };
  host.addContact(5, "old");
  host.changeStatus(5, "nowy opis www.x.pl");
  EXPECT_EQ(size, kHostMessageExSize);
  EXPECT_EQ(seen, "nowy opis www.x.pl");
}

// --- the record of calls
// ------------------------------------------------------------------------------

TEST_F(Emulator, EveryCallIsRecordedWithCopiesOfItsRecordsAndTexts) {
  char caption[] = "Linki";
  ASSERT_EQ(insert(30, 109010, 0x01000010, caption, 109001), 1);
  std::strcpy(caption, "XXXXX");  // the plug-in's buffer is gone after the call

  ASSERT_EQ(host.calls().size(), 1u);
  const HostCall& call = host.calls()[0];
  EXPECT_EQ(call.op, HostCall::Op::SendToHost);
  EXPECT_EQ(call.messageId, msg::kInsertAction);
  EXPECT_EQ(call.message.size(), kHostMessageSize);
  ASSERT_EQ(call.record.size(), kActionInfoExSize);
  EXPECT_EQ(call.text, "Linki");
  const ActionInfo copy = test::recordOf<ActionInfo>(call.record);
  EXPECT_EQ(std::uint32_t{copy.id}, 109010u);
  EXPECT_EQ(std::uint32_t{copy.param}, 109001u);
  EXPECT_EQ(host.action(109010, 30)->text, "Linki");

  // The 74-byte form is copied by its own size.
  insert(30, 109011, 0, "Link", 0, kActionInfoSize);
  EXPECT_EQ(host.calls()[1].record.size(), kActionInfoSize);

  host.SetError(1);
  host.GetPluginId();
  host.GetHostState();
  EXPECT_EQ(host.errorCount(), 1);
  ASSERT_EQ(host.calls().size(), 5u);
  EXPECT_EQ(host.calls()[2].op, HostCall::Op::SetError);
  EXPECT_EQ(host.calls()[2].args, std::vector<std::int32_t>{1});
  EXPECT_EQ(host.callsTo(msg::kInsertAction).size(), 2u);
  host.clearCalls();
  EXPECT_TRUE(host.calls().empty());
}

TEST_F(Emulator, StatusAndTextChangesFollowTheMaskAndTheInstance) {
  insert(109010, 109012, 0x01000000, "Link_01");
  // A change for one contact is that contact's instance only.
  setStatus(109012, 109010, 7, 1, 1);
  EXPECT_TRUE(host.action(109012, 109010)->hiddenFor(7));
  EXPECT_FALSE(host.action(109012, 109010)->hiddenFor(8));
  // Only the bits under the status mask change.
  setStatus(109012, 109010, kNoContact, 0xFFFFFFFFu, 2);
  EXPECT_EQ(host.action(109012, 109010)->status, 0x01000002u);
  EXPECT_FALSE(host.action(109012, 109010)->hiddenFor(7)) << "a shared change drops overrides";
  setStatus(109012, 109010, kNoContact, 0, 2);
  EXPECT_EQ(host.action(109012, 109010)->status, 0x01000000u);

  setText(msg::kSetAction, 109012, 109010, 7, "dla 7");
  EXPECT_EQ(host.action(109012, 109010)->textFor(7), "dla 7");
  EXPECT_EQ(host.action(109012, 109010)->textFor(8), "Link_01");
  ASSERT_EQ(host.calls().back().record.size(), kActionInfoSize);
  EXPECT_EQ(host.calls().back().text, "dla 7");
}

TEST_F(Emulator, GetActionValueAnswersATextKeptUntilTheNextCall) {
  insert(109010, 109012, 0, "Link_01");
  setText(msg::kSetActionValue, 109012, 109010, kNoContact, "pierwszy");
  const char* first = getValue(109012, 109010, kNoContact);
  ASSERT_NE(first, nullptr);
  EXPECT_STREQ(first, "pierwszy");
  EXPECT_EQ(host.calls().back().text, "pierwszy");
  EXPECT_EQ(getValue(109999, 109010, kNoContact), nullptr) << "an unknown action has no value";
}

TEST_F(Emulator, CallActionDeliversACopyBeforeItReturns) {
  std::vector<std::size_t> callsSeenInside;
  g_script = [&](HostMessage* m) {
    if (m->id == msg::kActionNotify) {
      callsSeenInside.push_back(host.calls().size());
      host.GetPluginId();  // a nested call, recorded after the CallAction
    }
    return 0;
  };
  const char text[] = "nowy status www.x.pl";
  ActionNotify n{};
  n.size = kActionNotifySize;
  n.id = action::kChatLinkButton;
  n.parent = group::kChatWindow;
  n.cnt = 5;
  n.code = notify::kRefresh;
  n.p1 = ptrValue(text);
  n.p2 = notify::kStatusTextMarker;
  toHost(msg::kCallAction, &n);

  ASSERT_EQ(notifications().size(), 1u);
  const Received r = notifications()[0];  // a copy: the list is a temporary
  EXPECT_NE(r.p1Address, static_cast<const void*>(&n)) << "the plug-in gets the host's own copy";
  EXPECT_EQ(std::memcmp(&r.notify, &n, sizeof n), 0);
  EXPECT_EQ(host.deliveredNotifies(), 1);
  EXPECT_EQ(callsSeenInside, std::vector<std::size_t>{1});
  ASSERT_EQ(host.calls().size(), 2u);
  EXPECT_EQ(host.calls()[0].messageId, msg::kCallAction);
  EXPECT_EQ(host.calls()[0].record.size(), kActionNotifySize);
  EXPECT_EQ(host.calls()[0].text, text);
  EXPECT_EQ(host.calls()[1].op, HostCall::Op::GetPluginId);
}

TEST_F(Emulator, ActionHandlesExistForOpenChatsAndInsertedActions) {
  insert(46, 109101, 0x04000010, "Brisko", 109001, kActionInfoSize);
  host.openChat(5);
  const struct {
    ActionRef ref;
    bool exists;
  } cases[] = {
      {{group::kChatWindowAction, 0, 5}, true},
      {{group::kChatWindowAction, 0, 6}, false},
      {{action::kConfigPage, group::kConfigPages, kNoContact}, true},
      {{action::kConfigPage, 30, kNoContact}, false},
      {{109999, 46, kNoContact}, false},
  };
  for (const auto& c : cases) {
    ActionRef ref = c.ref;
    EXPECT_EQ(toHost(msg::kGetActionHandle, &ref) != 0, c.exists) << ref.id << "/" << ref.cnt;
    EXPECT_EQ(host.calls().back().record.size(), kActionRefSize);
  }
  host.closeChat(5);
  ActionRef chat{group::kChatWindowAction, 0, 5};
  EXPECT_EQ(toHost(msg::kGetActionHandle, &chat), 0);
}

TEST_F(Emulator, IconsAreRegisteredAndRecorded) {
  IconRecord icon{};
  icon.size = kIconRecordSize;
  icon.iconId = 109001;
  icon.iconKind = 1;
  icon.one16 = 1;
  icon.module = 0x10000000;
  icon.resourceId = 101;
  toHost(msg::kRegisterIcon, &icon);
  ASSERT_EQ(host.icons().size(), 1u);
  EXPECT_EQ(host.icons()[0].resourceId, 101u);
  EXPECT_EQ(host.calls().back().record.size(), kIconRecordSize);
}

TEST_F(Emulator, ValueToTextWritesAtMost51BytesAndAZero) {
  host.setPluginValueText(std::string(60, 'v'));
  const int value = toHost(msg::kGetPluginValue, reinterpret_cast<const void*>(42));
  char buffer[64];
  std::memset(buffer, 0x7F, sizeof buffer);
  HostMessage m{};
  m.size = kHostMessageSize;
  m.id = msg::kValueToText;
  m.p1 = static_cast<std::uint32_t>(value);
  m.p2 = ptrValue(buffer);
  host.SendToHost(&m);
  EXPECT_EQ(std::string(buffer), std::string(51, 'v'));
  EXPECT_EQ(buffer[52], 0x7F) << "nothing past the terminating zero";
}

TEST_F(Emulator, SendToPluginReachesOnlyThisPlugIn) {
  static const char kName[] = "Brisko";
  g_script = [](HostMessage* m) {
    return m->id == msg::kDisplayNameQuery ? static_cast<int>(ptrValue(kName)) : 7;
  };
  HostMessage m{};
  m.size = kHostMessageSize;
  m.id = msg::kDisplayNameQuery;
  EXPECT_EQ(host.SendToPlugin(42, &m), static_cast<int>(ptrValue(kName)));
  EXPECT_EQ(host.calls().back().text, "Brisko");
  EXPECT_EQ(host.SendToPlugin(43, &m), 0);
  EXPECT_EQ(g_received.size(), 1u);
}

// --- the host's tables
// ---------------------------------------------------------------------------------

TEST_F(Emulator, ConfigurationColumnsStoreDefaultsAndValues) {
  const char key[] = "Brisko/cfg_liczba_linkow";
  const char textKey[] = "Brisko/cfg_skladnia_http";
  const char textDefault[] = "-@$?&%=";
  registerColumn(109115, 0, 5, key);
  registerColumn(109119, 1, ptrValue(textDefault), textKey);
  ASSERT_EQ(host.calls().size(), 2u);
  EXPECT_EQ(host.calls()[0].message.size(), kConfigColumnRecordSize);
  EXPECT_EQ(host.calls()[0].record.size(), kConfigColumnRecordSize);
  EXPECT_EQ(host.calls()[0].text, key);
  EXPECT_EQ(host.calls()[1].defaultText, textDefault);

  ConfigValue v{};
  v.type = 0;
  host.GetValue(kConfigTable, 0, 109115, &v);
  EXPECT_EQ(+v.value, 5u);
  host.setConfigInt(109115, 9);
  host.GetValue(kConfigTable, 0, 109115, &v);
  EXPECT_EQ(+v.value, 9u);

  ConfigValue t{};
  t.type = 1;
  host.GetValue(kConfigTable, 0, 109119, &t);
  ASSERT_NE(+t.value, 0u);
  EXPECT_STREQ(valuePtr<const char>(t.value), "-@$?&%=");
  host.setConfigText(109119, "abc");
  host.GetValue(kConfigTable, 0, 109119, &t);
  EXPECT_STREQ(valuePtr<const char>(t.value), "abc");
  EXPECT_EQ(host.calls().back().text, "abc");

  // Registering again keeps what is stored.
  registerColumn(109115, 0, 5, key);
  EXPECT_EQ(host.column(109115)->intValue(), 9);
  EXPECT_EQ(host.columns().size(), 2u);

  ConfigValue missing{};
  missing.type = 1;
  missing.value = 0xDEAD;
  host.GetValue(kConfigTable, 0, 109999, &missing);
  EXPECT_EQ(+missing.value, 0u);
}

TEST_F(Emulator, ContactRowsAndStatuses) {
  host.addContact(3, "pierwszy");
  host.addBrokenRow();
  host.addContact(9, "drugi");
  host.setNullStatus(11);
  EXPECT_EQ(toHost(msg::kGetContactCount), 4);
  EXPECT_EQ(host.GetRowId(kContactTable, 0), 3);
  EXPECT_EQ(host.GetRowId(kContactTable, 1), -1);
  EXPECT_EQ(host.GetRowId(kContactTable, 2), 9);
  EXPECT_EQ(host.GetRowId(kContactTable, 4), -1);

  ConfigValue v{};
  v.type = 1;
  host.GetValue(kContactTable, 9, kStatusDescriptionColumn, &v);
  EXPECT_STREQ(valuePtr<const char>(v.value), "drugi");
  host.GetValue(kContactTable, 11, kStatusDescriptionColumn, &v);
  EXPECT_EQ(+v.value, 0u) << "a null status is answered with a null pointer";
  host.setContactStatus(3, "zmieniony");
  host.GetValue(kContactTable, 3, kStatusDescriptionColumn, &v);
  EXPECT_STREQ(valuePtr<const char>(v.value), "zmieniony");
}

// --- menus as the user sees them
// ------------------------------------------------------------------------

TEST_F(Emulator, ContactMenuPreparesThenReadsWhatIsVisible) {
  insert(30, 109010, 0x01000010, "Linki");
  for (std::uint32_t j = 0; j < 10; ++j) insert(109010, 109012 + j, 0x01000000, "Link_xx");
  insert(30, 109011, 0x01000000, "Link");
  // The plug-in shows the first two slots for contact 4 only.
  g_script = [this](HostMessage* m) {
    const auto* n = valuePtr<const ActionNotify>(m->p1);
    if (m->id == msg::kActionNotify && n->id == 109010 && n->code == notify::kPrepare) {
      for (std::uint32_t j = 0; j < 10; ++j)
        setStatus(109012 + j, 109010, n->cnt, j < 2 ? 0 : 1, 1);
      setText(msg::kSetAction, 109013, 109010, n->cnt, "drugi");
      setStatus(109011, 30, n->cnt, 1, 1);
      if (n->cnt != 4) setStatus(109010, 30, n->cnt, 1, 1);
    }
    return 0;
  };
  emu::ContactMenu menu = host.contactMenu(4);
  ASSERT_EQ(notifications().size(), 1u);
  EXPECT_EQ(+notifications()[0].notify.code, notify::kPrepare);
  EXPECT_EQ(+notifications()[0].notify.parent, 30u);
  EXPECT_TRUE(menu.submenuShown);
  EXPECT_EQ(menu.items, (std::vector<std::string>{"Link_xx", "drugi"}));
  EXPECT_EQ(menu.itemIds, (std::vector<std::uint32_t>{109012, 109013}));
  EXPECT_FALSE(menu.singleShown);

  menu = host.contactMenu(5);
  EXPECT_FALSE(menu.submenuShown);
  EXPECT_TRUE(menu.items.empty());

  host.chooseMenuItem(4, 109013, false);
  EXPECT_EQ(+notifications().back().notify.id, 109013u);
  EXPECT_EQ(+notifications().back().notify.parent, 109010u);
  EXPECT_EQ(+notifications().back().notify.cnt, 4);
  EXPECT_EQ(+notifications().back().notify.code, notify::kActivate);
  host.chooseMenuItem(4, 109011, false);
  EXPECT_EQ(+notifications().back().notify.parent, 30u);
}

TEST_F(Emulator, ShiftIsWhatThePlugInSeesWhileTheChoiceIsHandled) {
  insert(30, 109011, 0x01000000, "Link");
  std::vector<bool> seen;
  g_script = [&](HostMessage* m) {
    if (m->id == msg::kActionNotify) seen.push_back(host.shiftDown());
    return 0;
  };
  host.chooseMenuItem(4, 109011, true);
  host.chooseMenuItem(4, 109011, false);
  EXPECT_EQ(seen, (std::vector<bool>{true, false}));
  EXPECT_FALSE(host.shiftDown()) << "the key is let go after the choice";
}

// --- the configuration page
// ------------------------------------------------------------------------------

class EmulatorPage : public Emulator {
 protected:
  void SetUp() override {
    registerColumn(109110, 0, 1, "menu");
    registerColumn(109115, 0, 5, "count");
    registerColumn(109128, 1, ptrValue("-1"), "regex");
    registerColumn(109129, 1, ptrValue("0"), "author");
    insert(46, 109101, 0x04000010, "Strona", 109001, kActionInfoSize);
    insert(109101, 0, 0x000F0000, "Grupa", 0, kActionInfoSize);
    insert(109101, action::kConfigControlBase, 0x00060000, "Pole wyboru", 109110);
    insert(109101, 0, 0x00090040, "Liczba", 0);
    insert(109101, action::kConfigControlBase, 0x000B0000, "\x1Atip=maks. 10", 109115);
    insert(109101, action::kConfigControlBase, 0x03193040, "autorsk\xB9", 109129);
    insert(109101, action::kConfigControlBase, 0x03193000,
           "wyra\xBF"
           "eniem",
           109128);
    insert(109101, action::kConfigControlBase, 0x000E0000, "Domy\x9Clne", 109123);
    insert(109101, 0, 0x00100000, nullptr, 0, kActionInfoSize);
    host.setConfigInt(109110, 0);
  }
};

TEST_F(EmulatorPage, ControlsAreKnownByColumnAndStartFromTheConfiguration) {
  ASSERT_NE(host.control(109110), nullptr);
  EXPECT_EQ(host.control(109110)->id, 0x1101AA36u);
  EXPECT_EQ(host.control(109110)->caption, "Pole wyboru");
  EXPECT_EQ(host.controlValue(109110), "0");
  EXPECT_EQ(host.controlValue(109115), "5");
  EXPECT_EQ(host.controlValue(109128), "-1");
  EXPECT_EQ(host.controlValue(109129), "0");
  EXPECT_EQ(host.controlValue(109123), "") << "a button has no value";
  const char* value = getValue(0x11000000u | 109115, 109101, kNoContact);
  ASSERT_NE(value, nullptr);
  EXPECT_STREQ(value, "5");
}

TEST_F(EmulatorPage, ShowingThePagePreparesAndRefreshesEveryControl) {
  host.showPage();
  std::vector<std::pair<std::uint32_t, std::uint32_t>> seen;  // control number, code
  for (const Received& r : notifications()) {
    EXPECT_EQ(+r.notify.parent, 109101u);
    EXPECT_EQ(+r.notify.cnt, kNoContact);
    seen.emplace_back(r.notify.id & 0x00FFFFFFu, +r.notify.code);
  }
  const std::vector<std::pair<std::uint32_t, std::uint32_t>> expected = {
      {109110, 10}, {109115, 10}, {109129, 10}, {109128, 10}, {109123, 10},
      {109110, 12}, {109115, 12}, {109129, 12}, {109128, 12}, {109123, 12}};
  EXPECT_EQ(seen, expected);
}

TEST_F(EmulatorPage, ClicksToggleCheckBoxesChooseRadiosAndSkipInactiveControls) {
  host.clickControl(109110);
  EXPECT_EQ(host.controlValue(109110), "1");
  host.clickControl(109110);
  EXPECT_EQ(host.controlValue(109110), "0");
  host.clickControl(109128);
  EXPECT_EQ(host.controlValue(109128), "0");
  host.clickControl(109123);
  host.clickControl(109115);  // a text field is typed into, not clicked
  ASSERT_EQ(notifications().size(), 4u);
  EXPECT_EQ(+notifications()[2].notify.id, 0x11000000u | 109128);
  EXPECT_EQ(+notifications()[2].notify.code, notify::kActivate);
  EXPECT_EQ(+notifications()[3].notify.id, 0x11000000u | 109123);

  setStatus(0x11000000u | 109123, 109101, kNoContact, 0xFFFFFFFFu, 2);
  host.clickControl(109123);
  EXPECT_EQ(notifications().size(), 4u) << "an inactive button takes no click";
}

TEST_F(EmulatorPage, ApplyStoresTheValuesThenTellsThePage) {
  // The plug-in corrects the count while it takes the page over.
  g_script = [this](HostMessage* m) {
    const auto* n = valuePtr<const ActionNotify>(m->p1);
    if (m->id == msg::kActionNotify && n->id == 109101 && n->code == notify::kApply) {
      EXPECT_EQ(host.column(109115)->intValue(), 0) << "stored before the page is told";
      setText(msg::kSetActionValue, 0x11000000u | 109115, 109101, kNoContact, "1");
    }
    return 0;
  };
  host.setControlValue(109110, "1");
  host.setControlValue(109115, "0");
  host.clickControl(109128);
  g_received.clear();
  host.applyPage();
  ASSERT_EQ(notifications().size(), 1u);
  EXPECT_EQ(+notifications()[0].notify.id, 109101u);
  EXPECT_EQ(+notifications()[0].notify.parent, 46u);
  EXPECT_EQ(+notifications()[0].notify.cnt, kNoContact);
  EXPECT_EQ(+notifications()[0].notify.code, notify::kApply);
  EXPECT_EQ(host.column(109110)->intValue(), 1);
  EXPECT_EQ(host.column(109115)->intValue(), 1) << "the correction is kept";
  EXPECT_EQ(host.column(109128)->textValue(), "0");
}

TEST_F(EmulatorPage, RendersThePageAsTheUserSeesIt) {
  host.showPage();
  setStatus(0x11000000u | 109123, 109101, kNoContact, 0xFFFFFFFFu, 2);
  const std::string expected =
      "=== Strona ===\n"
      "+-- Grupa --\n"
      "| [ ] Pole wyboru\n"
      "| Liczba [5           ]\n"
      "|     tip: maks. 10\n"
      "| (o) autorsk\xC4\x85 ( ) wyra\xC5\xBC"
      "eniem\n"
      "| <Domy\xC5\x9Blne> (inactive)\n"
      "+--\n";
  EXPECT_EQ(emu::renderConfigPage(host.actions()), expected);
}

TEST(EmulatorRender, MenusButtonsAndCalls) {
  emu::ContactMenu menu;
  menu.submenuShown = true;
  menu.items = {"pierwszy",
                "drugi \xB3\xB9"
                "ka"};
  EXPECT_EQ(emu::renderContactMenu(menu),
            "Linki >\n   1. pierwszy\n   2. drugi \xC5\x82\xC4\x85ka\n");
  EXPECT_EQ(emu::renderContactMenu(emu::ContactMenu{}), "(no link entries)\n");
  emu::ChatButton button{true, "http://x.pl"};
  EXPECT_EQ(emu::renderChatButton(button), "[Link: http://x.pl]");
  EXPECT_EQ(emu::renderChatButton(emu::ChatButton{}), "(no link button)");

  HostCall error{HostCall::Op::SetError};
  error.args = {1};
  EXPECT_EQ(emu::renderCall(error), "SetError code 1");
}

TEST(EmulatorRender, ControlTextParameters) {
  const ControlText t = splitControlText("Pole\x1Atip=raz\ndwa\x1AtipWidth=300\x01reszta");
  EXPECT_EQ(t.visible, "Pole");
  EXPECT_EQ(t.param("tip"), "raz\ndwa");
  EXPECT_EQ(t.param("tipWidth"), "300") << "a byte below 0x08 ends a value";
  EXPECT_EQ(t.param("imgurl"), "");
  EXPECT_EQ(emu::richTextLines("<b>Brisko</b><br/>Autor: x"),
            (std::vector<std::string>{"Brisko", "Autor: x"}));
}

// --- text conversion
// ---------------------------------------------------------------------------------------

TEST(Cp1250, PolishLettersAndTheSpecialCharacters) {
  const struct {
    unsigned char byte;
    char32_t codePoint;
  } table[] = {
      {0xA5, 0x0104}, {0xB9, 0x0105}, {0xC6, 0x0106}, {0xE6, 0x0107}, {0xCA, 0x0118},
      {0xEA, 0x0119}, {0xA3, 0x0141}, {0xB3, 0x0142}, {0xD1, 0x0143}, {0xF1, 0x0144},
      {0xD3, 0x00D3}, {0xF3, 0x00F3}, {0x8C, 0x015A}, {0x9C, 0x015B}, {0x8F, 0x0179},
      {0x9F, 0x017A}, {0xAF, 0x017B}, {0xBF, 0x017C}, {0x80, 0x20AC}, {0x85, 0x2026},
      {0x96, 0x2013}, {0x84, 0x201E}, {0xA0, 0x00A0}, {0xFF, 0x02D9}, {'A', 'A'},
      {0x1A, 0x1A},   {0x81, 0xFFFD}, {0x83, 0xFFFD}, {0x88, 0xFFFD}, {0x90, 0xFFFD},
      {0x98, 0xFFFD},
  };
  for (const auto& row : table) {
    EXPECT_EQ(emu::cp1250ToCodePoint(row.byte), row.codePoint) << std::hex << int{row.byte};
  }
  EXPECT_EQ(emu::cp1250ToUtf8("Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1"),
            "Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87 g\xC4\x99\xC5\x9Bl\xC4\x85 ja\xC5\xBA\xC5\x84");
}

TEST(Cp1250, EveryDefinedByteComesBackFromUtf8) {
  for (int b = 1; b < 256; ++b) {
    const std::string one(1, static_cast<char>(b));
    const char32_t cp = emu::cp1250ToCodePoint(static_cast<unsigned char>(b));
    const std::string back = emu::utf8ToCp1250(emu::cp1250ToUtf8(one));
    if (cp == 0xFFFD) {
      EXPECT_EQ(back, "?") << b;
    } else {
      EXPECT_EQ(back, one) << b;
    }
  }
  // Characters the code page lacks and broken UTF-8 give the replacement.
  EXPECT_EQ(emu::utf8ToCp1250("\xE2\x82\xAC \xE4\xB8\xAD \xC5"), "\x80 ? ?");
}

// --- the system bridge on Windows
// ----------------------------------------------------------------------

#if defined(_WIN32)
TEST_F(Emulator, OpeningThroughTheShellIsRecordedNotPerformed) {
  // The emulator bound to a linked-in plug-in redirects the program's own
  // ShellExecuteA import.
  host.clearOpenedLinks();
  HINSTANCE answer =
      ShellExecuteA(nullptr, "open", "http://nie.otwieraj.pl", nullptr, nullptr, SW_SHOWNORMAL);
  EXPECT_EQ(reinterpret_cast<INT_PTR>(answer), 42);
  ASSERT_EQ(host.shellOpens().size(), 1u);
  EXPECT_EQ(host.shellOpens()[0].file, "http://nie.otwieraj.pl");
  EXPECT_EQ(host.shellOpens()[0].verb, "open");
  EXPECT_EQ(host.shellOpens()[0].show, SW_SHOWNORMAL);
}

TEST_F(Emulator, TheClipboardIsTheRealOne) {
  host.clearClipboard();
  EXPECT_TRUE(host.clipboardBytes().empty());
  const char text[] = "http://schowek.pl";
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof text);
  ASSERT_NE(block, nullptr);
  std::memcpy(GlobalLock(block), text, sizeof text);
  GlobalUnlock(block);
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  ASSERT_NE(SetClipboardData(CF_TEXT, block), nullptr);
  CloseClipboard();
  EXPECT_EQ(host.clipboardBytes(), std::vector<char>(text, text + sizeof text));
  host.clearClipboard();
  EXPECT_TRUE(host.clipboardBytes().empty());
}
#endif

}  // namespace
}  // namespace brisko
