#include "links/bounded_search.h"

#include <cstddef>
#include <iterator>

namespace brisko {

// (In a named namespace: the operators a random-access iterator must have
// are not all used by the library, and would be unused functions otherwise.)
namespace counted {

// A pointer into the text that charges each read of a byte, and each jump
// (+= and -=), to a budget.
class CountedIterator {
 public:
  using iterator_category = std::random_access_iterator_tag;
  using value_type = char;
  using difference_type = std::ptrdiff_t;
  using pointer = const char*;
  using reference = const char&;

  CountedIterator() = default;
  CountedIterator(const char* p, BoundedSearch::Meter* meter) : p_(p), meter_(meter) {}

  const char* base() const { return p_; }

  reference operator*() const {
    charge();
    return *p_;
  }
  reference operator[](difference_type n) const {
    charge();
    return p_[n];
  }
  pointer operator->() const { return p_; }
  CountedIterator& operator++() {
    ++p_;
    return *this;
  }
  CountedIterator operator++(int) {
    CountedIterator old = *this;
    ++*this;
    return old;
  }
  CountedIterator& operator--() {
    --p_;
    return *this;
  }
  CountedIterator operator--(int) {
    CountedIterator old = *this;
    --*this;
    return old;
  }
  CountedIterator& operator+=(difference_type n) {
    charge();
    p_ += n;
    return *this;
  }
  CountedIterator& operator-=(difference_type n) {
    charge();
    p_ -= n;
    return *this;
  }
  friend CountedIterator operator+(CountedIterator i, difference_type n) { return i += n; }
  friend CountedIterator operator+(difference_type n, CountedIterator i) { return i += n; }
  friend CountedIterator operator-(CountedIterator i, difference_type n) { return i -= n; }
  friend difference_type operator-(const CountedIterator& a, const CountedIterator& b) {
    return a.p_ - b.p_;
  }
  friend bool operator==(const CountedIterator& a, const CountedIterator& b) {
    return a.p_ == b.p_;
  }
  friend bool operator!=(const CountedIterator& a, const CountedIterator& b) {
    return a.p_ != b.p_;
  }
  friend bool operator<(const CountedIterator& a, const CountedIterator& b) { return a.p_ < b.p_; }
  friend bool operator>(const CountedIterator& a, const CountedIterator& b) { return a.p_ > b.p_; }
  friend bool operator<=(const CountedIterator& a, const CountedIterator& b) {
    return a.p_ <= b.p_;
  }
  friend bool operator>=(const CountedIterator& a, const CountedIterator& b) {
    return a.p_ >= b.p_;
  }

 private:
  void charge() const {
    if (meter_->left == 0) meter_->refill();
    --meter_->left;
  }

  const char* p_ = nullptr;
  BoundedSearch::Meter* meter_ = nullptr;
};

}  // namespace counted

using counted::CountedIterator;

void BoundedSearch::Meter::refill() {
  if (reserve == 0) throw SearchWorkExceeded();
  const std::uint64_t chunk = reserve < (std::uint64_t{1} << 30) ? reserve : std::uint64_t{1} << 30;
  reserve -= chunk;
  left = static_cast<std::uint32_t>(chunk);
}

BoundedSearch::BoundedSearch(std::size_t length)
    : budget_(kUnitsPerByte * (static_cast<std::uint64_t>(length) + 1) + kFixedUnits) {
  meter_.reserve = budget_;
}

bool BoundedSearch::search(const boost::regex& expression, const char* begin, const char* end,
                           const char** matchBegin, const char** matchEnd) {
  boost::match_results<CountedIterator> match;
  if (!boost::regex_search(CountedIterator(begin, &meter_), CountedIterator(end, &meter_), match,
                           expression)) {
    return false;
  }
  *matchBegin = match[0].first.base();
  *matchEnd = match[0].second.base();
  return true;
}

}  // namespace brisko
