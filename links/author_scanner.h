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

#include "links/finder_settings.h"
#include "links/found_links.h"
#include "links/link_finder.h"

namespace brisko {

// Which bytes continue a link body: the fixed link characters and `extraChars`.
class LinkChars {
 public:
  explicit LinkChars(std::string_view extraChars);

  // True when `c` is one of the extra characters.
  bool isExtraLinkChar(char c) const { return extra_[static_cast<unsigned char>(c)]; }
  // True when `c` continues a link body.
  bool isLinkChar(char c) const { return linkChar_[static_cast<unsigned char>(c)]; }

 private:
  std::array<bool, 256> extra_{};
  std::array<bool, 256> linkChar_{};
};

class AuthorScanner final : public LinkFinder {
 public:
  // Reads analysedLength and extraChars of `settings`. The table of link
  // characters is kept while extraChars stays the same.
  std::string findFirstLink(const FinderSettings& settings, std::string_view status) override;
  // displayLinks get the LinkCandidates, openLinks the open forms.
  void findLinks(const FinderSettings& settings, std::string_view status, std::int32_t maxCount,
                 FoundLinks& found) override;

 private:
  const LinkChars& linkChars(const std::string& extraChars);

  std::string extraChars_;
  LinkChars linkChars_{std::string_view()};
};

}  // namespace brisko
