// Expected bytes of the records the plug-in sends, written field by field in
// little-endian order, and readers of recorded bytes.
//
// Tests that check these bytes write the host's numbers (ids, offsets, masks,
// status words) as literals instead of taking them from host/ or settings/:
// they are what the host reads, and a check built from the plug-in's own
// constants would pass with a changed constant.
#pragma once

#include <algorithm>
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

// Expected bytes of a 30-byte HostMessage; every header field but hdr3 is 0.
inline Bytes messageBytes(std::uint32_t id, std::uint32_t p1 = 0, std::uint32_t p2 = 0,
                          std::uint32_t hdr3 = 0) {
  return RecordBuilder{}
      .u16(kHostMessageSize)
      .u32(id)
      .zeros(8)
      .u32(hdr3)
      .zeros(4)
      .u32(p1)
      .u32(p2)
      .bytes;
}

// Expected bytes of an ActionNotify.
inline Bytes notifyBytes(std::uint32_t id, std::uint32_t parent, std::int32_t cnt,
                         std::uint32_t code, std::uint32_t p1 = 0, std::uint32_t p2 = 0) {
  return RecordBuilder{}
      .u16(kActionNotifySize)
      .u32(id)
      .u32(parent)
      .i32(cnt)
      .u32(code)
      .u32(0)
      .u32(p1)
      .u32(p2)
      .bytes;
}

// Expected bytes of an ActionInfo, fields in record order; every field not
// named here (the reserved ones, the text size, the extension) is 0.
struct ActionInfoBytes {
  std::uint16_t size = kActionInfoSize;
  std::uint32_t id = 0;
  std::uint32_t parent = 0;
  std::int32_t cnt = -2;
  std::int32_t position = 0;
  std::uint32_t mask = 0;
  std::uint32_t status = 0;
  std::uint32_t statusMask = 0;
  std::uint32_t text = 0;  // a pointer: 0 where the test masks it
  std::uint32_t param = 0;
  std::uint16_t width = 0;
  std::uint16_t height = 0;

  Bytes bytes() const {
    RecordBuilder b;
    b.u16(size).u32(id).u32(parent).i32(cnt).i32(position).zeros(12);
    b.u32(mask).u32(status).u32(statusMask).zeros(8).u32(text).zeros(8);
    b.u32(param).zeros(4).u16(width).u16(height);
    if (size == kActionInfoExSize) b.zeros(4);
    return b.bytes;
  }
};

// A status change (24011) whose size field says `size`, in a buffer of
// `capacity` bytes: id, p1 (the contact) and p3 (the text) are written, every
// other byte is `fill`.
inline Bytes statusChangeBytes(std::uint16_t size, std::int32_t contact, const void* text,
                               std::size_t capacity = kHostMessageExSize, std::uint8_t fill = 0) {
  Bytes raw(capacity, fill);
  auto put = [&raw](std::size_t offset, const Bytes& field) {
    std::copy(field.begin(), field.end(), raw.begin() + static_cast<std::ptrdiff_t>(offset));
  };
  put(0, RecordBuilder{}.u16(size).u32(24011).bytes);
  put(22, RecordBuilder{}.i32(contact).bytes);
  put(30, RecordBuilder{}.ptr(text).bytes);
  return raw;
}

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

// Recorded bytes as the record T (zeros past their end). The record is
// packed: copy a field before binding a reference to it.
template <typename T>
T recordOf(const Bytes& bytes) {
  return recordFrom<T>(bytes.data(), bytes.size());
}

}  // namespace brisko::test
