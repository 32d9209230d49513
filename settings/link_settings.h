// The user's settings, as loaded from the host's configuration.
#pragma once

#include <cstdint>
#include <string>

namespace brisko {

struct LinkSettings {
  std::int32_t displayLength = 0;   // length of a menu text (shortening, see menu)
  std::int32_t linkCount = 0;       // most links offered
  std::int32_t analysedLength = 0;  // only that many bytes are searched; 0 = all
  bool cutHttp = false;             // menu texts leave out "http://"
  bool cutWww = false;              // menu texts leave out "www."
  bool showInContactMenu = false;
  bool showInChatWindow = false;
  bool submenuForSingleLink = false;
  bool showSingleLinkName = false;
  bool useRegex = false;    // regular expression instead of the scanner
  std::string extraChars;   // bytes that are link characters too
  std::string regexSource;  // the expression of the regex finder
};

}  // namespace brisko
