#include "fuzz/status_pieces.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "fuzz/plugin_allocations.h"

namespace brisko::fuzz {

HeapBytes::HeapBytes(std::size_t size) {
  HostCode hostCode;
  bytes_ = static_cast<char*>(std::malloc(size == 0 ? 1 : size));
  if (bytes_ == nullptr) std::abort();
  std::memset(bytes_, 0, size);
}

HeapBytes exactText(const std::string& text) {
  HeapBytes bytes(text.size() + 1);
  std::memcpy(bytes.get(), text.c_str(), text.size() + 1);
  return bytes;
}

std::string rawBytes(Draw& draw, std::size_t count) {
  std::string text;
  for (std::size_t i = 0; i < count; ++i) {
    const char c = static_cast<char>(draw.u8());
    text.push_back(c == '\0' ? ' ' : c);
  }
  return text;
}

std::string fromPieces(Draw& draw, std::size_t count) {
  std::string text;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t choice = draw.u8();
    if (choice >= 240) {
      text += rawBytes(draw, 1);
    } else {
      text += pieces::kStatus[choice % std::size(pieces::kStatus)];
    }
  }
  return text;
}

std::string longText(Draw& draw) {
  std::string text = draw.pick(pieces::kLongUnit);
  text.reserve(kLongText + 32);  // below the sanitizer's large-block size
  while (text.size() < kLongText) {
    text.append(text, 0, std::min(text.size(), kLongText - text.size()));  // doubling
  }
  switch (draw.u8() % 4) {
    case 1:
      text = "www.first.pl " + text;
      break;
    case 2:
      text += " http://www.last.pl/x";
      break;
    case 3:
      text.replace(kLongText / 2, 12, "www.middle.p");
      break;
    default:
      break;
  }
  return text;
}

Text statusText(Draw& draw) {
  const std::uint8_t kind = draw.u8() % 16;
  switch (kind) {
    case 0:
      return std::string(kOrdinaryStatus);
    case 1:
      return std::nullopt;
    case 2:
      return std::string();
    case 8:
    case 9:
      return rawBytes(draw, draw.u8() % 64);
    case 10: {
      std::string text;
      const int repeats = 1 + draw.u8() % 40;
      for (int i = 0; i < repeats; ++i) {
        text += draw.pick({"http://www.", "http://", "www.", "HTTP://WWW.", "http:\\\\www.",
                           "https://www.", "https://"});
      }
      return text + fromPieces(draw, draw.u8() % 4);
    }
    case 11:
      // 64 KiB is costly under emulation: one status in 256.
      return draw.rare(16) ? longText(draw) : fromPieces(draw, 1 + draw.u8() % 8);
    default:
      return fromPieces(draw, 1 + draw.u8() % 16);
  }
}

}  // namespace brisko::fuzz
