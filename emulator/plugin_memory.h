// Reading the plug-in's memory as the host does, for the emulator's files:
// copies of the bytes of a record and of a text that a record points to.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "host/records.h"

namespace brisko::emu {

inline std::vector<std::uint8_t> bytesOf(const void* p, std::size_t n) {
  const auto* b = static_cast<const std::uint8_t*>(p);
  return std::vector<std::uint8_t>(b, b + n);
}

// The text at a pointer a record carries; a null pointer is the empty text.
inline std::string textAt(std::uint32_t pointer) {
  const char* p = valuePtr<const char>(pointer);
  return p != nullptr ? std::string(p) : std::string();
}

}  // namespace brisko::emu
