#include "menu/link_actions.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "host/host_calls.h"
#include "host/host_interface.h"
#include "host/ids.h"
#include "menu/open_copy.h"
#include "menu/status_refresh.h"
#include "settings/config_page.h"
#include "settings/texts.h"

namespace brisko {
namespace {

// Host-defined status bits passed at insertion.
constexpr std::uint32_t kInsertedItem = 0x01000000;
constexpr std::uint32_t kInsertedButton = 0x03000000;

// The icon kind the host is told with each of the two icon ids (the meaning
// of the numbers is the host's).
constexpr std::uint32_t kPluginIconKind = 1;   // with action::kPluginIcon
constexpr std::uint32_t kPluginIcon2Kind = 2;  // with action::kPluginIcon2

constexpr std::int32_t kAppend = -1;
constexpr std::int32_t kLinksMenuPosition = 1;
constexpr std::int32_t kSingleLinkItemPosition = 2;

constexpr host::ActionTarget kLinksMenuTarget{action::kLinksMenu, group::kContactMenu, kNoContact};
constexpr host::ActionTarget kSingleItemTarget{action::kSingleLinkItem, group::kContactMenu,
                                               kNoContact};
constexpr host::ActionTarget kConfigPageTarget{action::kConfigPage, group::kConfigPages,
                                               kNoContact};

host::ActionTarget slotTarget(std::size_t slot) {
  return {action::kLinkItemBase + static_cast<std::uint32_t>(slot), action::kLinksMenu, kNoContact};
}

host::ActionTarget targetOf(const ActionNotify& event) {
  return {event.id, event.parent, event.cnt};
}

void hide(const host::ActionTarget& target) {
  host::SetActionStatus(target, status::kHidden, status::kHidden);
}

void show(const host::ActionTarget& target) { host::SetActionStatus(target, 0, status::kHidden); }

bool isPrepare(std::uint32_t code) { return code == notify::kPrepare || code == notify::kRefresh; }

// The item a choice maps to: SingleLinkItem and slot 0 are index 0, slot j
// is index j.
bool choiceIndex(std::uint32_t id, std::size_t* index) {
  if (id == action::kSingleLinkItem) {
    *index = 0;
    return true;
  }
  if (id >= action::kLinkItemBase && id < action::kLinkItemBase + action::kLinkItemSlots) {
    *index = id - action::kLinkItemBase;
    return true;
  }
  return false;
}

}  // namespace

void registerIcons() {
  // The module handle is asked afresh for each registration.
  host::RegisterIcon(action::kPluginIcon, kPluginIconKind,
                     static_cast<std::uint32_t>(host::GetPluginInstance()), kIconResourceId);
  host::RegisterIcon(action::kPluginIcon2, kPluginIcon2Kind,
                     static_cast<std::uint32_t>(host::GetPluginInstance()), kIconResourceId);
}

void createActions() {
  const std::uint32_t icon = action::kPluginIcon;

  host::Insertion links;
  links.parent = group::kContactMenu;
  links.id = action::kLinksMenu;
  links.position = kLinksMenuPosition;
  links.status = kInsertedItem | status::kContainer;
  links.text = texts::kLinksMenuText;
  links.param = icon;
  host::InsertAction(links);

  // Slot j is the (j+1)-th child of the submenu; its text is a placeholder.
  for (std::uint32_t j = 0; j < action::kLinkItemSlots; ++j) {
    host::Insertion slot;
    slot.parent = action::kLinksMenu;
    slot.id = action::kLinkItemBase + j;
    slot.position = kAppend;
    slot.status = kInsertedItem;
    slot.text = texts::kLinkItemTexts[j];
    slot.param = 0;
    host::InsertAction(slot);
  }

  host::Insertion single;
  single.parent = group::kContactMenu;
  single.id = action::kSingleLinkItem;
  single.position = kSingleLinkItemPosition;
  single.status = kInsertedItem;
  single.text = texts::kLinkText;
  single.param = icon;
  host::InsertAction(single);

  host::Insertion button;
  button.parent = group::kChatWindow;
  button.id = action::kChatLinkButton;
  button.position = kAppend;
  button.status = kInsertedButton;
  button.text = texts::kLinkText;
  button.param = icon;
  host::InsertAction(button);
}

int handleActionNotify(const ActionNotify* event, LinkSettings& settings, LinkFront& links) {
  if (event == nullptr) return 0;
  if (isConfigControl(event->id)) {
    handleConfigControl(*event, settings);
    return 0;
  }

  const std::uint32_t code = event->code;
  std::size_t index = 0;
  if (event->id == action::kLinksMenu) {
    if (isPrepare(code)) prepareLinksMenu(*event, settings, links);
  } else if (choiceIndex(event->id, &index)) {
    if (code == notify::kActivate) useLinkAt(links.found(), index, isShiftDown());
  } else if (event->id == action::kChatLinkButton) {
    if (code == notify::kActivate) {
      activateChatButton(*event, settings, links);
    } else if (isPrepare(code)) {
      prepareChatButton(*event, settings, links);
    }
  } else if (event->id == action::kConfigPage) {
    if (code == notify::kApply && host::GetActionHandle(kConfigPageTarget) != 0) {
      if (applyConfigPage(settings)) refreshChatButtons();
    }
  }
  return 0;
}

void prepareLinksMenu(const ActionNotify& event, const LinkSettings& settings, LinkFront& links) {
  const std::string status = readContactStatus(event.cnt);
  if (!status.empty() && settings.showInContactMenu) {
    links.collectLinks(settings, status, settings.linkCount);
    if (!links.found().displayLinks.empty()) {
      fillLinksMenu(links.found().displayLinks, settings);
      return;
    }
  }
  hide(targetOf(event));
  hide(kSingleItemTarget);
}

void fillLinksMenu(std::vector<std::string> candidates, const LinkSettings& settings) {
  const std::size_t slots = action::kLinkItemSlots;
  const std::size_t n = std::min(candidates.size(), slots);
  const std::int32_t length = settings.displayLength;
  auto menuText = [&](const std::string& candidate) {
    return shortenForMenu(displayFormOf(candidate, settings.cutHttp, settings.cutWww), length);
  };

  if (n == 1 && !settings.submenuForSingleLink) {
    const std::string text =
        settings.showSingleLinkName ? menuText(candidates[0]) : std::string(texts::kLinkText);
    host::SetActionText(kSingleItemTarget, text);
    show(kSingleItemTarget);
    hide(kLinksMenuTarget);
    return;
  }

  // Every text is in place before anything is shown.
  for (std::size_t j = 0; j < n; ++j) {
    host::SetActionText(slotTarget(j), menuText(candidates[j]));
  }
  show(kLinksMenuTarget);
  hide(kSingleItemTarget);
  for (std::size_t j = 0; j < n; ++j) show(slotTarget(j));
  for (std::size_t j = n; j < slots; ++j) hide(slotTarget(j));
}

void prepareChatButton(const ActionNotify& event, const LinkSettings& settings, LinkFront& links) {
  const host::ActionTarget button = targetOf(event);
  if (!settings.showInChatWindow) {
    hide(button);
    return;
  }

  std::string text;
  if (event.size >= kActionNotifySize && event.p2 == notify::kStatusTextMarker) {
    const char* attached = valuePtr<const char>(event.p1);
    if (attached != nullptr) text = attached;
  } else {
    text = readContactStatus(event.cnt);
  }
  if (text.empty()) {
    hide(button);
    return;
  }

  const std::string link = links.firstLink(settings, text);
  if (link.empty()) {
    hide(button);
    return;
  }
  show(button);
  host::SetActionText(button, link);  // the link whole, as it would be opened
}

void activateChatButton(const ActionNotify& event, const LinkSettings& settings, LinkFront& links) {
  const std::string status = readContactStatus(event.cnt);
  if (status.empty()) return;
  const std::string link = links.firstLink(settings, status);
  if (link.empty()) return;
  if (isShiftDown()) {
    copyLink(link);
  } else {
    openLink(link);
  }
}

void useLinkAt(const FoundLinks& found, std::size_t index, bool copy) {
  if (index >= found.openLinks.size()) return;
  std::string link = found.openLinks[index];
  if (copy) {
    copyLink(std::move(link));
  } else {
    openLink(std::move(link));
  }
}

std::string readContactStatus(int contact) {
  return host::GetContactString(contact, kStatusDescriptionColumn);
}

}  // namespace brisko
