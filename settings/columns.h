// The configuration columns the plug-in registers with the host, and the ids
// of the configuration page's controls that show them.
#pragma once

#include <cstdint>

#include "host/ids.h"
#include "settings/texts.h"

namespace brisko {

// Configuration column ids (NetId * 1000 + local number). A page control
// showing column c, or button c, is addressed as controlId(c) (host/ids.h).
namespace column {
constexpr std::uint32_t kShowInContactMenu = 109110;
constexpr std::uint32_t kShowInChatWindow = 109111;
constexpr std::uint32_t kSubmenuForSingleLink = 109112;
constexpr std::uint32_t kShowSingleLinkName = 109113;
constexpr std::uint32_t kAnalysedLength = 109114;
constexpr std::uint32_t kLinkCount = 109115;
constexpr std::uint32_t kDisplayLength = 109116;
constexpr std::uint32_t kCutHttp = 109117;
constexpr std::uint32_t kCutWww = 109118;
constexpr std::uint32_t kExtraChars = 109119;
constexpr std::uint32_t kExtraCharsDefaultButton = 109120;  // a page button, not a column
constexpr std::uint32_t kRegexSource = 109122;
constexpr std::uint32_t kRegexDefaultButton = 109123;  // a page button, not a column
constexpr std::uint32_t kRegexMethod = 109128;
constexpr std::uint32_t kAuthorMethod = 109129;
}  // namespace column

// Column types of a registration.
constexpr std::uint32_t kIntegerColumn = 0;
constexpr std::uint32_t kTextColumn = 1;

// One registration: the column, its type and its registered default.
struct ColumnDefinition {
  std::uint32_t id;
  std::uint32_t type;
  std::int32_t intDefault;  // integer columns
  const char* textDefault;  // text columns (static text)
  const char* key;
};

// The thirteen columns, in the order they are registered. The registered
// defaults differ from the settings' initial values in linkCount (5 against
// 4), cutWww (0 against yes) and extraChars ("-@$?&%=" against ",.%&=@-");
// the initial values hold only until the first load.
inline constexpr ColumnDefinition kColumnTable[] = {
    {column::kShowInContactMenu, kIntegerColumn, 1, nullptr, texts::kKeyShowInContactMenu},
    {column::kShowInChatWindow, kIntegerColumn, 1, nullptr, texts::kKeyShowInChatWindow},
    {column::kSubmenuForSingleLink, kIntegerColumn, 0, nullptr, texts::kKeySubmenuForSingleLink},
    {column::kShowSingleLinkName, kIntegerColumn, 0, nullptr, texts::kKeyShowSingleLinkName},
    {column::kAnalysedLength, kIntegerColumn, 0, nullptr, texts::kKeyAnalysedLength},
    {column::kLinkCount, kIntegerColumn, 5, nullptr, texts::kKeyLinkCount},
    {column::kDisplayLength, kIntegerColumn, 20, nullptr, texts::kKeyDisplayLength},
    {column::kCutHttp, kIntegerColumn, 1, nullptr, texts::kKeyCutHttp},
    {column::kCutWww, kIntegerColumn, 0, nullptr, texts::kKeyCutWww},
    {column::kAuthorMethod, kTextColumn, 0, texts::kRadioChosen, texts::kKeyAuthorMethod},
    {column::kRegexMethod, kTextColumn, 0, texts::kRadioNotChosen, texts::kKeyRegexMethod},
    {column::kRegexSource, kTextColumn, 0, texts::kDefaultRegex, texts::kKeyRegexSource},
    {column::kExtraChars, kTextColumn, 0, texts::kRegisteredExtraChars, texts::kKeyExtraChars},
};
static_assert(sizeof(kColumnTable) / sizeof(kColumnTable[0]) == 13);

// Registers the thirteen columns with the host (message 21001).
void registerColumns();

}  // namespace brisko
