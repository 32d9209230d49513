// Numbers shared with the host: message ids, action ids, notification codes,
// status bits and the host's own groups.
#pragma once

#include <cstdint>

namespace brisko {

constexpr int kNetId = 109;

// Messages the host sends to IMessageProc.
namespace msg {
constexpr std::uint32_t kInit = 20001;  // p1: the host interface object
constexpr std::uint32_t kShutdown = 20002;
constexpr std::uint32_t kStartQuery = 20020;  // asked at start; see answer::kStartQuery
constexpr std::uint32_t kRegisterColumns = 21001;
constexpr std::uint32_t kBuildUserInterface = 22000;
constexpr std::uint32_t kLoadSettings = 22100;
constexpr std::uint32_t kSettingsLoaded = 22101;  // follows kLoadSettings; nothing to do
constexpr std::uint32_t kActionNotify = 22200;    // p1: an ActionNotify
constexpr std::uint32_t kStatusChange = 24011;    // the 34-byte form
// Identification queries, asked at any time.
constexpr std::uint32_t kNetIdQuery = 30010;
constexpr std::uint32_t kTypeQuery = 30011;  // see answer::kTypeQuery
constexpr std::uint32_t kVersionQuery = 30012;
constexpr std::uint32_t kNameQuery = 30013;
constexpr std::uint32_t kDisplayNameQuery = 30016;
constexpr std::uint32_t kLastIdentityQuery = 30017;  // answered 0, which is not an error

// Messages the plug-in sends with SendToHost.
constexpr std::uint32_t kInsertAction = 10101;
constexpr std::uint32_t kCallAction = 10103;
constexpr std::uint32_t kGetActionValue = 10106;
constexpr std::uint32_t kSetAction = 10108;  // status or text
constexpr std::uint32_t kSetActionValue = 10110;
constexpr std::uint32_t kGetActionHandle = 10117;
constexpr std::uint32_t kRegisterIcon = 10130;
constexpr std::uint32_t kGetContactCount = 201;
constexpr std::uint32_t kRegisterConfigColumn = 1102;
constexpr std::uint32_t kGetPluginValue = 245;
constexpr std::uint32_t kValueToText = 26;
}  // namespace msg

// Numeric answers to the host. The meaning of kStartQuery and kTypeQuery is
// the host's: the plug-in only returns them.
namespace answer {
constexpr int kNotHandled = 0;  // also every answer of a message that failed
constexpr int kHandled = 1;
constexpr int kStartQuery = 2;
constexpr int kTypeQuery = 20;
}  // namespace answer

// Action ids the plug-in numbers itself: NetId * 1000 + local number.
namespace action {
constexpr std::uint32_t kPluginIcon = 109001;
constexpr std::uint32_t kPluginIcon2 = 109002;
constexpr std::uint32_t kLinksMenu = 109010;
constexpr std::uint32_t kSingleLinkItem = 109011;
constexpr std::uint32_t kLinkItemBase = 109012;  // + j, j = 0 .. kLinkItemSlots - 1
constexpr std::uint32_t kLinkItemSlots = 10;     // "Link_01" .. "Link_10"
constexpr std::uint32_t kChatLinkButton = 109040;
constexpr std::uint32_t kConfigPage = 109101;
constexpr std::uint32_t kConfigControlBase = 0x11000000;  // | the column or button shown
}  // namespace action

// Configuration-page controls: the top byte is that of kConfigControlBase,
// the lower three bytes are the column (or button) the control shows.
constexpr std::uint32_t controlId(std::uint32_t number) {
  return action::kConfigControlBase | number;
}
constexpr bool isConfigControl(std::uint32_t id) {
  return (id & 0xFF000000u) == action::kConfigControlBase;
}
constexpr std::uint32_t controlNumber(std::uint32_t id) { return id & 0x00FFFFFFu; }

// Groups and actions that belong to the host.
namespace group {
constexpr std::uint32_t kContactMenu = 30;
constexpr std::uint32_t kChatWindow = 200;
constexpr std::uint32_t kConfigPages = 46;
constexpr std::uint32_t kChatWindowAction = 3;  // parent 0
}  // namespace group

// Codes of an ActionNotify.
namespace notify {
constexpr std::uint32_t kActivate = 1;
constexpr std::uint32_t kPrepare = 10;
constexpr std::uint32_t kRefresh = 12;
constexpr std::uint32_t kApply = 14;
constexpr std::uint32_t kStatusTextMarker = 1234;  // p2 of a refresh carrying the status in p1
}  // namespace notify

// Status bits of an action.
namespace status {
constexpr std::uint32_t kHidden = 0x00000001;
constexpr std::uint32_t kDisabled = 0x00000002;
constexpr std::uint32_t kContainer = 0x00000010;
}  // namespace status

// ActionInfo mask values.
namespace mask {
constexpr std::uint32_t kInsert = 863;
constexpr std::uint32_t kStatus = 1;
constexpr std::uint32_t kText = 64;
constexpr std::uint32_t kTextFlagged = 65600;  // kText + host flag 65536
}  // namespace mask

constexpr std::int32_t kNoContact = -2;       // cnt of records built without a contact
constexpr int kStatusDescriptionColumn = 18;  // column of the contact table
constexpr int kIconResourceId = 101;

}  // namespace brisko
