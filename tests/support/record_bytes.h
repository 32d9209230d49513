// Expected bytes of the records the plug-in sends, written field by field in
// little-endian order, and readers of recorded bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "host/records.h"

namespace brisko::test {

using Bytes = std::vector<std::uint8_t>;

// Little-endian writer: RecordBuilder{}.u16(30).u32(id)...bytes
struct RecordBuilder {
  Bytes bytes;
  RecordBuilder& u8(std::uint8_t v) {
    bytes.push_back(v);
    return *this;
  }
  RecordBuilder& u16(std::uint16_t v) { return u8(v & 0xFF).u8(v >> 8); }
  RecordBuilder& u32(std::uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
  RecordBuilder& i32(std::int32_t v) { return u32(static_cast<std::uint32_t>(v)); }
  RecordBuilder& ptr(const void* p) { return u32(ptrValue(p)); }
  RecordBuilder& zeros(std::size_t n) {
    bytes.insert(bytes.end(), n, 0);
    return *this;
  }
};

// Reads a little-endian 32-bit field of recorded bytes.
inline std::uint32_t u32At(const Bytes& bytes, std::size_t offset) {
  if (offset + 4 > bytes.size()) throw std::out_of_range("u32At past the record");
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | bytes[offset + static_cast<std::size_t>(i)];
  return v;
}

// Copy of `bytes` with the 4 bytes at `offset` zeroed (a pointer field whose
// value the test cannot know).
inline Bytes maskPointer(Bytes bytes, std::size_t offset) {
  for (std::size_t i = 0; i < 4 && offset + i < bytes.size(); ++i) bytes[offset + i] = 0;
  return bytes;
}

// The recorded bytes of an ActionInfo as the record (zeros past their end).
// The record is packed: copy a field before binding a reference to it.
inline ActionInfo actionInfoOf(const Bytes& record) {
  ActionInfo info{};
  std::memcpy(&info, record.data(), record.size() < sizeof info ? record.size() : sizeof info);
  return info;
}

}  // namespace brisko::test
