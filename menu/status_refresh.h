// Refreshing the chat windows' link buttons: after a contact's status change,
// and after the settings are taken over from the configuration page.
#pragma once

#include <cstdint>
#include <vector>

#include "host/records.h"

namespace brisko {

// Message 24011 with its 34-byte record: when the contact's chat window is
// open, its button gets a refresh notification carrying the new status text.
// Answers 0.
int onStatusChange(const HostMessageEx& message);

// Sends a refresh notification to the button of every open chat window.
void refreshChatButtons();

// The ids of the host's contacts, in the host's order, without invalid ones.
std::vector<std::int32_t> listContactIds();

}  // namespace brisko
