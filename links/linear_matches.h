// Successive matches of a linear-time expression over one text, as the link
// finder takes them, in time linear in the text for the whole sequence.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "links/linear_regex.h"

namespace brisko {

// The matches of `regex` in [begin, end), one after another: the first
// search begins at `begin`; after a match [a, b) the next begins at b, or at
// b + 1 when the match was empty (after an empty match at `end` there is
// none). Each search sees only the rest of the text, its first byte taken as
// the beginning of the text, exactly as LinearRegex::search from there.
//
// Time: linear in end - begin for the whole sequence, however many matches
// it yields and however far each search must read before its match is
// settled (an expression that matches the empty string, say, whose searches
// each read far ahead). Searches run forward while the bytes they have read
// in all stay below twice the text; past that, the rest of the text is
// solved in one backward pass that gives, for every position, the match a
// search from there would report, and the remaining matches are read from
// it. Memory: the expression's size, and 12 bytes a position once that
// table is made.
class LinearMatches {
 public:
  LinearMatches(const LinearRegex& regex, const char* begin, const char* end);

  // The same with `readBudget` the bytes the forward searches may read in
  // all before the rest is tabled (0: tabled at once), so that both ways can
  // be compared.
  LinearMatches(const LinearRegex& regex, const char* begin, const char* end,
                std::size_t readBudget);

  // The default read budget for a text of `length` bytes.
  static std::size_t readBudgetFor(std::size_t length) { return 2 * length + 64; }

  // Stores the next match's bounds and returns true, or returns false when
  // there is none (and from then on).
  bool next(const char** matchBegin, const char** matchEnd);

  // Whether the backward table has been made (for tests and benchmarks).
  bool tabled() const { return tabled_; }

 private:
  void makeTable();
  bool fromTable(const char** matchBegin, const char** matchEnd);

  const LinearRegex& regex_;
  const char* const begin_;
  const char* const end_;
  const char* position_;  // where the next search begins
  bool done_ = false;
  std::size_t readBudget_;  // bytes the forward searches may still read
  bool tabled_ = false;
  // From table_ on, for each position q of [tableBegin_, end_]:
  // atStart_[q]: the end of the match a search from q reports when it begins
  //   at q (q taken as the beginning of the text), or -1;
  // inside_[q]: the same for a match beginning at q when the search began
  //   before q;
  // nearest_[q]: the first position from q on where inside_ is not -1, or -1.
  // (Offsets from begin_.)
  const char* tableBegin_ = nullptr;
  std::vector<std::int32_t> atStart_;
  std::vector<std::int32_t> inside_;
  std::vector<std::int32_t> nearest_;
};

}  // namespace brisko
