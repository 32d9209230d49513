#include "links/linear_matches.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace brisko {

LinearMatches::LinearMatches(const LinearRegex& regex, const char* begin, const char* end)
    : LinearMatches(regex, begin, end, readBudgetFor(static_cast<std::size_t>(end - begin))) {}

LinearMatches::LinearMatches(const LinearRegex& regex, const char* begin, const char* end,
                             std::size_t readBudget)
    : regex_(regex), begin_(begin), end_(end), position_(begin), readBudget_(readBudget) {}

bool LinearMatches::next(const char** matchBegin, const char** matchEnd) {
  if (done_) return false;
  bool found = false;
  if (!tabled_ && static_cast<std::size_t>(end_ - position_) >= readBudget_) makeTable();
  if (tabled_) {
    found = fromTable(matchBegin, matchEnd);
  } else {
    const char* stoppedAt = position_;
    found = regex_.search(position_, end_, matchBegin, matchEnd, &stoppedAt);
    // (stoppedAt - position_ is at most end_ - position_, within the budget.)
    readBudget_ -= static_cast<std::size_t>(stoppedAt - position_);
  }
  if (!found) {
    done_ = true;
    return false;
  }
  if (*matchBegin != *matchEnd) {
    position_ = *matchEnd;
  } else if (*matchEnd == end_) {
    done_ = true;  // nothing follows an empty match at the end
  } else {
    position_ = *matchEnd + 1;
  }
  return true;
}

bool LinearMatches::fromTable(const char** matchBegin, const char** matchEnd) {
  const auto q = static_cast<std::size_t>(position_ - tableBegin_);
  std::int32_t start = -1;
  std::int32_t stop = atStart_[q];
  if (stop >= 0) {
    start = static_cast<std::int32_t>(position_ - begin_);
  } else if (position_ != end_) {
    start = nearest_[q + 1];
    if (start >= 0) stop = inside_[static_cast<std::size_t>(start - (tableBegin_ - begin_))];
  }
  if (start < 0) return false;
  *matchBegin = begin_ + start;
  *matchEnd = begin_ + stop;
  return true;
}

// The backward pass. For a step s and a position x (s about to take byte x),
// the preferred way on from there, the first path in the expression's order
// that reaches the end of the expression, ends at a position that depends on
// s and x alone: a search reaches (s, x) with whatever start, and goes on
// from there as every other search that reaches it (the context of x + 1
// depends only on bytes x and x + 1). So with best(s, x) that end, or -1:
//   best(s, x) = -1 when s does not take byte x; else the first in the follow
//   list of s for the context of x + 1 that is the end of the expression
//   (x + 1) or a step t with best(t, x + 1) != -1 (that value).
// A search reports the leftmost start and, there, the first way in order;
// from the start list of a position for its context this gives atStart_ and
// inside_ in the same way, the end of the expression there being the empty
// match. Each position costs the size of the follow lists in use, so the pass
// is linear in the text.
void LinearMatches::makeTable() {
  tabled_ = true;
  tableBegin_ = position_;
  const regex::Automaton& a = regex_.automaton();
  const std::uint32_t steps = a.steps;
  const auto* const first = reinterpret_cast<const unsigned char*>(tableBegin_);
  const auto size = static_cast<std::size_t>(end_ - tableBegin_);
  const auto base = static_cast<std::int32_t>(tableBegin_ - begin_);
  atStart_.assign(size + 1, -1);
  inside_.assign(size + 1, -1);
  nearest_.assign(size + 1, -1);
  std::vector<std::int32_t> best(steps, -1);  // best(., x + 1), then best(., x)
  std::vector<std::int32_t> later(steps, -1);

  // The first of a follow list that reaches the end, as an offset, or -1.
  const auto firstWay = [&](std::size_t slot, std::int32_t here,
                            const std::vector<std::int32_t>& from) {
    for (std::uint32_t i = a.next[slot]; i < a.next[slot + 1]; ++i) {
      const std::uint32_t step = a.follow[i];
      if (step == steps) return here;
      if (from[step] >= 0) return from[step];
    }
    return std::int32_t{-1};
  };

  std::uint8_t kindAfter = regex::Automaton::kNoByte;  // the kind of byte x + 1
  for (std::size_t x = size + 1; x-- > 0;) {
    const std::int32_t at = base + static_cast<std::int32_t>(x);
    const std::uint8_t kindAt = x < size ? a.byteKind[first[x]] : regex::Automaton::kNoByte;
    if (x < size) {
      later.swap(best);  // later = best(., x + 1)
      const unsigned c = first[x];
      const unsigned nextContext = a.contextOf(kindAt, kindAfter);
      for (std::uint32_t step = 0; step < steps; ++step) {
        best[step] = a.takes(step, static_cast<unsigned char>(c))
                         ? firstWay(a.listSlot(step, nextContext), at + 1, later)
                         : -1;
      }
    } else {
      for (std::int32_t& b : best) b = -1;  // no byte to take at the end
    }
    const std::uint8_t kindBefore =
        x > 0 ? a.byteKind[first[x - 1]]
              : (tableBegin_ > begin_ ? a.byteKind[static_cast<unsigned char>(tableBegin_[-1])]
                                      : regex::Automaton::kNoByte);
    inside_[x] = firstWay(a.listSlot(steps, a.contextOf(kindBefore, kindAt)), at, best);
    atStart_[x] =
        firstWay(a.listSlot(steps, a.contextOf(regex::Automaton::kNoByte, kindAt)), at, best);
    nearest_[x] = inside_[x] >= 0 ? at : (x < size ? nearest_[x + 1] : -1);
    kindAfter = kindAt;
  }
}

}  // namespace brisko
