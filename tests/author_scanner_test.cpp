// The plug-in's own link scanner: prefixes, link characters, kinds, open
// forms, the analysed length, the maximum count and unusual bytes.
#include "links/author_scanner.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/reference_author_scanner.h"
#include "links/found_links.h"
#include "links/link_forms.h"
#include "settings/link_settings.h"
#include "settings/texts.h"
#include "tests/support/finder_cases.h"

namespace brisko {
namespace {

using test::expectCase;
using test::Found;
using test::Strings;
using Case = test::FinderCase;

// The extra characters the host registers by default.
const std::string kExtras = texts::kRegisteredExtraChars;

Found scan(const std::string& status, const std::string& extras = kExtras,
           std::int32_t analysedLength = 0, std::int32_t maxCount = 10) {
  LinkSettings settings;
  settings.extraChars = extras;
  settings.analysedLength = analysedLength;
  AuthorScanner scanner;
  FoundLinks links;
  scanner.findLinks(settings, status, maxCount, links);
  return Found{links.displayLinks, links.openLinks, scanner.findFirstLink(settings, status)};
}

TEST(AuthorScanner, KindsPrefixFormsAndLetterCase) {
  const Case cases[] = {
      {"empty status", "", {}, {}},
      {"no prefix", "nothing to see here, abc.pl", {}, {}},
      {"www, body keeps case when opened",
       "see www.Abc/Def now",
       {"1abc/def"},
       {"http://www.Abc/Def"}},
      {"http then www, upper case", "HTTP://WWW.X_Y", {"2x_y"}, {"http://www.X_Y"}},
      {"http only", "http://x.y", {"0x.y"}, {"http://x.y"}},
      {"backslash form opens with slashes", "http:\\\\x.y", {"0x.y"}, {"http://x.y"}},
      {"backslash form then www, mixed case", "Http:\\\\Www.A", {"2a"}, {"http://www.A"}},
      {"mixed case http", "hTtP://Q.Pl", {"0q.pl"}, {"http://Q.Pl"}},
      {"mixed case www", "wWw.Q.Pl", {"1q.pl"}, {"http://www.Q.Pl"}},
      {"half-slashed http is no prefix", "http:/\\x.y http:\\/x.y", {}, {}},
      {"http without slashes is no prefix", "http:x.y", {}, {}},
      {"ww. is no prefix", "ww.x.y", {}, {}},
      {"prefix inside a word", "xhttp://x.y", {"0x.y"}, {"http://x.y"}},
      {"www inside a word", "abcwww.x", {"1x"}, {"http://www.x"}},
      {"second www is part of the body", "www.www.x", {"1www.x"}, {"http://www.www.x"}},
      {"http inside http body ends at colon", "http://http://x", {"0http"}, {"http://http"}},
      {"other schemes start no link", "ftp://x.y https://x.y mailto:a@b.c", {}, {}},
      {"www after another scheme", "ftp://www.x.y", {"1x.y"}, {"http://www.x.y"}},
  };
  for (const Case& c : cases) expectCase(c, scan(c.status));
}

// A "www." link written with an https scheme keeps the scheme when opened;
// its kind and menu text are those of any "www." link.
TEST(AuthorScanner, HttpsWwwOpensWithHttps) {
  const Case cases[] = {
      {"lower case", "https://www.x.y", {"1x.y"}, {"https://www.x.y"}},
      {"upper case scheme", "HTTPS://WWW.X.Y", {"1x.y"}, {"https://www.X.Y"}},
      {"mixed case scheme", "hTtPs://wWw.Q", {"1q"}, {"https://www.Q"}},
      {"inside a word", "xhttps://www.a", {"1a"}, {"https://www.a"}},
      {"after text", "zobacz https://www.abc.pl/x teraz", {"1abc.pl/x"}, {"https://www.abc.pl/x"}},
      {"fewer than 8 bytes before www", "ttps://www.a", {"1a"}, {"http://www.a"}},
      {"https with backslashes is not https", "https:\\\\www.a", {"1a"}, {"http://www.a"}},
      {"one slash only", "https:/www.a", {"1a"}, {"http://www.a"}},
      {"https without www stays unfound", "https://abc.pl", {}, {}},
      {"http then www is kind 2, not https", "http://www.a", {"2a"}, {"http://www.a"}},
      {"https www after an http link",
       "http://a/https://www.b",
       {"0a/https", "1b"},
       {"http://a/https", "https://www.b"}},
  };
  for (const Case& c : cases) expectCase(c, scan(c.status));
}

TEST(AuthorScanner, EmptyLinksAreDroppedAndScanningGoesOn) {
  const Case cases[] = {
      {"http at the end", "abc http://", {}, {}},
      {"www at the end", "abc www.", {}, {}},
      {"http www at the end", "http://www.", {}, {}},
      {"http followed by a blank", "http:// x", {}, {}},
      {"www followed by a colon", "www.:x", {}, {}},
      {"empty www then a link", "www. www.x.y", {"1x.y"}, {"http://www.x.y"}},
      {"empty http then a link", "http://,www.z", {"1z"}, {"http://www.z"}},
      {"link ended by a colon, next link after it",
       "www.a:www.b",
       {"1a", "1b"},
       {"http://www.a", "http://www.b"}},
  };
  for (const Case& c : cases) expectCase(c, scan(c.status));
}

TEST(AuthorScanner, LinkCharactersAndNothingTrimmed) {
  struct ExtraCase {
    const char* name;
    std::string status;
    std::string extras;
    Strings display;
    Strings open;
  };
  const ExtraCase cases[] = {
      {"trailing full stop stays", "www.x.y.", kExtras, {"1x.y."}, {"http://www.x.y."}},
      {"trailing slash and backslash stay", "www.x/\\", kExtras, {"1x/\\"}, {"http://www.x/\\"}},
      {"fixed characters", "www.aZ09._/\\q", "", {"1az09._/\\q"}, {"http://www.aZ09._/\\q"}},
      {"colon ends a link", "http://host:80/x", kExtras, {"0host"}, {"http://host"}},
      {"colon as extra character",
       "http://host:80/x",
       kExtras + ":",
       {"0host:80/x"},
       {"http://host:80/x"}},
      {"default extras continue a link",
       "www.a-b@c$d?e&f%g=h",
       kExtras,
       {"1a-b@c$d?e&f%g=h"},
       {"http://www.a-b@c$d?e&f%g=h"}},
      {"without extras the hyphen ends a link", "www.a-b", "", {"1a"}, {"http://www.a"}},
      {"comma ends a link",
       "www.x.y,www.z",
       kExtras,
       {"1x.y", "1z"},
       {"http://www.x.y", "http://www.z"}},
      {"comma as extra character joins",
       "www.x.y,www.z",
       kExtras + ",",
       {"1x.y,www.z"},
       {"http://www.x.y,www.z"}},
      {"links must be separated", "http://x.ywww.z", kExtras, {"0x.ywww.z"}, {"http://x.ywww.z"}},
      {"Polish letter ends a link", "www.za\xbf\xf3\xb3w", kExtras, {"1za"}, {"http://www.za"}},
      {"Polish letter as extra character",
       "www.za\xbf\xf3",
       "\xbf",
       {"1za\xbf"},
       {"http://www.za\xbf"}},
      {"upper-case Polish letter is not folded",
       "WWW.\xa3\xd3\x44\xaf.PL",
       "\xa3\xd3\xaf",
       {"1\xa3\xd3\x64\xaf.pl"},
       {"http://www.\xa3\xd3\x44\xaf.PL"}},
      {"extra characters are exact bytes", "www.a\xc6\x62", "\xe6", {"1a"}, {"http://www.a"}},
      {"every high byte ends a link",
       "www.a\x80 www.b\xff",
       kExtras,
       {"1a", "1b"},
       {"http://www.a", "http://www.b"}},
      {"control bytes end a link",
       "www.a\tb\nwww.c\x01",
       kExtras,
       {"1a", "1c"},
       {"http://www.a", "http://www.c"}},
      {"brackets and quotes end a link",
       "(www.a) \"www.b\" <www.c>",
       kExtras,
       {"1a", "1b", "1c"},
       {"http://www.a", "http://www.b", "http://www.c"}},
  };
  for (const ExtraCase& c : cases)
    expectCase({c.name, c.status, c.display, c.open}, scan(c.status, c.extras));
}

TEST(AuthorScanner, EmbeddedNulBytes) {
  const std::string status("www.a\0www.b\0\0http://\0", 21);
  expectCase({"NUL ends a link", status, {"1a", "1b"}, {"http://www.a", "http://www.b"}},
             scan(status));
  const std::string withNulExtra("www.a\0b", 7);
  const Found found = scan(withNulExtra, std::string("\0", 1));
  EXPECT_EQ(found.display, Strings({std::string("1a\0b", 4)}));
  EXPECT_EQ(found.open, Strings({std::string("http://www.a\0b", 14)}));
}

TEST(AuthorScanner, AnalysedLengthCutsTheRawStatus) {
  const test::LengthCase cases[] = {
      {"cut inside a link", "abc www.xyz123", 10, {"1xy"}, {"http://www.xy"}},
      {"cut inside the prefix", "abc www.xyz123", 7, {}, {}},
      {"cut right after the prefix", "abc www.xyz123", 8, {}, {}},
      {"cut after one body byte", "abc www.xyz123", 9, {"1x"}, {"http://www.x"}},
      {"cut on upper-case text", "WWW.AB", 6, {"1ab"}, {"http://www.AB"}},
      {"length beyond the status", "www.ab", 9999, {"1ab"}, {"http://www.ab"}},
      {"zero means the whole status",
       "www.ab www.cd",
       0,
       {"1ab", "1cd"},
       {"http://www.ab", "http://www.cd"}},
      {"negative means the whole status",
       "www.ab www.cd",
       -5,
       {"1ab", "1cd"},
       {"http://www.ab", "http://www.cd"}},
      {"second link cut off", "www.ab www.cd", 7, {"1ab"}, {"http://www.ab"}},
  };
  test::expectLengthCases(cases, [](const std::string& status, std::int32_t analysedLength) {
    return scan(status, kExtras, analysedLength);
  });
}

TEST(AuthorScanner, MaximumCount) {
  const std::string six = "www.a www.b http://c http://www.d www.e www.f";
  const Strings allDisplay = {"1a", "1b", "0c", "2d", "1e", "1f"};
  const Strings allOpen = {"http://www.a", "http://www.b", "http://c",
                           "http://www.d", "http://www.e", "http://www.f"};
  const test::MaxCase cases[] = {{4, 4},  {1, 1}, {5, 5},  {6, 6},         {7, 6},
                                 {10, 6}, {0, 0}, {-1, 0}, {INT32_MIN, 0}, {INT32_MAX, 6}};
  test::expectMaxCases(cases, allDisplay, allOpen,
                       [&six](std::int32_t maxCount) { return scan(six, kExtras, 0, maxCount); });
  // The last link running to the end of the status counts like the others.
  EXPECT_EQ(scan("www.a www.b", kExtras, 0, 1).display, Strings({"1a"}));
  EXPECT_EQ(scan("www.a www.b", kExtras, 0, 2).display, Strings({"1a", "1b"}));
}

TEST(AuthorScanner, DuplicatesAreKept) {
  expectCase({"same link twice",
              "www.x.y www.x.y",
              {"1x.y", "1x.y"},
              {"http://www.x.y", "http://www.x.y"}},
             scan("www.x.y www.x.y"));
  expectCase({"same body, other kinds",
              "www.q http://q http://www.q",
              {"1q", "0q", "2q"},
              {"http://www.q", "http://q", "http://www.q"}},
             scan("www.q http://q http://www.q"));
}

TEST(AuthorScanner, ListsAreReplacedAndTheirStringsReused) {
  LinkSettings settings;
  settings.extraChars = kExtras;
  AuthorScanner scanner;
  test::expectListsReused(scanner, settings, {"one", "www.a", {"1a"}, {"http://www.a"}},
                          {"four",
                           "www.bb www.cc http://www.dd www.ee",
                           {"1bb", "1cc", "2dd", "1ee"},
                           {"http://www.bb", "http://www.cc", "http://www.dd", "http://www.ee"}});
}

// The table of link characters follows a change of the extra characters.
TEST(AuthorScanner, FollowsChangedExtraCharacters) {
  LinkSettings settings;
  AuthorScanner scanner;
  settings.extraChars = "#";
  EXPECT_EQ(scanner.findFirstLink(settings, "www.a#b-c"), "http://www.a#b");
  settings.extraChars = "-";
  EXPECT_EQ(scanner.findFirstLink(settings, "www.a#b-c"), "http://www.a");
  EXPECT_EQ(scanner.findFirstLink(settings, "www.b-c#d"), "http://www.b-c");
}

TEST(AuthorScanner, LongStatus) {
  std::string status(70000, 'x');
  status += " www.Koniec.pl";
  expectCase({"link after 64 KiB", status, {"1koniec.pl"}, {"http://www.Koniec.pl"}}, scan(status));
  EXPECT_TRUE(scan(status, kExtras, 9999).display.empty());

  // One body of 64 KiB.
  const std::string body(65536, 'a');
  expectCase({"64 KiB body", "http://" + body, {"0" + body}, {"http://" + body}},
             scan("http://" + body));
}

TEST(LinkChars, IsExtraLinkChar) {
  const LinkChars scanner(kExtras);
  for (int b = 0; b < 256; ++b) {
    const char c = static_cast<char>(b);
    const bool expected = kExtras.find(c) != std::string::npos;
    EXPECT_EQ(scanner.isExtraLinkChar(c), expected) << "byte " << b;
  }

  const LinkChars none("");
  for (int b = 0; b < 256; ++b) {
    EXPECT_FALSE(none.isExtraLinkChar(static_cast<char>(b))) << "byte " << b;
  }

  const LinkChars odd(std::string("\0\x85Z", 3));
  EXPECT_TRUE(odd.isExtraLinkChar('\0'));
  EXPECT_TRUE(odd.isExtraLinkChar('\x85'));
  EXPECT_TRUE(odd.isExtraLinkChar('Z'));
  EXPECT_FALSE(odd.isExtraLinkChar('z'));  // exact byte, case-sensitive
  EXPECT_FALSE(odd.isExtraLinkChar('\xa5'));
}

TEST(LinkChars, LinkCharacters) {
  const LinkChars scanner("#");
  for (int b = 0; b < 256; ++b) {
    const bool expected = (b >= '0' && b <= '9') || (b >= 'a' && b <= 'z') ||
                          (b >= 'A' && b <= 'Z') || b == '.' || b == '_' || b == '/' || b == '\\' ||
                          b == '#';
    EXPECT_EQ(scanner.isLinkChar(static_cast<char>(b)), expected) << "byte " << b;
  }
}

// Texts made of prefix pieces, near misses and separators, compared with the
// rules followed plainly one byte at a time, under several settings.
TEST(AuthorScanner, AgreesWithTheRulesFollowedByteByByte) {
  const std::string pieces[] = {"http://",
                                "HTTP:\\\\",
                                "http:/",
                                "www.",
                                "WwW.",
                                "ww",
                                "https://",
                                "Https://",
                                "h",
                                "t",
                                "p",
                                "w",
                                ".",
                                ":",
                                "/",
                                "\\",
                                " ",
                                ",",
                                "-",
                                "a",
                                "Z",
                                "\xb3",
                                std::string("\0", 1)};
  struct Settings {
    std::int32_t analysedLength;
    std::string extras;
    std::int32_t maxCount;
  };
  const Settings settingsList[] = {{0, kExtras, 10}, {0, "", 3},  {13, ",:", 10},
                                   {5, kExtras, 1},  {0, ",", 0}, {0, "\xb3", INT32_MAX},
                                   {-1, kExtras, -1}};
  std::uint32_t random = 12345;
  auto next = [&random] {
    random = random * 1103515245u + 12345u;
    return random >> 16;
  };
  for (int round = 0; round < 3000; ++round) {
    std::string status;
    const std::uint32_t count = next() % 12;
    for (std::uint32_t i = 0; i < count; ++i) {
      status += pieces[next() % (sizeof(pieces) / sizeof(pieces[0]))];
    }
    for (const Settings& s : settingsList) {
      Found found = scan(status, s.extras, s.analysedLength, s.maxCount);
      const reference::AuthorScanResult expected =
          reference::authorScan(status, s.analysedLength, s.extras, s.maxCount);
      ASSERT_EQ(found.display, expected.displayLinks) << "status '" << status << "'";
      ASSERT_EQ(found.open, expected.openLinks) << "status '" << status << "'";
      ASSERT_EQ(found.first, expected.firstLink) << "status '" << status << "'";
    }
  }
}

TEST(ToLowerAscii, FoldsOnlyAsciiCapitals) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const std::string folded = toLowerAscii(all);
  ASSERT_EQ(folded.size(), all.size());
  for (int b = 0; b < 256; ++b) {
    const int expected = (b >= 'A' && b <= 'Z') ? b + 0x20 : b;
    EXPECT_EQ(static_cast<unsigned char>(folded[b]), expected) << "byte " << b;
  }
  EXPECT_EQ(toLowerAscii(""), "");
  EXPECT_EQ(toLowerAscii("HTTP://WWW.\xa3\xf3\x44\xbc.PL"), "http://www.\xa3\xf3\x64\xbc.pl");
  EXPECT_EQ(toLowerAscii(std::string("A\0B", 3)), std::string("a\0b", 3));
}

}  // namespace
}  // namespace brisko
