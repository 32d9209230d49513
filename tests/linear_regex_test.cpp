// The linear-time matcher: the same match as Boost.Regex from every start
// position of each text, and which expressions it takes and leaves to Boost.
#include "links/linear_regex.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

#include <boost/regex.hpp>

#include "settings/texts.h"

namespace brisko {
namespace {

// Every byte value once, in order.
std::string allBytes() {
  std::string text;
  for (unsigned c = 0; c < 256; ++c) text += static_cast<char>(c);
  return text;
}

std::string bounds(const char* text, const char* first, const char* last) {
  return "[" + std::to_string(first - text) + "," + std::to_string(last - text) + ")";
}

// The first start position of `text` where the two engines differ, described,
// or "" when they agree from every start (positions where Boost gives up
// are passed over).
std::string differenceFromBoost(const LinearRegex& linear, const std::string& source,
                                const std::string& text) {
  const boost::regex expression(source);
  const char* const begin = text.data();
  const char* const end = begin + text.size();
  for (std::size_t start = 0; start <= text.size(); ++start) {
    boost::cmatch match;
    bool boostFound = false;
    try {
      boostFound = boost::regex_search(begin + start, end, match, expression);
    } catch (const std::runtime_error&) {
      continue;
    }
    const char* first = nullptr;
    const char* last = nullptr;
    const bool linearFound = linear.search(begin + start, end, &first, &last);
    const std::string expected = boostFound ? bounds(begin, match[0].first, match[0].second) : "-";
    const std::string actual = linearFound ? bounds(begin, first, last) : "-";
    if (expected != actual) {
      return "from " + std::to_string(start) + ": Boost " + expected + ", linear " + actual;
    }
  }
  return "";
}

const std::string kDefault = texts::kDefaultRegex;

TEST(LinearRegex, SameMatchesAsBoost) {
  struct Case {
    std::string source;
    std::vector<std::string> texts;
  };
  const std::string all = allBytes();
  const Case cases[] = {
      // The registered default on statuses as they come, and on the hostile one.
      {kDefault,
       {"see www.abc.xy now", "HTTP://WWW.ABC.XY/Q i http:\\\\x.pl", "jan.kowalski@poczta.pl, a.b",
        "ftp://files.xy/a <b>x.pl</b> >y@z.com", "Id\xea do kina: kino.pl:8080/seans?x=1&y=\xb9",
        "x@x@x@x@x@x@x@x@x@ abc.pl", "a.b.c.d.e.f-g_h.info.", "\r\nwww.a.pl\r\n\tb.org\f",
        "strona.pl/\xb3\xf3\x64z \xa3\xaf.pl", "1.2.3.4:80 a_b.c-d.xyz", all, ""}},
      // Line anchors: "\r\n" is one break, the text's ends count.
      {"^a|b$", {"a\r\nb\r\nab\n\r\nb\f a\rb", "\rab\n", "b\r\r\na"}},
      {"^$", {"\r\n\n\r\r\n", "\n\r", "", "\f\f"}},
      {"^\\n|\\r$", {"a\r\nb\r\n", "\r\n\r", "\n\r\n"}},
      {"^.", {"ab\nc\rd\r\ne\ff", all}},
      {".$", {"ab\nc\rd\r\ne\ff", all}},
      // Word boundaries, also next to bytes from 0x80 up.
      {"\\b\\w+\\b", {"ab cd_9 \xb9\xe6 x-y", all}},
      {"\\B.\\B", {"ab cd_9 \xb9\xe6 x-y", all}},
      {"\\b", {"ab", " ", "", "\xb9"}},
      {"\\B", {"ab", " ", "", "\xb9"}},
      // Single-byte classes and the dot, on every byte.
      {".", {all}},
      {"\\w", {all}},
      {"\\W", {all}},
      {"\\s", {all}},
      {"\\S", {all}},
      {"\\d", {all}},
      {"\\D", {all}},
      {"[^\\s<]", {all}},
      {"[\\w\\-]", {all}},
      {"[a-zA-Z]", {all}},
      {"[\\x80-\\xff]", {all}},
      {"[]a]|[^]a]x", {all}},
      {"\\xb9|\\x41|\\n|\\r|\\t|\\f|\\e|\\a", {all}},
      {"\\.|\\-|\\\\|\\/|\\@|\\:|\\_", {all}},
      // Order of preference: alternatives, greedy and lazy repeats.
      {"a|ab", {"ab", "aab"}},
      {"ab|a", {"ab", "aab"}},
      {"a+?b|a+", {"aaab", "aaa"}},
      {"a*?", {"aaa"}},
      {"(a+)+?b", {"aab", "aaa"}},
      {"(?:xy){2,3}?|y{2,}", {"xyxyxyxy yyyy"}},
      {"(?:ab){1,2}?b", {"ababb", "abb"}},
      {"[a-zA-Z]{2}\\b", {"a ab abc ABCD"}},
      {"x{0}y", {"xy"}},
      {"(?:x|y){2,}z", {"xyxz xz yyz"}},
      // Repeats whose body can match the empty string: an empty iteration
      // ends the repeat.
      {"(a*)*b", {"aab", "b", "ac"}},
      {"(a|)*?b", {"aab", "b"}},
      {"(|a)+", {"aa", ""}},
      {"(|a)*b", {"aab", "b"}},
      {"(a|)+", {"aa", ""}},
      {"(?:a?)*?x", {"aax", "x"}},
      {"(a?){2,3}b", {"ab", "aaab", "b"}},
      {"(a|){0,2}?b", {"aab", "b"}},
      {"(?:\\b|a)*b", {"ab", " b", "aab"}},
      {"(?:(?:a|)*b?)*c", {"abac", "c", "bbc"}},
      {"(a*)+$", {"aa", "ab\na"}},
      {"(?:^|a)+b", {"ab", "b", "\nb"}},
      {"()*x|(?:)+y", {"xy"}},
      {"((((a*)*)*)*)*b", {"aab", "b"}},
      // Empty expressions and alternatives, NUL bytes.
      {"", {"", "ab"}},
      {"a|", {"ba"}},
      {std::string("a\0b", 3), {std::string("xa\0by", 5)}},
  };
  for (const Case& c : cases) {
    const auto linear = LinearRegex::compile(c.source);
    ASSERT_NE(linear, nullptr) << c.source;
    for (const std::string& text : c.texts) {
      EXPECT_EQ(differenceFromBoost(*linear, c.source, text), "") << c.source << " on " << text;
    }
  }
}

// The matcher keeps no state between searches and reports positions in the
// range it was given.
TEST(LinearRegex, SearchesOnlyItsRange) {
  const auto linear = LinearRegex::compile("\\bb");
  ASSERT_NE(linear, nullptr);
  const std::string text = "ab b";
  const char* first = nullptr;
  const char* last = nullptr;
  // From 1 the "b" counts as the text's first byte: a word boundary before it.
  ASSERT_TRUE(linear->search(text.data() + 1, text.data() + 2, &first, &last));
  EXPECT_EQ(first, text.data() + 1);
  EXPECT_EQ(last, text.data() + 2);
  EXPECT_FALSE(linear->search(text.data(), text.data() + 2, &first, &last));
  ASSERT_TRUE(linear->search(text.data(), text.data() + 4, &first, &last));
  EXPECT_EQ(first, text.data() + 3);
}

TEST(LinearRegex, TakesTheSupportedConstructs) {
  const std::string taken[] = {kDefault, "\\w+@\\w+\\.pl", "(?:https?://)?www\\.[^\\s<]+", "^\\s*$",
                               "(a|)*?b{2,5}"};
  for (const std::string& source : taken)
    EXPECT_NE(LinearRegex::compile(source), nullptr) << source;
}

// Left to Boost: constructs not supported here, those whose meaning is in
// doubt, repeats around "$", expressions that grow too large, and what Boost
// itself refuses.
TEST(LinearRegex, RefusesWhatItDoesNotSupport) {
  const std::string refused[] = {
      "(?=a)",
      "(?!a)",
      "(?<=a)b",
      "(?<!a)b",
      "(a)\\1",
      "(?i)a",
      "(?>a+)",
      "a++",
      "a*+",
      "a?+",
      "\\Qa.\\E",
      "\\A",
      "\\z",
      "\\Z",
      "\\G",
      "[[:alpha:]]",
      "[[=a=]]",
      "[[.a.]]",
      "\\<a",
      "a\\>",
      "\\`a",
      "a\\'",
      "\\h",
      "\\v",
      "\\x{41}",
      "\\x4",
      "\\0",
      "\\cA",
      "\\p{L}",
      "\\l",
      "(?#c)a",
      "(*ACCEPT)",
      "a{,2}",
      "a{2 }",
      "a{",
      "a}",
      "]",
      "(?:$)+",
      "(a$|b)*",
      "(?:a{999}){3}",
      "(((((a*)*)*)*)*)*",
      "x{2,3}?",
      "(?:a){0,2}?",
      // Refused by Boost.
      "(",
      "a)",
      "[a-",
      "a{2,1}",
      "*a",
      "\\",
      "a**",
      "\\b+",
  };
  for (const std::string& source : refused) {
    EXPECT_EQ(LinearRegex::compile(source), nullptr) << source;
  }
}

}  // namespace
}  // namespace brisko
