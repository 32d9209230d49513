// Messages to the plug-in, what a user does and sees, and the system
// around the plug-in.
#include "emulator/host_emulator.h"

#include <cstdlib>
#include <utility>
#include <vector>

#include "emulator/plugin_memory.h"
#include "host/ids.h"

namespace brisko::emu {

using page::ElementKind;

// --- messages to the plug-in ----------------------------------------------------------

int HostEmulator::send(std::uint32_t id, std::uint32_t p1, std::uint32_t p2, std::uint16_t size) {
  if (proc_ == nullptr) return 0;
  // Head words zero; room for the extended form, whatever `size` says.
  HostMessageEx record{{size, id, 0, 0, 0, 0, p1, p2}, 0};
  return proc_(&record.base);
}

int HostEmulator::sendRecord(HostMessage* record) {
  if (proc_ == nullptr || record == nullptr) return 0;
  return proc_(record);
}

bool HostEmulator::startUp() {
  if (send(msg::kInit, ptrValue(static_cast<IHost*>(this))) != 1) return false;
  if (send(msg::kRegisterColumns) != 1) return false;
  if (send(msg::kBuildUserInterface) != 1) return false;
  if (send(msg::kLoadSettings) != 1) return false;
  return true;
}

int HostEmulator::shutDown() { return send(msg::kShutdown); }

int HostEmulator::notify(std::uint32_t id, std::uint32_t parent, std::int32_t cnt,
                         std::uint32_t code, std::uint32_t p1, std::uint32_t p2) {
  ActionNotify n{kActionNotifySize, id, parent, cnt, code, /*reserved18=*/0, p1, p2};
  return send(msg::kActionNotify, ptrValue(&n), 0);
}

// --- what a user does and sees -----------------------------------------------------------------

ContactMenu HostEmulator::contactMenu(std::int32_t contact) {
  notify(action::kLinksMenu, group::kContactMenu, contact, notify::kPrepare);
  ContactMenu menu;
  if (const HostAction* sub = action(action::kLinksMenu, group::kContactMenu)) {
    menu.submenuShown = !sub->hiddenFor(contact);
  }
  if (menu.submenuShown) {
    for (std::uint32_t j = 0; j < 10; ++j) {
      const HostAction* item = action(action::kLinkItemBase + j, action::kLinksMenu);
      if (item != nullptr && !item->hiddenFor(contact)) {
        menu.items.push_back(item->textFor(contact));
        menu.itemIds.push_back(item->id);
      }
    }
  }
  if (const HostAction* single = action(action::kSingleLinkItem, group::kContactMenu)) {
    menu.singleShown = !single->hiddenFor(contact);
    if (menu.singleShown) menu.singleText = single->textFor(contact);
  }
  return menu;
}

void HostEmulator::chooseMenuItem(std::int32_t contact, std::uint32_t actionId, bool shift) {
  const std::uint32_t parent =
      actionId == action::kSingleLinkItem ? group::kContactMenu : action::kLinksMenu;
  setShift(shift);
  notify(actionId, parent, contact, notify::kActivate);
  if (shift) setShift(false);  // the user lets go of the key
}

ChatButton HostEmulator::chatButton(std::int32_t contact) {
  notify(action::kChatLinkButton, group::kChatWindow, contact, notify::kPrepare);
  return readChatButton(contact);
}

ChatButton HostEmulator::readChatButton(std::int32_t contact) const {
  ChatButton button;
  for (const HostAction& a : actions_) {
    if (a.id == action::kChatLinkButton && a.parent == group::kChatWindow) {
      button.shown = !a.hiddenFor(contact);
      button.text = a.textFor(contact);
      break;
    }
  }
  return button;
}

void HostEmulator::clickChatButton(std::int32_t contact, bool shift) {
  setShift(shift);
  notify(action::kChatLinkButton, group::kChatWindow, contact, notify::kActivate);
  if (shift) setShift(false);
}

void HostEmulator::ensureControlValues() {
  if (!controlsLoaded_) loadControlValues();
}

void HostEmulator::loadControlValues() {
  for (HostAction& a : actions_) {
    if (!a.isControl()) continue;
    a.instanceText.clear();
    if (const ConfigColumn* c = column(a.param)) {
      a.text = columnValueText(*c, a.kind());
    }
  }
  controlsLoaded_ = true;
}

void HostEmulator::storeControlValues() {
  for (const HostAction& a : actions_) {
    if (!a.isControl()) continue;
    ConfigColumn* c = column(a.param);
    if (c == nullptr) continue;  // a button
    if (c->type != 0) {
      c->storedText = a.text;
      continue;
    }
    // An integer column keeps its value when the control's text is no number.
    const char* begin = a.text.c_str();
    char* end = nullptr;
    const long value = std::strtol(begin, &end, 10);
    if (end != begin) c->storedInt = static_cast<std::int32_t>(value);
  }
}

void HostEmulator::setControlValue(std::uint32_t columnId, const std::string& value) {
  ensureControlValues();
  if (HostAction* c = control(columnId)) {
    c->text = value;
    c->instanceText.clear();
  }
}

std::string HostEmulator::controlValue(std::uint32_t columnId) {
  ensureControlValues();
  const HostAction* c = control(columnId);
  return c != nullptr ? c->text : std::string();
}

void HostEmulator::clickControl(std::uint32_t columnId) {
  ensureControlValues();
  HostAction* c = control(columnId);
  if (c == nullptr || c->disabled()) return;  // an inactive control takes no click
  const ElementKind kind = c->kind();
  if (kind == ElementKind::CheckBox) {
    c->text = (!c->text.empty() && c->text[0] == '1') ? "0" : "1";
  } else if (kind == ElementKind::Radio) {
    c->text = "0";
  } else if (kind != ElementKind::Button) {
    return;  // labels and fields are not clicked
  }
  notify(c->id, c->parent, kNoContact, notify::kActivate);
}

void HostEmulator::showPage() {
  loadControlValues();
  // The host prepares each control when it creates the page, then refreshes
  // each one when it brings the page up to date.
  std::vector<std::pair<std::uint32_t, std::uint32_t>> controls;  // id, parent
  for (const HostAction& a : actions_) {
    if (a.isControl()) controls.emplace_back(a.id, a.parent);
  }
  for (const auto& [id, parent] : controls) notify(id, parent, kNoContact, notify::kPrepare);
  for (const auto& [id, parent] : controls) notify(id, parent, kNoContact, notify::kRefresh);
}

int HostEmulator::applyPage() {
  ensureControlValues();
  storeControlValues();
  const int result = notify(action::kConfigPage, group::kConfigPages, kNoContact, notify::kApply);
  // What the plug-in corrected in the controls is what the host keeps.
  storeControlValues();
  return result;
}

// --- the system around the plug-in ------------------------------------------------------------

void HostEmulator::setShift(bool down) { emu::setShift(down); }

bool HostEmulator::shiftDown() const { return emu::shiftDown(); }

std::vector<std::string> HostEmulator::openedLinks() const {
  std::vector<std::string> links;
  for (const ShellOpen& open : emu::shellOpens()) links.push_back(open.file);
  return links;
}

std::vector<ShellOpen> HostEmulator::shellOpens() const { return emu::shellOpens(); }

void HostEmulator::clearOpenedLinks() { emu::clearShellOpens(); }

std::vector<char> HostEmulator::clipboardBytes() const { return emu::clipboardBytes(); }

void HostEmulator::clearClipboard() { emu::clearClipboard(); }

}  // namespace brisko::emu
