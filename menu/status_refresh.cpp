#include "menu/status_refresh.h"

#include "host/host_calls.h"
#include "host/ids.h"

namespace brisko {
namespace {

bool chatWindowOpen(std::int32_t contact) {
  return host::GetActionHandle({group::kChatWindowAction, 0, contact}) != 0;
}

// Sends the chat button of `contact` a refresh notification. The host
// delivers it back to the plug-in (message 22200) before CallAction returns.
void sendRefresh(std::int32_t contact, std::uint32_t p1, std::uint32_t p2) {
  ActionNotify refresh{};
  refresh.size = kActionNotifySize;
  refresh.id = action::kChatLinkButton;
  refresh.parent = group::kChatWindow;
  refresh.cnt = contact;
  refresh.code = notify::kRefresh;
  refresh.reserved18 = 0;
  refresh.p1 = p1;
  refresh.p2 = p2;
  host::CallAction(refresh);
}

}  // namespace

int onStatusChange(const HostMessageEx& message) {
  const std::uint32_t statusText = message.p3;
  const auto contact = static_cast<std::int32_t>(message.base.p1);
  if (statusText == 0) return 0;
  if (contact == 0) return 0;
  if (!chatWindowOpen(contact)) return 0;
  // The text stays the host's; it is valid until CallAction returns.
  sendRefresh(contact, statusText, notify::kStatusTextMarker);
  return 0;
}

void refreshChatButtons() {
  const std::vector<std::int32_t> contacts = listContactIds();
  for (const std::int32_t contact : contacts) {
    if (chatWindowOpen(contact)) sendRefresh(contact, 0, 0);
  }
}

std::vector<std::int32_t> listContactIds() {
  std::vector<std::int32_t> ids;
  const int count = host::GetContactCount();
  for (int i = 0; i < count; ++i) {
    const int id = host::GetContactId(i);
    if (id == -1) continue;
    ids.push_back(id);
  }
  return ids;
}

}  // namespace brisko
