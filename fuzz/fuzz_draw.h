// The entry point fuzzer's input and its checks: the bytes read from both
// ends, drawn as numbers and table entries, and a check whose detail is made
// only on failure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_input.h"

namespace brisko::fuzz {

// check() whose detail is made only when the check fails (the checks run
// on every call; their details would cost more than the checks).
template <typename MakeDetail>
inline void require(bool ok, const char* what, MakeDetail&& detail) {
  if (!ok) fail(what, detail());
}

// The start of a text, for a failure's detail.
inline std::string shown(std::string_view text) { return std::string(text.substr(0, 200)); }

// The input, read from both ends: the messages from the front, the host's and
// the system's answers from the back, so that a change to one leaves the
// other's bytes in place. A used-up input reads as zeros, and zero always
// draws the host's ordinary behaviour.
class FuzzBytes {
 public:
  void reset(const std::uint8_t* data, std::size_t size) {
    data_ = data;
    front_ = 0;
    back_ = size;
  }
  bool empty() const { return front_ >= back_; }
  std::uint8_t takeFront() { return empty() ? 0 : data_[front_++]; }
  std::uint8_t takeBack() { return empty() ? 0 : data_[--back_]; }

 private:
  const std::uint8_t* data_ = nullptr;
  std::size_t front_ = 0;
  std::size_t back_ = 0;
};

class Draw {
 public:
  Draw(FuzzBytes& bytes, bool fromBack) : bytes_(bytes), fromBack_(fromBack) {}
  std::uint8_t u8() { return fromBack_ ? bytes_.takeBack() : bytes_.takeFront(); }
  std::uint16_t u16() { return static_cast<std::uint16_t>(u8() | (u8() << 8)); }
  std::uint32_t u32() { return u16() | (static_cast<std::uint32_t>(u16()) << 16); }
  // True one time in n (never once the input is used up).
  bool rare(unsigned n) { return u8() % n == n - 1; }
  template <typename T, std::size_t N>
  const T& pick(const T (&table)[N]) {
    return table[u8() % N];
  }

 private:
  FuzzBytes& bytes_;
  bool fromBack_;
};

}  // namespace brisko::fuzz
