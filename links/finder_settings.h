// What the link finders read of the user's settings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace brisko {

struct FinderSettings {
  std::int32_t analysedLength = 0;  // only that many bytes are searched; 0 or less: all
  bool useRegex = false;            // the regular expression instead of the scanner
  std::string extraChars;           // bytes the scanner takes as link characters too
  std::string regexSource;          // the expression of the regular-expression finder
};

// The part of `status` a finder searches: its first analysedLength bytes when
// that is greater than 0 and shorter than the status, else the whole status.
// The cut is made on the raw bytes.
inline std::string_view analysedPart(const FinderSettings& settings, std::string_view status) {
  if (settings.analysedLength > 0 &&
      status.size() > static_cast<std::size_t>(settings.analysedLength)) {
    return status.substr(0, static_cast<std::size_t>(settings.analysedLength));
  }
  return status;
}

}  // namespace brisko
