// The linear-time matcher: the same match as Boost.Regex from every start
// position of each text, and which expressions it takes and leaves to Boost.
#include "links/linear_regex.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include <boost/regex.hpp>

#include "links/linear_matches.h"
#include "links/regex_automaton.h"
#include "links/regex_program.h"
#include "links/regex_syntax.h"
#include "settings/texts.h"
#include "tests/support/boost_oracle.h"

namespace brisko {
namespace {

// Every byte value once, in order.
std::string allBytes() {
  std::string text;
  for (unsigned c = 0; c < 256; ++c) text += static_cast<char>(c);
  return text;
}

const std::string kDefault = texts::kDefaultRegex;
// Cheap to parse, costlier to build (see BoundsTheWorkOfBuilding).
const char kCostlyToBuild[] = "a{1,300}(?:\\b\\B|)(?:\\b\\B|)(?:\\b\\B|)x|y\\b";

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
      // Counts with every digit.
      {"a{9}|b{19,29}|c{2,9}d", {std::string(30, 'a') + std::string(30, 'b') + "cccccccccd"}},
      {"x{0,9}y|z{90}", {"xxxxxxxxxxy" + std::string(95, 'z')}},
      // Inline modifiers: letter case as the library folds it, byte by byte,
      // up to the end of the group (later alternatives included), scoped.
      {"(?i)a", {all}},
      {"(?i)[a-z\xb9]|(?i)\xa5", {all}},
      {"(?i)\\w|(?i)\\W|(?i)\\s|(?i)[^a]", {all}},
      {"a(?i)b|c", {"aB C c Ab AB"}},
      {"(?:a(?i)b|c)d", {"aBd CD Cd cD aBD"}},
      {"(?i)ab(?-i)c", {"ABc ABC abc"}},
      {"(?i:ab)c|(?i-i:d)", {"ABc ABC D d"}},
      {"(?i)x(?-i:y(?i)z)w", {"XyZW XYzw xyzw"}},
      {"(?s).|(?-s).", {all}},
      {"(?s:a.)|(?-s:b.)|c.", {"a\nb\nc\na\rb\rc\r"}},
      {"(?m)^a$|(?im)^B", {"a\nb\r\nA"}},
      {"(?i)" + kDefault, {"HTTP://WWW.ABC.XY/Q i Www.Abc.Pl Jan@X.COM", "x@X@x@ a.PL"}},
      // Expressions that match the empty string, on texts where each search
      // reads far ahead.
      {"(?:\\S*@)?", {"xxxxxxxx x@x@ xx@", "@@ @", ""}},
      {"a*|b", {"aabbab", "ccaab"}},
      {"\\b|x\\S*@", {"xx xy@ x", "xxxx"}},
      {"(?:x\\S*@|)", {"xxx@xx x", "xyxy"}},
      // Matches that end long before their search settles.
      {"a\\S*@|a", {"aaaaaaaaaa@", "aaaa aaa"}},
      // Empty expressions and alternatives, NUL bytes.
      {"", {"", "ab"}},
      {"a|", {"ba"}},
      {std::string("a\0b", 3), {std::string("xa\0by", 5)}},
  };
  for (const Case& c : cases) {
    const auto linear = LinearRegex::compile(c.source);
    ASSERT_NE(linear, nullptr) << c.source;
    for (const std::string& text : c.texts) {
      EXPECT_EQ(oracle::allDifferencesFromBoost(*linear, boost::regex(c.source), text), "")
          << c.source << " on " << text;
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
  const std::string taken[] = {kDefault,
                               "\\w+@\\w+\\.pl",
                               "(?:https?://)?www\\.[^\\s<]+",
                               "^\\s*$",
                               "(a|)*?b{2,5}",
                               "(?i)a",
                               "(?i)" + kDefault,
                               "(?i:" + kDefault + ")",
                               "(?-i)" + kDefault,
                               "(?i)\\bwww\\.(?-i)[^\\s<]+",
                               "(?is-s).",
                               "(?s:.)",
                               "(?m)^a$",
                               "(?:\\S*@)?"};
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
      "(?x)a",
      "(?ix)a",
      "(?i-x:a)",
      "(?-m)^a",
      "(?-m:a$)",
      "(?m-m)$",
      "(?)a",
      "(?-)a",
      "(?i-)a",
      "(?i)+a",
      "(?i:a|b{)",
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

// Expressions the library takes with a meaning other than the one a careless
// parser gives them: an escape of a bracket class that is not supported
// here, a construct refused only in a later alternative, a count that is not
// one (literal text to the library). The matcher must refuse them (and end).
TEST(LinearRegex, RefusesWhatTheLibraryReadsOtherwise) {
  struct Case {
    std::string source;
    std::string text;
    std::string boostMatch;  // what the library matches in text
  };
  const Case cases[] = {
      {"[\\h]", "ab\tc", "\t"},      {"[a\\h]+", "x a\t a", " a\t a"},
      {"a|b{", "xb{a", "b{"},        {"x|y|a{2,b", "aa a{2,b", "a{2,b"},
      {"a{2,b", "aaa{2,b", "a{2,b"}, {"a{9,b}", "a{9,b}", "a{9,b}"},
  };
  for (const Case& c : cases) {
    const boost::regex expression(c.source);
    boost::smatch match;
    ASSERT_TRUE(boost::regex_search(c.text, match, expression)) << c.source;
    EXPECT_EQ(match.str(0), c.boostMatch) << c.source;
    EXPECT_EQ(LinearRegex::compile(c.source), nullptr) << c.source;
  }
}

// The work of building the automaton, and the size of its follow lists, are
// bounded: an expression that needs more than the limit is refused, one that
// needs exactly the limit is built.
TEST(LinearRegex, BoundsTheWorkOfBuilding) {
  regex::Node root;
  ASSERT_TRUE(regex::parse(kCostlyToBuild, root));
  regex::Program program;
  ASSERT_TRUE(regex::emitProgram(root, program));
  regex::Automaton automaton;
  ASSERT_TRUE(regex::buildAutomaton(program, automaton));
  const std::size_t work = automaton.buildWork;
  const std::size_t follow = automaton.follow.size();
  EXPECT_GT(work, 10000u);
  EXPECT_GT(follow, 1000u);
  regex::AutomatonLimits limits;
  limits.closureWork = work - 1;
  EXPECT_FALSE(regex::buildAutomaton(program, automaton, limits));
  limits.closureWork = work;
  EXPECT_TRUE(regex::buildAutomaton(program, automaton, limits));
  limits.follow = follow - 1;
  EXPECT_FALSE(regex::buildAutomaton(program, automaton, limits));
  limits.follow = follow;
  EXPECT_TRUE(regex::buildAutomaton(program, automaton, limits));
}

// Successive matches: the backward table is made only when the forward
// searches have read too much, and both give the same matches.
TEST(LinearMatches, TablesOnlyWhenSearchesReadTooMuch) {
  struct Case {
    std::string source;
    std::string text;
    bool tabled;
  };
  const Case cases[] = {
      {kDefault, "see www.abc.xy now and http://x.pl/a " + std::string(2000, 'x'), false},
      {"(?:\\S*@)?", std::string(2000, 'x'), true},
      {"(?:\\S*@)?", "a b c d e f", false},
      {"a\\S*@|a", std::string(500, 'a'), true},
  };
  for (const Case& c : cases) {
    const auto linear = LinearRegex::compile(c.source);
    ASSERT_NE(linear, nullptr) << c.source;
    LinearMatches matches(*linear, c.text.data(), c.text.data() + c.text.size());
    const char* first = nullptr;
    const char* last = nullptr;
    std::size_t count = 0;
    while (matches.next(&first, &last)) ++count;
    EXPECT_EQ(matches.tabled(), c.tabled) << c.source;
    EXPECT_GT(count, 0u) << c.source;
    EXPECT_EQ(oracle::loopDifferenceFromBoost(*linear, boost::regex(c.source), c.text,
                                              LinearMatches::readBudgetFor(c.text.size())),
              "")
        << c.source;
    EXPECT_EQ(oracle::loopDifferenceFromBoost(*linear, boost::regex(c.source), c.text, 0), "")
        << c.source;
  }
}

}  // namespace
}  // namespace brisko
