// The door through which the rest of the plug-in asks for links: it picks the
// finder chosen in the settings, and makes the menu text of a found link.
#include "links/author_scanner.h"
#include "links/link_forms.h"
#include "links/regex_scanner.h"
#include "settings/plugin_state.h"
#include "settings/texts.h"

namespace brisko {

std::string displayFormOf(std::string_view candidate, bool cutHttp, bool cutWww) {
  if (candidate.empty()) return texts::kMalformedLinkText;
  const std::string_view body = candidate.substr(1);
  std::string_view prefix;
  switch (candidate.front()) {
    case kindDigit(LinkKind::kHttp):
      prefix = cutHttp ? std::string_view() : kHttpPrefix;
      break;
    case kindDigit(LinkKind::kWww):
      prefix = cutWww ? std::string_view() : kWwwPrefix;
      break;
    case kindDigit(LinkKind::kHttpWww):
      if (!cutHttp && !cutWww) {
        prefix = kHttpWwwPrefix;
      } else if (!cutWww) {
        prefix = kWwwPrefix;
      } else if (!cutHttp) {
        prefix = kHttpPrefix;
      }
      break;
    case kindDigit(LinkKind::kOther):
      break;
    default:
      return texts::kMalformedLinkText;
  }
  std::string text;
  text.reserve(prefix.size() + body.size());
  text.append(prefix);
  text.append(body);
  return text;
}

std::string PluginState::firstLink(std::string status) {
  if (settings.useRegex) return regexScanner_.findFirstLink(settings, status);
  return AuthorScanner(settings).findFirstLink(status);
}

void PluginState::collectLinks(std::string status) {
  if (settings.useRegex) {
    regexScanner_.findLinks(settings, status, settings.linkCount, displayLinks, openLinks,
                            &spareLinkStrings_);
  } else {
    AuthorScanner(settings).findLinks(status, settings.linkCount, displayLinks, openLinks,
                                      &spareLinkStrings_);
  }
}

std::string PluginState::displayForm(std::string candidate) const {
  return displayFormOf(candidate, settings.cutHttp, settings.cutWww);
}

}  // namespace brisko
