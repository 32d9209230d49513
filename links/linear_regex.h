// Regular-expression search in time linear in the text, for the expressions
// the link finder uses, with the same results as Boost.Regex.
#pragma once

#include <memory>
#include <string>

#include "links/regex_automaton.h"

namespace brisko {

// A compiled expression in Perl syntax (Boost.Regex's default syntax and
// default match flags), searched by simulating all matching paths at once
// and keeping their order of preference, so that the match found is the one
// a backtracking search reports: the leftmost start, and from there the
// first match in the order the expression prefers. Only the bounds of the
// whole match are reported.
//
// Compiling runs in three stages: parsing (links/regex_syntax.h), building
// the program (links/regex_program.h) and its automaton
// (links/regex_automaton.h). What is supported is what the parser takes;
// each byte is classified by asking Boost.Regex itself (the platform's
// default traits, links/regex_byte_sets.h), so classes, and letter case
// under the i modifier, agree with it byte for byte.
//
// For successive searches over one text, as the link finder makes them, see
// links/linear_matches.h: their total time stays linear too.
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

  // The same search; `*stoppedAt` is where it stopped reading the text (the
  // work it did is proportional to stoppedAt - begin, at most end - begin).
  bool search(const char* begin, const char* end, const char** matchBegin, const char** matchEnd,
              const char** stoppedAt) const;

  const regex::Automaton& automaton() const { return automaton_; }

  ~LinearRegex();
  LinearRegex(const LinearRegex&) = delete;
  LinearRegex& operator=(const LinearRegex&) = delete;

 private:
  LinearRegex();
  regex::Automaton automaton_;
};

}  // namespace brisko
