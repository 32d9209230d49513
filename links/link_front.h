// The door through which the menus ask for links: it keeps both finders and
// the two lists, and picks the finder the settings choose.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "links/author_scanner.h"
#include "links/finder_settings.h"
#include "links/found_links.h"
#include "links/link_finder.h"
#include "links/regex_scanner.h"

namespace brisko {

class LinkFront {
 public:
  // Open form of the first link of `status`, or "" (the chat button).
  std::string firstLink(const FinderSettings& settings, std::string_view status) {
    return finderFor(settings).findFirstLink(settings, status);
  }

  // Refills found() with at most `maxCount` links of `status` (the menus).
  void collectLinks(const FinderSettings& settings, std::string_view status,
                    std::int32_t maxCount) {
    finderFor(settings).findLinks(settings, status, maxCount, found_);
  }

  // The lists of the last collectLinks; the user's choice of item j is entry j.
  const FoundLinks& found() const { return found_; }

  // For tests only: the lists, to set up what earlier messages would leave.
  FoundLinks& foundForTests() { return found_; }

 private:
  LinkFinder& finderFor(const FinderSettings& settings) {
    if (settings.useRegex) return regexScanner_;
    return authorScanner_;
  }

  AuthorScanner authorScanner_;
  RegexScanner regexScanner_;
  FoundLinks found_;
};

}  // namespace brisko
