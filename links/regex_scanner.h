// Link finding with a user-editable regular expression.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "links/finder_settings.h"
#include "links/found_links.h"
#include "links/link_finder.h"

namespace brisko {

// Finds links as the matches of settings.regexSource (Perl syntax, the
// library's default character traits).
//
// Successive searches each begin where the previous match ended, and that
// place counts as the beginning of the text. Each match is classified by its
// prefixes, tested in any letter case:
//   "http://" or "http:\\" then "www."  kind "2", opens as the match
//   "http://" or "http:\\"              kind "0", opens as the match
//   "www."                              kind "1", opens as "http://" + match
//   anything else                       kind "3", opens as "http://" + match,
//                                       but a match beginning "https://"
//                                       opens as the match
// An empty match is never taken (the next search begins one byte further),
// nor a match that is nothing but its prefixes.
//
// All the searches of one call together take time linear in the analysed
// text: the linear-time matcher's (links/linear_matches.h) when it takes the
// expression, else the library's under a bound on their work
// (links/bounded_search.h), which ends the search as the library's own
// complexity error does.
//
// The expression is compiled when first needed and kept while its source is
// unchanged, so a changed expression is used from the next call on. An
// expression that does not compile finds nothing. Errors the library raises
// while searching end the search quietly, keeping what was found before;
// nothing escapes to the caller but std::bad_alloc.
class RegexScanner final : public LinkFinder {
 public:
  RegexScanner();
  ~RegexScanner();
  RegexScanner(const RegexScanner&) = delete;
  RegexScanner& operator=(const RegexScanner&) = delete;

  // Read analysedLength and regexSource of `settings`.
  std::string findFirstLink(const FinderSettings& settings, std::string_view status) override;
  void findLinks(const FinderSettings& settings, std::string_view status, std::int32_t maxCount,
                 FoundLinks& found) override;

 private:
  struct Compiled;
  const Compiled& compiled(const std::string& source);
  std::unique_ptr<Compiled> compiled_;
};

}  // namespace brisko
