// The user's settings: their fixed limits, initial values, loading them from
// the host's configuration and taking them over from the configuration page.
#pragma once

#include <cstdint>
#include <string>

#include "host/ids.h"
#include "links/finder_settings.h"

namespace brisko {

// Fixed limits of the values taken from the configuration page.
namespace limits {
constexpr std::int32_t maxDisplayLength = 999;
constexpr std::int32_t maxLinkCount = static_cast<std::int32_t>(action::kLinkItemSlots);
constexpr std::int32_t maxAnalysedLength = 9999;
constexpr std::uint32_t maxExtraCharsLength = 100;
constexpr std::uint32_t maxRegexLength = 300;
}  // namespace limits

// The finders' part (analysedLength, useRegex, extraChars, regexSource) and
// what the menus read.
struct LinkSettings : FinderSettings {
  std::int32_t displayLength = 0;  // longest menu text (see menu/open_copy.h)
  std::int32_t linkCount = 0;      // most links offered
  bool cutHttp = false;            // menu texts leave out "http://"
  bool cutWww = false;             // menu texts leave out "www."
  bool showInContactMenu = false;
  bool showInChatWindow = false;
  bool submenuForSingleLink = false;
  bool showSingleLinkName = false;
};

// Puts the initial values into `settings`; they hold until the first load.
void setDefaults(LinkSettings& settings);

// Reads the stored configuration into `settings` (message 22100). Stored
// values are taken unchanged: the page's bounds apply only to edited values.
void loadSettings(LinkSettings& settings);

// Takes the edited values over from the configuration page, validating them
// and writing corrections back into the page's controls. Answers whether the
// chat buttons must be refreshed: when the chat-window option changed, or
// when it stays on.
bool applyConfigPage(LinkSettings& settings);

}  // namespace brisko
