// Boost.Regex searches under one bound on their total work, for the
// expressions the linear-time matcher leaves to the library.
#pragma once

#include <cstddef>
#include <cstdint>

#include <boost/regex.hpp>

#include "links/counted_iterator.h"

namespace brisko {

// The searches of one event (one findLinks or findFirstLink call) over a
// text of `length` bytes. Every read of a byte by the library is counted,
// and every jump of a position by more than one byte (the searches see the
// text through an iterator that counts them); once the count passes the
// budget, the search under way throws SearchWorkExceeded. The budget is
// kUnitsPerByte for each byte of the text, and kFixedUnits besides, for all
// the event's searches together, so an event costs time linear in its text
// whatever the expression: the library tests a byte at nearly every step of
// its machine, and does work bounded by the size of the expression between
// two such tests. Typical statuses stay well below it: the default
// expression (as the library searches it) uses 4 units a byte on average on
// the statuses of the benchmarks' corpus, 31 at most. The benchmarks'
// worst-case table measures the time.
class BoundedSearch {
 public:
  static constexpr std::uint64_t kUnitsPerByte = 64;
  static constexpr std::uint64_t kFixedUnits = 100000;

  explicit BoundedSearch(std::size_t length);

  // As boost::regex_search(begin, end, match, expression) with the default
  // flags (`begin` the start of the text): on a match stores the bounds of
  // the whole match and returns true. Throws SearchWorkExceeded when the
  // budget is spent, and whatever the library throws.
  bool search(const boost::regex& expression, const char* begin, const char* end,
              const char** matchBegin, const char** matchEnd);

  // Units spent so far.
  std::uint64_t spent() const { return budget_ - meter_.remaining(); }
  std::uint64_t budget() const { return budget_; }

 private:
  std::uint64_t budget_;
  WorkMeter meter_;
};

}  // namespace brisko
