// The link actions: the icons and the insertion of the actions at start-up,
// and every notification the host delivers for them (menu preparation,
// choices, the chat button, the configuration page).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "host/records.h"
#include "links/link_front.h"
#include "settings/link_settings.h"

namespace brisko {

// Registers the plug-in's icon twice (message 22000).
void registerIcons();
// Inserts the "Linki" submenu with its item slots, the single "Link" item
// and the chat button (message 22000).
void createActions();

// Message 22200. `event` may be null (then nothing happens). Events of page
// controls go to handleConfigControl, the page's apply event to
// applyConfigPage. Answers 0.
int handleActionNotify(const ActionNotify* event, LinkSettings& settings, LinkFront& links);

// Fills and shows the contact menu for the contact of `event`, or hides it.
void prepareLinksMenu(const ActionNotify& event, const LinkSettings& settings, LinkFront& links);
// Sets the texts of `candidates` into the item slots (or the single item) and
// shows what is used. Takes its own copy: a host call may re-enter the plug-in.
void fillLinksMenu(std::vector<std::string> candidates, const LinkSettings& settings);
// Shows the chat button with the first link of the contact's status, or hides it.
void prepareChatButton(const ActionNotify& event, const LinkSettings& settings, LinkFront& links);
// Opens (with Shift: copies) the first link of the contact's status.
void activateChatButton(const ActionNotify& event, const LinkSettings& settings, LinkFront& links);
// Opens (or with `copy` copies) found.openLinks[index]; out of range does nothing.
void useLinkAt(const FoundLinks& found, std::size_t index, bool copy);
// The status description of `contact`.
std::string readContactStatus(int contact);

}  // namespace brisko
