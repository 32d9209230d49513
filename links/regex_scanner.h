// Link finding with a user-editable regular expression.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "settings/link_settings.h"

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
// The expression is compiled when first needed and kept while its source is
// unchanged, so a changed expression is used from the next call on. An
// expression that does not compile finds nothing. Errors the library raises
// while searching end the search quietly, keeping what was found before;
// nothing escapes to the caller but std::bad_alloc.
class RegexScanner {
 public:
  RegexScanner();
  ~RegexScanner();
  RegexScanner(const RegexScanner&) = delete;
  RegexScanner& operator=(const RegexScanner&) = delete;

  // Open form of the first match in `status`, or "".
  std::string findFirstLink(const LinkSettings& settings, std::string_view status);
  // Empties both lists, then appends one entry to each per match, in text
  // order, at most `maxCount` (none when maxCount <= 0). `spareStrings`, when
  // given, is where the strings of removed entries wait to be reused.
  void findLinks(const LinkSettings& settings, std::string_view status, std::int32_t maxCount,
                 std::vector<std::string>& displayLinks, std::vector<std::string>& openLinks,
                 std::vector<std::string>* spareStrings = nullptr);

 private:
  struct Compiled;
  const Compiled& compiled(const std::string& source);
  std::unique_ptr<Compiled> compiled_;
};

}  // namespace brisko
