// The Windows-1250 bytes of a UTF-8 text, written independently of
// settings/texts.h so that the two can be checked against each other.
#pragma once

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>

namespace brisko::test {

// Windows-1250 bytes of `utf8`. Covers ASCII, the Polish letters and "…";
// anything else is a fault of the test itself and throws.
inline std::string cp1250(const std::string& utf8) {
  static const std::map<std::uint32_t, unsigned char> kTable = {
      {0x0105, 0xB9}, {0x0107, 0xE6}, {0x0119, 0xEA}, {0x0142, 0xB3}, {0x0144, 0xF1},
      {0x00F3, 0xF3}, {0x015B, 0x9C}, {0x017A, 0x9F}, {0x017C, 0xBF}, {0x0104, 0xA5},
      {0x0106, 0xC6}, {0x0118, 0xCA}, {0x0141, 0xA3}, {0x0143, 0xD1}, {0x00D3, 0xD3},
      {0x015A, 0x8C}, {0x0179, 0x8F}, {0x017B, 0xAF}, {0x2026, 0x85}};
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    std::uint32_t cp = 0;
    std::size_t n = 0;
    if (b < 0x80) {
      cp = b;
      n = 1;
    } else if ((b & 0xE0) == 0xC0) {
      cp = b & 0x1Fu;
      n = 2;
    } else if ((b & 0xF0) == 0xE0) {
      cp = b & 0x0Fu;
      n = 3;
    } else {
      throw std::invalid_argument("cp1250: unsupported UTF-8 lead byte");
    }
    if (i + n > utf8.size()) throw std::invalid_argument("cp1250: cut UTF-8 sequence");
    for (std::size_t k = 1; k < n; ++k) {
      cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3Fu);
    }
    i += n;
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else {
      const auto it = kTable.find(cp);
      if (it == kTable.end()) throw std::invalid_argument("cp1250: character not in the table");
      out += static_cast<char>(it->second);
    }
  }
  return out;
}

}  // namespace brisko::test
