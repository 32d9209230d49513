// Boost.Regex searches under one bound on their total work, for the
// expressions the linear-time matcher leaves to the library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>

#include <boost/regex.hpp>

namespace brisko {

// What a search throws when the bound has stopped it: a std::runtime_error,
// as the library's own complexity error is, so that it ends the finder's
// search the same way (links found before it are kept).
class SearchWorkExceeded : public std::runtime_error {
 public:
  SearchWorkExceeded() : std::runtime_error("regular expression: search work exceeded") {}
};

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
  std::uint64_t spent() const { return budget_ - meter_.reserve - meter_.left; }
  std::uint64_t budget() const { return budget_; }

  // What is left of the budget: `left` units at hand (counted down at each
  // operation), the rest in reserve, taken when `left` runs out.
  struct Meter {
    std::uint32_t left = 0;
    std::uint64_t reserve = 0;
    void refill();  // throws SearchWorkExceeded when nothing is in reserve
  };

 private:
  std::uint64_t budget_;
  Meter meter_;
};

}  // namespace brisko
