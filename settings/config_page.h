// The configuration page: its controls, the information box, and the live
// behaviour of the controls while the user edits them. The page's apply
// event is applyConfigPage (settings/link_settings.h).
#pragma once

#include <cstdint>

#include "host/records.h"
#include "settings/link_settings.h"

namespace brisko {

// Inserts the page and every control on it (message 22000).
void buildConfigPage();

// Inserts the information box into `parent`. Null pointers are absent
// texts; without a `name` the header is the display name the host answers
// for this plug-in, followed (unless the host's state is 1) by the text of a
// host value.
void insertInfoBox(std::uint32_t parent, const char* description, const char* extra,
                   const char* imageAddress, std::uint16_t height, const char* name, bool grouped);

// Reacts to an event on a page control (id with top byte 0x11).
void handleConfigControl(const ActionNotify& event, const LinkSettings& settings);

// Enables the controls of the chosen method and disables the other's.
void setMethodControls(bool regexChosen);

}  // namespace brisko
