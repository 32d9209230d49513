// A pointer into a text that charges each read of a byte to a work meter,
// so that the work of a Boost.Regex search over the text can be bounded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <stdexcept>

namespace brisko {

// What a search throws when its meter has run out: a std::runtime_error, as
// the library's own complexity error is.
class SearchWorkExceeded : public std::runtime_error {
 public:
  SearchWorkExceeded() : std::runtime_error("regular expression: search work exceeded") {}
};

// Units of work left: `left` at hand (counted down at each charge), the rest
// in reserve, taken when `left` runs out (so that the count itself is 32-bit).
struct WorkMeter {
  explicit WorkMeter(std::uint64_t units) : reserve(units) {}
  std::uint64_t remaining() const { return reserve + left; }
  void refill();  // throws SearchWorkExceeded when nothing is in reserve

  std::uint32_t left = 0;
  std::uint64_t reserve;
};

// A pointer into the text that charges each read of a byte, and each jump
// (+= and -=), to the meter in use (CountedIterator::meter). The meter is
// one for all iterators rather than one in each, which keeps the iterator
// as small and as fast as a pointer; like all of the plug-in, it is meant
// for one thread.
class CountedIterator {
 public:
  using iterator_category = std::random_access_iterator_tag;
  using value_type = char;
  using difference_type = std::ptrdiff_t;
  using pointer = const char*;
  using reference = const char&;

  CountedIterator() = default;
  explicit CountedIterator(const char* p) : p_(p) {}

  // The meter charged; set for the time of a search by MeterInUse.
  static inline WorkMeter* meter = nullptr;

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
  static void charge() {
    WorkMeter& m = *meter;
    if (m.left == 0) m.refill();
    --m.left;
  }

  const char* p_ = nullptr;
};

// Makes `meter` the one charged, for its lifetime, and then the previous one
// again (also when a search ends in an exception).
class MeterInUse {
 public:
  explicit MeterInUse(WorkMeter& meter) : previous_(CountedIterator::meter) {
    CountedIterator::meter = &meter;
  }
  ~MeterInUse() { CountedIterator::meter = previous_; }
  MeterInUse(const MeterInUse&) = delete;
  MeterInUse& operator=(const MeterInUse&) = delete;

 private:
  WorkMeter* previous_;
};

}  // namespace brisko
