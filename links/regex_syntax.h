// Parsing an expression in Perl syntax into a tree, for the linear-time
// matcher: the subset it supports, and nothing whose meaning is in doubt.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace brisko::regex {

enum class Assertion : std::uint8_t { kWordBoundary, kNotWordBoundary, kLineStart, kLineEnd };

// One node of the expression's tree.
//
// An atom stands for one byte out of a set. Its set is either the byte
// itself (`literal`) or what Boost.Regex matches, as one byte, with the
// expression `atom` (an escape, a bracket class or ".", preceded by the
// inline modifiers in force there, such as "(?i)[a-z]"); so the set is the
// library's own, byte by byte, for whatever traits it has.
struct Node {
  enum Kind { kEmpty, kAtom, kAssert, kConcat, kAlternation, kRepeat };
  Kind kind = kEmpty;
  std::string atom;      // kAtom: the expression for its set, or the byte itself when literal
  bool literal = false;  // kAtom: a plain byte that stands for itself
  Assertion assertion = Assertion::kWordBoundary;
  std::vector<Node> children;  // kConcat, kAlternation; kRepeat: the body
  int min = 0;
  int max = 0;  // -1: no upper bound
  bool greedy = true;
};

// Limits of what is parsed; larger expressions are left to Boost.
inline constexpr int kMaxCount = 1000;  // n and m of {n,m}
inline constexpr int kMaxNesting = 64;  // groups within groups

// Parses `source` into `root`. Supported: literal bytes, escaped
// punctuation, \n \r \t \f \a \e \xHH, bracket classes (without named
// classes, equivalence classes or collating elements), . \w \W \s \S \d \D,
// \b \B ^ $, groups "(...)" and "(?:...)", alternation, the quantifiers
// * + ? {n} {n,} {n,m}, greedy or lazy, and the inline modifiers i, s and m:
// "(?i)", "(?-i)", "(?i-s)" and the like up to the end of the enclosing group
// (later alternatives of it included), and the scoped "(?i:...)". "^" and "$"
// are taken only where m is in force (the default). Returns false for
// anything else, the x modifier among it; `source` is expected to be one
// Boost.Regex accepts.
bool parse(const std::string& source, Node& root);

// Whether `node` can match the empty string (assertions aside).
bool canBeEmpty(const Node& node);

}  // namespace brisko::regex
