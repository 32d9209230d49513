#include "links/bounded_search.h"

#include "links/counted_iterator.h"

namespace brisko {

BoundedSearch::BoundedSearch(std::size_t length)
    : budget_(kUnitsPerByte * (static_cast<std::uint64_t>(length) + 1) + kFixedUnits),
      meter_(budget_) {}

bool BoundedSearch::search(const boost::regex& expression, const char* begin, const char* end,
                           const char** matchBegin, const char** matchEnd) {
  const MeterInUse inUse(meter_);
  boost::match_results<CountedIterator> match;
  if (!boost::regex_search(CountedIterator(begin), CountedIterator(end), match, expression)) {
    return false;
  }
  *matchBegin = match[0].first.base();
  *matchEnd = match[0].second.base();
  return true;
}

}  // namespace brisko
