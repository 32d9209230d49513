// Regular-expression search in time linear in the text, for the expressions
// the link finder uses, with the same results as Boost.Regex.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace brisko {

// A compiled expression in Perl syntax (Boost.Regex's default syntax and
// default match flags), searched by simulating all matching paths at once
// and keeping their order of preference, so that the match found is the one
// a backtracking search reports: the leftmost start, and from there the
// first match in the order the expression prefers. Only the bounds of the
// whole match are reported.
//
// Supported: literal bytes, escaped punctuation, \n \r \t \f \a \e \xHH,
// bracket classes, . \w \W \s \S \d \D, \b \B ^ $, groups "(...)" and
// "(?:...)", alternation, and the quantifiers * + ? {n} {n,} {n,m}, greedy or
// lazy. Each byte is classified by asking Boost.Regex itself (the platform's
// default traits), so classes agree with it byte for byte.
class LinearRegex {
 public:
  // nullptr when Boost.Regex refuses `source`, or when it uses anything not
  // supported here or grows too large; the caller then keeps using Boost.
  static std::unique_ptr<const LinearRegex> compile(const std::string& source);

  // As boost::regex_search(begin, end, match, expression) with the default
  // flags: `begin` is taken as the start of the text. On a match, stores its
  // bounds and returns true. Time linear in end - begin; memory bounded by
  // the size of the compiled expression.
  bool search(const char* begin, const char* end, const char** matchBegin,
              const char** matchEnd) const;

  ~LinearRegex();
  LinearRegex(const LinearRegex&) = delete;
  LinearRegex& operator=(const LinearRegex&) = delete;

 private:
  LinearRegex();
  friend class LinearRegexBuilder;

  // Where a search may go after position p depends on the bytes around p
  // only through these three facts (the context of p).
  static constexpr unsigned kWordBoundary = 1;  // \b holds at p
  static constexpr unsigned kLineStart = 2;     // ^ holds at p
  static constexpr unsigned kLineEnd = 4;       // $ holds at p
  static constexpr unsigned kContexts = 8;

  // What a byte is for the context: a word byte, "\r", "\n", another line
  // separator, anything else; kNoByte stands for the ends of the text.
  static constexpr unsigned kByteKinds = 6;
  static constexpr std::uint8_t kNoByte = 5;

  // The consuming steps of the expression, numbered 0..steps-1. Step s takes
  // byte c when member_[setRow_[s] + c] is 1.
  std::uint32_t steps_ = 0;
  std::vector<std::uint32_t> setRow_;
  std::vector<std::uint8_t> member_;

  // Where the search may continue after step s took a byte, when the context
  // of the new position is x: the steps in order of preference, as the range
  // follow_[next_[(s * kContexts + x) * 2] .. next_[... + 1]). The start of
  // the expression is "step" steps_. The value steps_ in a list is the end of
  // the expression (a match); nothing follows it.
  std::vector<std::uint32_t> next_;
  std::vector<std::uint16_t> follow_;

  // Context of a position from the kinds of the bytes before and after it.
  std::uint8_t byteKind_[256] = {};
  std::uint8_t context_[kByteKinds * kByteKinds] = {};
  // A search may begin at a position of context x before byte c only when
  // startByte_[x * 256 + c]; it matches there at once when startMatch_[x].
  std::vector<std::uint8_t> startByte_;
  std::uint8_t startMatch_[kContexts] = {};
};

}  // namespace brisko
