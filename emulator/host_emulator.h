// The host emulator: plays the messenger host's side for one plug-in.
//
// It implements the host interface object, keeps the host's tables (the
// configuration columns the plug-in registers, the contacts), the actions the
// plug-in inserts with their per-instance texts and status bits, the open chat
// windows, and records every call the plug-in makes with a copy of the bytes
// of its records. `CallAction` delivers the notification back into the plug-in
// (message 22200) before it returns, as the host does.
//
// Typical use:
//   auto module = PluginModule::loadBeside();   // Brisko.dll / Brisko.so
//   HostEmulator host(module->proc(), module->handle());
//   host.startUp();                              // 20001, 21001, 22000, 22100
//   host.addContact(7, "see www.example.pl");
//   ContactMenu menu = host.contactMenu(7);
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "emulator/plugin_module.h"
#include "emulator/system_bridge.h"
#include "host/host_interface.h"
#include "host/ids.h"
#include "host/records.h"
#include "plugin/version.h"
#include "settings/page_elements.h"

namespace brisko::emu {

// One call the plug-in made to the host.
struct HostCall {
  enum class Op {
    GetPluginId,
    GetPluginInstance,
    GetHostState,
    SetError,
    SendToHost,
    SendToPlugin,
    GetRowId,
    GetValue
  };
  Op op;
  std::uint32_t messageId = 0;        // SendToHost / SendToPlugin: the message's id
  std::vector<std::uint8_t> message;  // bytes of the HostMessage (its size field's count)
  std::vector<std::uint8_t> record;   // bytes of the record p1 points to, when it is one
  std::string text;                   // the text an ActionInfo, ConfigColumnRecord or
                                      // ActionNotify points to (text, key or p1 text);
                                      // for GetActionValue, GetValue (type 1), ValueToText
                                      // and SendToPlugin 30012/30013/30016: the text answered
  std::string defaultText;            // ConfigColumnRecord: the default text (type 1)
  std::vector<std::int32_t> args;     // integer arguments (code; pluginId; table, index;
                                      // table, row, column, and the value record's type,
                                      // value and buffer size as offered)
  std::int32_t result = 0;
};

// A configuration column as the host stores it.
struct ConfigColumn {
  std::uint32_t id = 0;
  std::uint32_t type = 0;  // 0 integer, 1 text
  std::string key;
  std::int32_t intDefault = 0;
  std::string textDefault;
  std::optional<std::int32_t> storedInt;
  std::optional<std::string> storedText;
  std::int32_t intValue() const { return storedInt.value_or(intDefault); }
  std::string textValue() const { return storedText.value_or(textDefault); }
};

// An action the plug-in inserted, with the state the host keeps for it.
struct HostAction {
  std::uint32_t id = 0;  // as the host knows it (page controls: controlId(param))
  std::uint32_t parent = 0;
  std::int32_t position = -1;
  std::uint32_t status = 0;  // as inserted, then changed by SetActionStatus (cnt -2)
  std::string text;          // caption or value, changed by SetActionText/Value (cnt -2)
  std::string caption;       // the text as inserted (a page control's label and parameters;
                             // its value is `text`)
  std::uint32_t param = 0;
  std::uint16_t width = 0, height = 0;
  std::uint16_t recordSize = 0;  // 74 or 78
  std::size_t order = 0;         // insertion order
  // Per-contact instances: a change addressed to a contact overrides the
  // shared value for that contact; a change with cnt -2 sets the shared value
  // and drops the overrides.
  std::map<std::int32_t, std::uint32_t> instanceStatus;
  std::map<std::int32_t, std::string> instanceText;

  std::uint32_t statusFor(std::int32_t cnt) const;
  std::string textFor(std::int32_t cnt) const;
  bool hiddenFor(std::int32_t cnt) const { return (statusFor(cnt) & 1u) != 0; }
  bool disabled() const { return (status & 2u) != 0; }
  // The kind of a page element, from its status word as inserted.
  page::ElementKind kind() const { return page::kindOf(insertedStatus); }
  bool isControl() const { return isConfigControl(id); }
  std::uint32_t insertedStatus = 0;
};

// What a contact's menu shows of the plug-in.
struct ContactMenu {
  bool submenuShown = false;           // "Linki"
  std::vector<std::string> items;      // visible slot texts, in slot order (Windows-1250)
  std::vector<std::uint32_t> itemIds;  // their action ids
  bool singleShown = false;            // the single item
  std::string singleText;
};

// What a chat window's link button shows.
struct ChatButton {
  bool shown = false;
  std::string text;
};

// What a test or a fuzzer asks of the host beyond the emulator's rules. Each
// hook, when set, is asked before the emulator answers; an answer it gives
// replaces the emulator's own (nullopt: the emulator answers as usual). The
// call is recorded either way. A hook may throw, as a failing host would.
struct HostHooks {
  // A message the plug-in sends with SendToHost (a raw answer: a null or
  // unterminated text, a refusal).
  std::function<std::optional<int>(HostMessage& message)> sendToHost;
  // A message the plug-in sends itself through SendToPlugin (instead of
  // delivering it).
  std::function<std::optional<int>(int pluginId, HostMessage& message)> sendToPlugin;
  // A table read: the hook writes the value record itself (a raw value, a
  // null or unterminated text) and gives the answer.
  std::function<std::optional<int>(int table, int row, int column, ConfigValue& value)> getValue;
  // The answers of the interface object's own operations (a module handle
  // that changes, say).
  std::function<int()> pluginId;
  std::function<int()> pluginInstance;
  std::function<int()> hostState;
  std::function<int(int table, int index)> rowId;
  // Told of each SetError.
  std::function<void(int code)> setError;
};

class HostEmulator : public IHost {
 public:
  // Without a plug-in's message entry, the emulator is a host object only:
  // messages to the plug-in are answered 0.
  explicit HostEmulator(MessageProc proc = nullptr, void* moduleHandle = nullptr);
  HostEmulator(const HostEmulator&) = delete;
  HostEmulator& operator=(const HostEmulator&) = delete;
  virtual ~HostEmulator();

  // --- IHost (called by the plug-in) ------------------------------------
  int GetPluginId() override;
  int GetPluginInstance() override;
  int GetHostState() override;
  void SetError(int code) override;
  int SendToHost(HostMessage* message) override;
  int SendToPlugin(int pluginId, HostMessage* message) override;
  int GetRowId(int table, int index) override;
  int GetValue(int table, int row, int column, ConfigValue* value) override;

  // --- messages to the plug-in ------------------------------------------
  // Sends a 30-byte HostMessage (or `size` bytes of it) and returns the answer.
  int send(std::uint32_t id, std::uint32_t p1 = 0, std::uint32_t p2 = 0,
           std::uint16_t size = kHostMessageSize);
  // Sends a record as it stands (its own size field).
  int sendRecord(HostMessage* record);
  // 20001 with this object, then 21001, 22000 and 22100. Returns false if
  // any of them is not answered 1.
  bool startUp();
  int shutDown();  // 20002
  // 22200 with an ActionNotify {id, parent, cnt, code, 0, p1, p2}.
  int notify(std::uint32_t id, std::uint32_t parent, std::int32_t cnt, std::uint32_t code,
             std::uint32_t p1 = 0, std::uint32_t p2 = 0);

  // --- the host's side ---------------------------------------------------
  HostHooks& hooks() { return hooks_; }
  // Answers `answer` to every SendToHost of `messageId`, without handling it.
  void answerWith(std::uint32_t messageId, int answer);
  void setPluginId(int id) { pluginId_ = id; }
  int pluginId() const { return pluginId_; }
  void setHostState(int state) { hostState_ = state; }
  // What GetPluginValue answers and the text ValueToText writes for it.
  void setPluginValueText(const std::string& text) { pluginValueText_ = text; }
  // What the plug-in answers 30016 with is asked through SendToPlugin.

  // Configuration table.
  const std::vector<ConfigColumn>& columns() const { return columns_; }
  ConfigColumn* column(std::uint32_t id);
  void setConfigInt(std::uint32_t id, std::int32_t value);
  void setConfigText(std::uint32_t id, const std::string& value);

  // Contact table. Rows are listed in the order added; a row added with
  // `rowId` -1 answers -1 to GetRowId.
  void addContact(std::int32_t id, const std::string& status);
  void addBrokenRow();                                                // a row whose id answers -1
  void setContactStatus(std::int32_t id, const std::string& status);  // no message
  // Changes the status and sends 24011 as the host does; returns the answer.
  int changeStatus(std::int32_t id, const std::string& status);
  // A contact whose status text the host answers with a null pointer.
  void setNullStatus(std::int32_t id);

  // Chat windows.
  void openChat(std::int32_t contact);
  void closeChat(std::int32_t contact);
  bool chatOpen(std::int32_t contact) const;

  // Actions.
  const std::vector<HostAction>& actions() const { return actions_; }
  HostAction* action(std::uint32_t id, std::uint32_t parent);
  HostAction* control(std::uint32_t column);  // page control controlId(column)
  bool pageInserted() const;

  // --- what a user does and sees ----------------------------------------
  ContactMenu contactMenu(std::int32_t contact);  // prepares the menu, then reads it
  void chooseMenuItem(std::int32_t contact, std::uint32_t actionId, bool shift);
  ChatButton chatButton(std::int32_t contact);            // prepares the button, then reads it
  ChatButton readChatButton(std::int32_t contact) const;  // reads without preparing
  void clickChatButton(std::int32_t contact, bool shift);
  // Page: set a control's value as the user would type or tick it.
  // Controls that show a configuration value take it from the stored
  // configuration when first used (integers as decimal text, check boxes
  // "1"/"0", text columns as stored) and again at every showPage.
  void setControlValue(std::uint32_t column, const std::string& value);
  std::string controlValue(std::uint32_t column);
  // Clicks a check box, button or radio button (NotifyActivate); a check box
  // toggles between "1" and "0" first, a radio button becomes "0". An
  // inactive control (StatusDisabled) takes no click; labels and text fields
  // are not clicked.
  void clickControl(std::uint32_t column);
  // Opening the page: the controls are loaded from the stored configuration,
  // then every control gets NotifyPrepare, then every control NotifyRefresh,
  // in insertion order, as the host does when it shows it.
  void showPage();
  // Apply: stores the controls' values into the configuration and sends
  // NotifyApply for the page (109101 in 46, cnt -2); what the plug-in writes
  // back into the controls meanwhile is stored too. Returns the answer.
  int applyPage();

  // Shift state for the next choices, and what the system saw (natively the
  // stand-in of system/native_system.h in Record mode; on Windows the thread's
  // keyboard state, the module's redirected ShellExecuteA import and the real
  // clipboard: see emulator/system_bridge.h). chooseMenuItem and
  // clickChatButton let go of Shift after the choice.
  void setShift(bool down);
  std::vector<std::string> openedLinks() const;
  void clearOpenedLinks();
  // The clipboard's CF_TEXT bytes (including the terminating zero), or empty.
  std::vector<char> clipboardBytes() const;
  void clearClipboard();

  // Every open the shell was asked for, with its verb and show command.
  std::vector<ShellOpen> shellOpens() const;
  bool shiftDown() const;

  // Icons registered (copies of the records).
  const std::vector<IconRecord>& icons() const { return icons_; }
  // Contact ids in row order (broken rows answer -1), and a contact's status.
  std::vector<std::int32_t> contactIds() const;
  std::string contactStatus(std::int32_t id) const;
  bool hasContact(std::int32_t id) const;

  // --- the record of calls -------------------------------------------------
  const std::vector<HostCall>& calls() const { return calls_; }
  void clearCalls() { calls_.clear(); }
  std::vector<HostCall> callsTo(std::uint32_t messageId) const;  // SendToHost and SendToPlugin
  std::vector<HostCall> callsOf(HostCall::Op op) const;
  int errorCount() const;  // SetError calls
  int deliveredNotifies() const { return deliveredNotifies_; }

 private:
  struct Contact {
    std::int32_t id;
    std::string status;
    bool nullStatus = false;
  };
  void recordOnly(const HostMessage* message, std::size_t callIndex);
  int handleSendToHost(HostMessage* message, std::size_t callIndex);
  int actionHandle(const ActionRef& ref) const;
  void registerColumn(const ConfigColumnRecord& record);
  ConfigColumn& storedColumn(std::uint32_t id, std::uint32_t type);
  int handleInsert(const ActionInfo* info);
  int handleChange(std::uint32_t messageId, const ActionInfo* info, std::size_t callIndex);
  int handleCallAction(const ActionNotify* notify);
  void ensureControlValues();
  void loadControlValues();
  void storeControlValues();
  std::string columnValueText(const ConfigColumn& column, page::ElementKind kind) const;
  Contact* findContact(std::int32_t id);
  const Contact* findContact(std::int32_t id) const;

  MessageProc proc_;
  void* module_;
  int pluginId_ = 42;
  int hostState_ = 0;
  std::string pluginValueText_ = BRISKO_VERSION_TEXT;
  std::vector<ConfigColumn> columns_;
  std::vector<Contact> contacts_;
  std::vector<std::int32_t> chats_;
  std::vector<HostAction> actions_;
  std::vector<HostCall> calls_;
  std::vector<IconRecord> icons_;
  std::string lastValue_;  // text answered to GetActionValue, valid until the next one
  std::string lastConfigText_;
  std::string lastContactText_;
  bool controlsLoaded_ = false;
  int deliveredNotifies_ = 0;
  HostHooks hooks_;
  std::map<std::uint32_t, int> answers_;
};

}  // namespace brisko::emu
