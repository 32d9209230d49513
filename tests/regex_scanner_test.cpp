// The regular-expression finder: classification of matches into kinds and
// open forms, successive searches, the maximum count, unusable matches,
// expressions that do not compile and errors raised while searching.
#include "links/regex_scanner.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <boost/regex.hpp>

#include "links/found_links.h"
#include "settings/link_settings.h"
#include "settings/texts.h"
#include "tests/support/finder_cases.h"

namespace brisko {
namespace {

using test::expectCase;
using test::Found;
using test::Strings;
using Case = test::FinderCase;

const std::string kDefault = texts::kDefaultRegex;

// findLinks into plain lists (and spare strings): they are swapped into the
// FoundLinks and back, so what they held is what the finder sees.
void findInto(RegexScanner& scanner, const LinkSettings& settings, std::string_view status,
              std::int32_t maxCount, Strings& display, Strings& open, Strings* spare = nullptr) {
  FoundLinks found;
  found.displayLinks.swap(display);
  found.openLinks.swap(open);
  if (spare != nullptr) found.spareStrings.swap(*spare);
  scanner.findLinks(settings, status, maxCount, found);
  display.swap(found.displayLinks);
  open.swap(found.openLinks);
  if (spare != nullptr) spare->swap(found.spareStrings);
}

Found find(RegexScanner& scanner, const std::string& status, const std::string& source = kDefault,
           std::int32_t analysedLength = 0, std::int32_t maxCount = 10) {
  LinkSettings settings;
  settings.regexSource = source;
  settings.analysedLength = analysedLength;
  Found found;
  findInto(scanner, settings, status, maxCount, found.display, found.open);
  found.first = scanner.findFirstLink(settings, status);
  return found;
}

Found find(const std::string& status, const std::string& source = kDefault,
           std::int32_t analysedLength = 0, std::int32_t maxCount = 10) {
  RegexScanner scanner;
  return find(scanner, status, source, analysedLength, maxCount);
}

TEST(RegexScanner, DefaultExpressionKinds) {
  const Case cases[] = {
      {"www", "see www.abc.xy now", {"1abc.xy"}, {"http://www.abc.xy"}},
      {"http www, upper case", "HTTP://WWW.ABC.XY/Q", {"2abc.xy/q"}, {"HTTP://WWW.ABC.XY/Q"}},
      {"http", "http://abc.xy", {"0abc.xy"}, {"http://abc.xy"}},
      {"mixed case http keeps its case", "HtTp://Abc.Xy", {"0abc.xy"}, {"HtTp://Abc.Xy"}},
      {"bare domain", "abc.xy", {"3abc.xy"}, {"http://abc.xy"}},
      {"bare domain keeps its case", "Abc.XY", {"3abc.xy"}, {"http://Abc.XY"}},
      {"long top-level name", "strona.info", {"3strona.info"}, {"http://strona.info"}},
      {"port and path", "host.pl:8080/a/b", {"3host.pl:8080/a/b"}, {"http://host.pl:8080/a/b"}},
      {"other scheme", "ftp://files.xy/a", {"3ftp://files.xy/a"}, {"http://ftp://files.xy/a"}},
      {"user part",
       "jan.kowalski@poczta.pl",
       {"3jan.kowalski@poczta.pl"},
       {"http://jan.kowalski@poczta.pl"}},
      {"comma between two",
       "abc.xy, def.xy",
       {"3abc.xy", "3def.xy"},
       {"http://abc.xy", "http://def.xy"}},
      {"duplicates", "abc.xy abc.xy", {"3abc.xy", "3abc.xy"}, {"http://abc.xy", "http://abc.xy"}},
      {"www of exactly 11 bytes", "www.abc.com", {"1abc.com"}, {"http://www.abc.com"}},
      {"all kinds in order",
       "a.pl http://b.pl www.c.pl HTTP://www.d.pl",
       {"3a.pl", "0b.pl", "1c.pl", "2d.pl"},
       {"http://a.pl", "http://b.pl", "http://www.c.pl", "HTTP://www.d.pl"}},
      {"no match", "nothing here", {}, {}},
      {"empty status", "", {}, {}},
      {"www without a top-level name", "www.x", {}, {}},
  };
  for (const Case& c : cases) expectCase(c, find(c.status));
}

// A match that begins "https://" opens as it stands; its kind is "3".
TEST(RegexScanner, HttpsOpensAsTheMatch) {
  const Case cases[] = {
      {"https", "https://secure.xy/p", {"3https://secure.xy/p"}, {"https://secure.xy/p"}},
      {"upper case https", "HTTPS://Secure.XY", {"3https://secure.xy"}, {"HTTPS://Secure.XY"}},
      {"https www stays kind 3",
       "https://www.abc.pl",
       {"3https://www.abc.pl"},
       {"https://www.abc.pl"}},
      {"other schemes still get http",
       "ftps://abc.pl",
       {"3ftps://abc.pl"},
       {"http://ftps://abc.pl"}},
      {"httpsx is no https", "httpsx://abc.pl", {"3httpsx://abc.pl"}, {"http://httpsx://abc.pl"}},
  };
  for (const Case& c : cases) expectCase(c, find(c.status));
}

TEST(RegexScanner, BackslashHttpForm) {
  // The default expression knows no backslash form; this one does.
  const std::string source = "(?i)http:\\\\\\\\\\S+";  // (?i)http:\\\\\S+
  const Case cases[] = {
      {"backslash http", "x http:\\\\abc.pl", {"0abc.pl"}, {"http:\\\\abc.pl"}},
      {"backslash http www", "HTTP:\\\\WWW.Abc.pl", {"2abc.pl"}, {"HTTP:\\\\WWW.Abc.pl"}},
  };
  for (const Case& c : cases) expectCase(c, find(c.status, source));
}

TEST(RegexScanner, PrefixOnlyMatchesArePassedOver) {
  const Case cases[] = {
      {"http, www and http www alone", "http:// www. http://www. www.x", {"1x"}, {"http://www.x"}},
      {"prefix-only match of an 11-byte status", "http://www.", {}, {}},
      {"prefix-only match of a 7-byte status", "http://", {}, {}},
      {"prefix-only match before a link", "HTTP://WWW. abc.pl", {"3abc.pl"}, {"http://abc.pl"}},
  };
  for (const Case& c : cases) expectCase(c, find(c.status, "\\S+"));
  // A whole 11-byte status that is a link is stored.
  expectCase({"11-byte link", "www.abcd.pl", {"1abcd.pl"}, {"http://www.abcd.pl"}},
             find("www.abcd.pl", "\\S+"));
}

TEST(RegexScanner, EmptyMatchesAreNeverTaken) {
  const Case cases[] = {
      {"empty matches around a real one", "abxxc", {"3xx"}, {"http://xx"}},
      {"only empty matches", "abc", {}, {}},
      {"empty match at the end", "xx", {"3xx"}, {"http://xx"}},
      {"empty status", "", {}, {}},
  };
  for (const Case& c : cases) expectCase(c, find(c.status, "x*"));
  expectCase({"word boundaries only", "ab cd", {}, {}}, find("ab cd", "\\b"));
  expectCase({"empty expression", "abc", {}, {}}, find("abc", ""));
  // Each empty match moves the next search one byte on: "a" after an empty
  // match at 0 is found because its range begins at 1.
  expectCase({"one byte further", "-a-a", {"3a", "3a"}, {"http://a", "http://a"}},
             find("-a-a", "a|(?=-)"));
}

// Each search sees only the rest of the text, whose first byte counts as the
// beginning of the text for anchors and word boundaries.
TEST(RegexScanner, EachSearchStartsAFreshText) {
  const Case cases[] = {
      {"start anchor after each match",
       "aaa",
       {"3a", "3a", "3a"},
       {"http://a", "http://a", "http://a"}},
  };
  for (const Case& c : cases) expectCase(c, find(c.status, "^a"));
  expectCase({"word boundary at the range start", "ab", {"3a", "3b"}, {"http://a", "http://b"}},
             find("ab", "a|\\bb"));
  // Without a match before it, "b" is inside a word.
  expectCase({"no boundary inside a word", "xb", {}, {}}, find("xb", "a|\\bb"));
}

// The expression is compiled with no option flags and searched with the
// default match flags: Perl syntax, letter case significant, the leftmost
// alternative wins, "." takes a line break, "^" and "$" hold at line breaks.
TEST(RegexScanner, PerlSyntaxWithDefaultFlags) {
  struct FlagCase {
    const char* name;
    std::string status;
    std::string source;
    Strings display;
    Strings open;
  };
  const FlagCase cases[] = {
      {"letter case significant", "ABC Abc abc", "abc", {"3abc"}, {"http://abc"}},
      {"inline option turns case off", "x ABC", "(?i)abc", {"3abc"}, {"http://ABC"}},
      {"leftmost alternative, not longest", "ab", "a|ab", {"3a"}, {"http://a"}},
      {"lazy quantifier", "aaa", "a+?", {"3a", "3a", "3a"}, {"http://a", "http://a", "http://a"}},
      {"dot takes a line break", "a\nb", "a.b", {"3a\nb"}, {"http://a\nb"}},
      {"start anchor after a line break", "a\nb", "^b", {"3b"}, {"http://b"}},
      {"end anchor before a line break", "xa\nb", "a$", {"3a"}, {"http://a"}},
      {"Perl class escapes", "x12 y", "\\d+", {"312"}, {"http://12"}},
  };
  for (const FlagCase& c : cases) {
    expectCase({c.name, c.status, c.display, c.open}, find(c.status, c.source));
  }
}

TEST(RegexScanner, AnalysedLength) {
  const test::LengthCase cases[] = {
      {"cut inside the top-level name", "www.abc.xy", 5, {}, {}},
      {"cut after the first link", "abc.xy def.xy", 7, {"3abc.xy"}, {"http://abc.xy"}},
      {"cut shortens a path", "abc.xy/abcdef", 9, {"3abc.xy/ab"}, {"http://abc.xy/ab"}},
      {"zero: whole status",
       "abc.xy def.xy",
       0,
       {"3abc.xy", "3def.xy"},
       {"http://abc.xy", "http://def.xy"}},
      {"negative: whole status",
       "abc.xy def.xy",
       -1,
       {"3abc.xy", "3def.xy"},
       {"http://abc.xy", "http://def.xy"}},
      {"beyond the status", "abc.xy", 9999, {"3abc.xy"}, {"http://abc.xy"}},
  };
  test::expectLengthCases(cases, [](const std::string& status, std::int32_t analysedLength) {
    return find(status, kDefault, analysedLength);
  });
}

TEST(RegexScanner, MaximumCount) {
  const std::string four = "a.pl b.pl c.pl d.pl";
  const Strings display = {"3a.pl", "3b.pl", "3c.pl", "3d.pl"};
  const Strings open = {"http://a.pl", "http://b.pl", "http://c.pl", "http://d.pl"};
  const test::MaxCase cases[] = {{2, 2}, {1, 1},  {4, 4},         {5, 4},
                                 {0, 0}, {-1, 0}, {INT32_MIN, 0}, {INT32_MAX, 4}};
  test::expectMaxCases(cases, display, open, [&four](std::int32_t maxCount) {
    return find(four, kDefault, 0, maxCount);
  });
}

TEST(RegexScanner, ListsAreReplacedAndTheirStringsReused) {
  RegexScanner scanner;
  LinkSettings settings;
  settings.regexSource = kDefault;
  test::expectListsReused(scanner, settings, {"one", "ab.pl", {"3ab.pl"}, {"http://ab.pl"}},
                          {"four",
                           "a.pl b.pl c.pl d.pl",
                           {"3a.pl", "3b.pl", "3c.pl", "3d.pl"},
                           {"http://a.pl", "http://b.pl", "http://c.pl", "http://d.pl"}});
}

TEST(RegexScanner, ExpressionThatDoesNotCompileFindsNothing) {
  RegexScanner scanner;
  LinkSettings settings;
  settings.regexSource = kDefault;
  Strings display;
  Strings open;
  findInto(scanner, settings, "abc.xy", 10, display, open);
  ASSERT_EQ(display.size(), 1u);

  for (const std::string bad : {"(", "abc)", "[a-", "a{2,1}", "*x", "\\"}) {
    settings.regexSource = bad;
    findInto(scanner, settings, "abc.xy (abc)", 10, display, open);
    EXPECT_TRUE(display.empty()) << bad;
    EXPECT_TRUE(open.empty()) << bad;
    EXPECT_EQ(scanner.findFirstLink(settings, "abc.xy (abc)"), "") << bad;
  }

  // The next valid expression is used at once.
  settings.regexSource = kDefault;
  findInto(scanner, settings, "abc.xy", 10, display, open);
  EXPECT_EQ(display, Strings({"3abc.xy"}));
}

TEST(RegexScanner, ChangedExpressionIsUsedFromTheNextCall) {
  RegexScanner scanner;
  expectCase({"first expression", "abc def", {"3abc"}, {"http://abc"}},
             find(scanner, "abc def", "abc"));
  expectCase({"same expression again", "abc def", {"3abc"}, {"http://abc"}},
             find(scanner, "abc def", "abc"));
  expectCase({"changed expression", "abc def", {"3def"}, {"http://def"}},
             find(scanner, "abc def", "def"));
  expectCase({"back to the default", "abc.xy", {"3abc.xy"}, {"http://abc.xy"}},
             find(scanner, "abc.xy", kDefault));
}

// The library gives up on a search that grows too complex; what was stored
// before stays, and the lists stay parallel. (The look-ahead leaves this
// expression to the library: the linear-time matcher does not take it.)
TEST(RegexScanner, ErrorWhileSearchingKeepsEarlierEntries) {
  const std::string source = "\\w+\\.pl|(x+x+)+(?=y)";
  const std::string status = "abc.pl def.pl " + std::string(64, 'x');
  const Found found = find(status, source);
  EXPECT_EQ(found.display, Strings({"3abc.pl", "3def.pl"}));
  EXPECT_EQ(found.open, Strings({"http://abc.pl", "http://def.pl"}));
  EXPECT_EQ(found.first, "http://abc.pl");

  // When the first search fails there is no first link.
  const Found none = find(std::string(64, 'x') + " abc.pl", source);
  EXPECT_TRUE(none.display.empty());
  EXPECT_TRUE(none.open.empty());
  EXPECT_EQ(none.first, "");
}

// Where the library's backtracking search gives up as too complex, the links
// after that point were lost; the finder now searches such texts in linear
// time and finds them.
TEST(RegexScanner, LinksAfterWhatTheLibraryGivesUpOnAreFound) {
  const std::string source = "\\w+\\.pl|(x+x+)+y";
  const std::string status = std::string(64, 'x') + " abc.pl def.pl";
  const boost::regex expression(source);
  boost::cmatch match;
  const char* const text = status.c_str();
  EXPECT_THROW(boost::regex_search(text, text + status.size(), match, expression),
               std::runtime_error);
  expectCase({"links after x", status, {"3abc.pl", "3def.pl"}, {"http://abc.pl", "http://def.pl"}},
             find(status, source));

  // "x@x@..." costs the library time quadratic in its length with the default
  // expression; it gives up on about 5 KiB.
  std::string hostile;
  while (hostile.size() < 32768) hostile += "x@";
  hostile += " koniec.pl";
  expectCase({"link after x@x@...", hostile, {"3koniec.pl"}, {"http://koniec.pl"}}, find(hostile));
}

TEST(RegexScanner, UnusualBytes) {
  const std::string withNul("abc.xy\0def.xy", 13);
  expectCase(
      {"NUL between links", withNul, {"3abc.xy", "3def.xy"}, {"http://abc.xy", "http://def.xy"}},
      find(withNul));
  // A NUL inside the expression is a byte like any other.
  const std::string nulSource("a\0b", 3);
  const std::string nulStatus("xa\0by", 5);
  expectCase({"NUL in the expression",
              nulStatus,
              {std::string("3a\0b", 4)},
              {std::string("http://a\0b", 10)}},
             find(nulStatus, nulSource));
  // Bytes from 0x80 up are kept as they are in both forms.
  expectCase({"high bytes in a path",
              "abc.pl/\xb3\xf3\x64z",
              {"3abc.pl/\xb3\xf3\x64z"},
              {"http://abc.pl/\xb3\xf3\x64z"}},
             find("abc.pl/\xb3\xf3\x64z"));
  // Upper-case Windows-1250 letters are not folded.
  expectCase({"upper-case Polish letters",
              "ABC.PL/\xa3\xafX",
              {"3abc.pl/\xa3\xafx"},
              {"http://ABC.PL/\xa3\xafX"}},
             find("ABC.PL/\xa3\xafX"));

  std::string big(70000, ' ');
  big += "koniec.pl";
  expectCase({"link after 64 KiB", big, {"3koniec.pl"}, {"http://koniec.pl"}}, find(big));
}

#if !defined(_WIN32)
// On Linux the library's default traits classify bytes with the "C" locale:
// no byte from 0x80 up is a word character, so a Polish letter ends a label.
TEST(RegexScanner, PolishLettersAreNoWordCharactersOnLinux) {
  expectCase({"domain with Polish letters", "www.\xb3\xf3\x64\xbc.pl", {}, {}},
             find("www.\xb3\xf3\x64\xbc.pl"));
  expectCase({"Polish letter after a link", "abc.pl\xb9", {"3abc.pl"}, {"http://abc.pl"}},
             find("abc.pl\xb9"));
}
#endif

}  // namespace
}  // namespace brisko

namespace brisko {
namespace {

std::string hostileStatus(const std::string& before, std::size_t length, const std::string& after) {
  std::string status = before;
  while (status.size() < before.size() + length) status += "x@";
  return status + after;
}

// The default expression and its forms with inline modifiers are searched by
// the linear-time matcher, never handed to the library: behind 32 KiB of
// "x@x@..." the library's search gives up (its work bound stops it), the
// matcher finds the link. The same text with an expression only the library
// takes shows the difference: the search ends there, keeping the link found
// before.
TEST(RegexScanner, DefaultAndModifierFormsAreSearchedInLinearTime) {
  const std::string status = hostileStatus("Pierwszy.PL ", 32768, " koniec.pl");
  const std::string linearForms[] = {
      kDefault,           "(?i)" + kDefault,      "(?i:" + kDefault + ")",
      "(?-i)" + kDefault, "(?i)(?-i)" + kDefault, "(?s)" + kDefault,
      "(?m)" + kDefault,
  };
  for (const std::string& source : linearForms) {
    expectCase({source.c_str(),
                status,
                {"3pierwszy.pl", "3koniec.pl"},
                {"http://Pierwszy.PL", "http://koniec.pl"}},
               find(status, source));
  }
  expectCase({"left to the library", status, {"3pierwszy.pl"}, {"http://Pierwszy.PL"}},
             find(status, "(?=\\S)" + kDefault));
}

// Where the library searches, one event's searches together stop at a work
// bound linear in the text: behind "a.pl " comes a run of 2,000 "x" that
// every search start reads to its end and back (quadratic in the run), which
// the library itself searches through (within its own limit, finding
// "b.pl" after it), but the bound stops. The search ends as the library's
// complexity error ends it, with the link found before kept; on a short
// status the same expression finds everything.
TEST(RegexScanner, LibrarySearchesStopAtAWorkBound) {
  const std::string source = "\\w+\\.pl|x[^\\s]*q|(?=y)";
  const std::string shortStatus = "a.pl xxxxq b.pl";
  expectCase({"short",
              shortStatus,
              {"3a.pl", "3xxxxq", "3b.pl"},
              {"http://a.pl", "http://xxxxq", "http://b.pl"}},
             find(shortStatus, source));
  const std::string status = "a.pl " + std::string(2000, 'x') + " b.pl";
  const boost::regex expression(source);
  boost::cmatch match;
  const char* const text = status.c_str();
  ASSERT_TRUE(boost::regex_search(text + 4, text + status.size(), match, expression));
  EXPECT_EQ(std::string(match[0].first, match[0].second), "b.pl");
  expectCase({"hostile", status, {"3a.pl"}, {"http://a.pl"}}, find(status, source));
}

}  // namespace
}  // namespace brisko
