// The plug-in's single state object.
//
// Created at message 20001 and destroyed at 20002 (host/dispatch.cpp). It
// owns the settings, the two link lists and the finder that keeps a compiled
// expression. Its operations are implemented beside the concern they belong
// to:
//   settings/plugin_state.cpp   construction, defaults, register/load/apply
//   settings/config_page.cpp    the configuration page
//   links/link_finder.cpp       firstLink, collectLinks, displayForm
//   menu/link_actions.cpp       icons, actions, notifications, open and copy
//   menu/status_refresh.cpp     refresh of chat buttons
// Every operation runs on the host's thread inside a host call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "host/records.h"
#include "links/regex_scanner.h"
#include "settings/link_settings.h"

namespace brisko {

class PluginState {
 public:
  PluginState();
  PluginState(const PluginState&) = delete;
  PluginState& operator=(const PluginState&) = delete;

  // Fixed limits.
  const std::int32_t maxDisplayLength = 999;
  const std::int32_t maxLinkCount = 10;
  const std::int32_t maxAnalysedLength = 9999;
  const std::uint32_t maxExtraCharsLength = 100;
  const std::uint32_t maxRegexLength = 300;

  LinkSettings settings;

  // Found links: entry j of both lists is the same link.
  std::vector<std::string> displayLinks;  // LinkCandidate entries
  std::vector<std::string> openLinks;     // open forms

  const std::int32_t iconId = 109001;
  const std::int32_t iconId2 = 109002;

  // --- settings ---------------------------------------------------------
  // Puts the initial values into `settings`.
  void setDefaults();
  // Registers the thirteen configuration columns (message 21001). Returns 1.
  int registerColumns();
  // Reads the stored configuration into `settings` (message 22100). Returns 1.
  int loadSettings();
  // Takes the edited values over from the configuration page, validating
  // and writing corrections back; may end in refreshChatButtons.
  void applyConfigPage();

  // --- configuration page -----------------------------------------------
  void buildConfigPage();
  // Inserts the information box. Null pointers are absent texts.
  void insertInfoBox(std::uint32_t parent, const char* description, const char* extra,
                     const char* imageAddress, std::uint16_t height, const char* name,
                     bool grouped);
  // Reacts to an event on a page control (id with top byte 0x11). Returns 0.
  int handleConfigControl(const ActionNotify& notify);
  // Enables the controls of the chosen method and disables the other's.
  void setMethodControls(bool regexChosen);

  // --- link finding -----------------------------------------------------
  // Open form of the first link of `status`, or "".
  std::string firstLink(std::string status);
  // Refills displayLinks/openLinks with at most settings.linkCount links.
  void collectLinks(std::string status);
  // Menu text of one LinkCandidate.
  std::string displayForm(std::string candidate) const;

  // --- menus and actions ------------------------------------------------
  // Message 22000: registerIcons, createActions, buildConfigPage. Returns 1.
  int buildUserInterface();
  void registerIcons();
  void createActions();
  // Message 22200. `notify` may not be null. Returns the answer (0).
  int handleActionNotify(const ActionNotify* notify);
  void prepareLinksMenu(const ActionNotify& notify);
  void fillLinksMenu(std::vector<std::string> list);
  void prepareChatButton(const ActionNotify& notify);
  void activateChatButton(const ActionNotify& notify);
  // Opens (or with `copy` copies) openLinks[index]; out of range does nothing.
  void useLinkAt(std::size_t index, bool copy);
  std::string readContactStatus(int contact);

  // --- refresh on status change -----------------------------------------
  // Message 24011 with the 34-byte record. Returns 0.
  int onStatusChange(HostMessageEx message);
  void refreshChatButtons();
  std::vector<std::int32_t> listContactIds();

 private:
  RegexScanner regexScanner_;
  // Strings of link entries the finders removed, kept for reuse so that
  // refilling the lists seldom allocates (links/link_finder.cpp).
  std::vector<std::string> spareLinkStrings_;
};

}  // namespace brisko
