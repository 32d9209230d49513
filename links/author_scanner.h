// The plug-in's own link scanner.
//
// It walks a status byte by byte, opens a link at "http://", "http:\\" or
// "www." (any letter case) and lets it run while the bytes are link
// characters: ASCII letters and digits, ". _ / \" and the user's extra
// characters. Every byte from 0x80 up ends a link unless it is an extra
// character. Nothing is trimmed from a body; an empty body is dropped.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "settings/link_settings.h"

namespace brisko {

// A copy of `text` with "A".."Z" turned into "a".."z"; every other byte,
// the Windows-1250 letters from 0x80 up among them, is kept.
std::string toLowerAscii(std::string_view text);

class AuthorScanner {
 public:
  // Takes over what it needs from `settings` (analysedLength, extraChars);
  // keeps no reference to them.
  explicit AuthorScanner(const LinkSettings& settings);

  // Open form of the first link in `status`, or "".
  std::string findFirstLink(std::string_view status) const;

  // Empties both lists, then appends one entry to each per link, in text
  // order, at most `maxCount` (none when maxCount <= 0). displayLinks gets the
  // LinkCandidate, openLinks the open form. `spareStrings`, when given, is
  // where the strings of removed entries wait to be reused by the next call
  // (it saves allocations when the same lists are filled again and again).
  void findLinks(std::string_view status, std::int32_t maxCount,
                 std::vector<std::string>& displayLinks, std::vector<std::string>& openLinks,
                 std::vector<std::string>* spareStrings = nullptr) const;

  // True when `c` is one of the user's extra characters.
  bool isExtraLinkChar(char c) const { return extra_[static_cast<unsigned char>(c)]; }

  // True when `c` continues a link body.
  bool isLinkChar(char c) const { return linkChar_[static_cast<unsigned char>(c)]; }

 private:
  // Calls deliver(kind digit, open prefix, body begin, body end) for each link
  // of `text` in order (offsets into `text`) until it returns false.
  template <typename Deliver>
  void scan(std::string_view text, Deliver&& deliver) const;

  std::string_view analysed(std::string_view status) const;

  std::int32_t analysedLength_;
  std::array<bool, 256> extra_{};
  std::array<bool, 256> linkChar_{};
};

}  // namespace brisko
