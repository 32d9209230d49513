#include "settings/link_settings.h"

#include <cstddef>
#include <cstdint>
#include <string>

#include "host/host_calls.h"
#include "host/ids.h"
#include "settings/columns.h"
#include "settings/texts.h"

namespace brisko {
namespace {

// The page control showing `column`, as read and changed.
host::ActionTarget pageControl(std::uint32_t column) {
  return host::ActionTarget{controlId(column), action::kConfigPage, kNoContact};
}

std::string readControl(std::uint32_t column) {
  return host::GetActionValue(pageControl(column), /*withHostFlag=*/true);
}

bool startsWith(const std::string& text, char first) { return !text.empty() && text[0] == first; }

// The bounds of one number on the page.
struct NumberRule {
  std::uint32_t column;
  std::int32_t bound;    // highest value
  std::size_t maxChars;  // longest text taken as a number
  std::int32_t lowest;   // lowest value
  const char* lowText;   // written back for an invalid text
  const char* highText;  // written back for a text above the bound
};

bool isPlainDecimal(const std::string& text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;  // a signed high byte is below '0' too
  }
  return true;
}

// Reads a number control, corrects it by `rule` and answers the value taken.
// Corrections are written back into the control with the flag clear.
std::int32_t takeNumber(const NumberRule& rule) {
  const std::string text = readControl(rule.column);
  if (!isPlainDecimal(text)) {
    host::SetActionValue(pageControl(rule.column), rule.lowText, /*withHostFlag=*/false);
    return rule.lowest;
  }
  if (text.size() > rule.maxChars) {
    host::SetActionValue(pageControl(rule.column), rule.highText, /*withHostFlag=*/false);
    return rule.bound;
  }
  std::int32_t n = 0;
  for (char c : text) n = n * 10 + (c - '0');  // at most four digits here
  if (n > rule.bound) {
    host::SetActionValue(pageControl(rule.column), rule.highText, /*withHostFlag=*/false);
    return rule.bound;
  }
  if (rule.lowest == 1 && n == 0) {
    host::SetActionValue(pageControl(rule.column), texts::kNumber1, /*withHostFlag=*/false);
    return 1;
  }
  return n;
}

// Reads a text control; a text longer than `limit` bytes is cut to its first
// `limit` bytes, which are written back into the control (flag set).
std::string takeText(std::uint32_t column, std::uint32_t limit) {
  std::string text = readControl(column);
  if (text.size() > limit) {
    text.resize(limit);
    host::SetActionValue(pageControl(column), text, /*withHostFlag=*/true);
  }
  return text;
}

}  // namespace

void setDefaults(LinkSettings& settings) {
  settings.displayLength = 20;
  settings.linkCount = 4;
  settings.analysedLength = 0;
  settings.cutHttp = true;
  settings.cutWww = true;
  settings.showInContactMenu = true;
  settings.showInChatWindow = true;
  settings.submenuForSingleLink = false;
  settings.showSingleLinkName = false;
  settings.useRegex = false;
  settings.extraChars = texts::kDefaultExtraChars;
  settings.regexSource = texts::kDefaultRegex;
}

void loadSettings(LinkSettings& settings) {
  settings.analysedLength = host::GetConfigInt(column::kAnalysedLength);
  settings.displayLength = host::GetConfigInt(column::kDisplayLength);
  settings.linkCount = host::GetConfigInt(column::kLinkCount);

  settings.submenuForSingleLink = host::GetConfigInt(column::kSubmenuForSingleLink) == 1;
  settings.cutHttp = host::GetConfigInt(column::kCutHttp) == 1;
  settings.cutWww = host::GetConfigInt(column::kCutWww) == 1;
  settings.showSingleLinkName = host::GetConfigInt(column::kShowSingleLinkName) == 1;
  settings.showInContactMenu = host::GetConfigInt(column::kShowInContactMenu) == 1;
  settings.showInChatWindow = host::GetConfigInt(column::kShowInChatWindow) == 1;

  settings.useRegex = startsWith(host::GetConfigString(column::kRegexMethod), '0');

  settings.extraChars = host::GetConfigString(column::kExtraChars);
  settings.regexSource = host::GetConfigString(column::kRegexSource);
}

bool applyConfigPage(LinkSettings& settings) {
  settings.showInContactMenu = startsWith(readControl(column::kShowInContactMenu), '1');
  const bool chatWindow = startsWith(readControl(column::kShowInChatWindow), '1');
  settings.submenuForSingleLink = startsWith(readControl(column::kSubmenuForSingleLink), '1');
  settings.showSingleLinkName = startsWith(readControl(column::kShowSingleLinkName), '1');
  settings.useRegex = startsWith(readControl(column::kRegexMethod), '0');
  settings.cutHttp = startsWith(readControl(column::kCutHttp), '1');
  settings.cutWww = startsWith(readControl(column::kCutWww), '1');

  settings.analysedLength =
      takeNumber(NumberRule{column::kAnalysedLength, limits::maxAnalysedLength, 4, 0,
                            texts::kNumber0, texts::kNumber9999});
  settings.linkCount = takeNumber(NumberRule{column::kLinkCount, limits::maxLinkCount, 2, 1,
                                             texts::kNumber1, texts::kNumber10});
  settings.displayLength = takeNumber(NumberRule{column::kDisplayLength, limits::maxDisplayLength,
                                                 3, 1, texts::kNumber1, texts::kNumber999});

  settings.extraChars = takeText(column::kExtraChars, limits::maxExtraCharsLength);
  settings.regexSource = takeText(column::kRegexSource, limits::maxRegexLength);

  // The chat buttons follow the new settings at once: when the option has
  // changed (a button turned off is hidden), or when it stays on.
  const bool changed = chatWindow != settings.showInChatWindow;
  settings.showInChatWindow = chatWindow;
  return changed || chatWindow;
}

}  // namespace brisko
