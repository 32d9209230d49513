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
// text of `length` bytes. Every read of a byte and every move of a position
// by the library is counted (the searches see the text through an iterator
// that counts them); once the count passes the budget, the search under way
// throws SearchWorkExceeded. The budget is kUnitsPerByte for each byte of the
// text, and kFixedUnits besides, for all the event's searches together, so an
// event costs time linear in its text whatever the expression: the library
// does a bounded amount of work between two such operations (bounded by the
// size of the expression). Typical statuses stay far below it: the default
// expression reads each byte of a benign status a few times.
class BoundedSearch {
 public:
  static constexpr std::uint64_t kUnitsPerByte = 200;
  static constexpr std::uint64_t kFixedUnits = 100000;

  explicit BoundedSearch(std::size_t length);

  // As boost::regex_search(begin, end, match, expression) with the default
  // flags (`begin` the start of the text): on a match stores the bounds of
  // the whole match and returns true. Throws SearchWorkExceeded when the
  // budget is spent, and whatever the library throws.
  bool search(const boost::regex& expression, const char* begin, const char* end,
              const char** matchBegin, const char** matchEnd);

  // Units spent so far.
  std::uint64_t spent() const { return budget_ - left_; }
  std::uint64_t budget() const { return budget_; }

 private:
  std::uint64_t budget_;
  std::uint64_t left_;
};

}  // namespace brisko
