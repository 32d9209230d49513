#include "settings/control_params.h"

#include <cstddef>

#include "settings/texts.h"

namespace brisko {

std::string setControlParam(const std::string& text, const std::string& key,
                            const std::string& value) {
  std::size_t from = text.find('\x04');
  if (from == std::string::npos) from = 0;
  const std::size_t at = key.empty() ? std::string::npos : text.find(key, from);
  if (at == std::string::npos) return text + key + value;
  // The key is there already: replace its value, which runs to the next
  // byte below 0x08 or the next parameter mark.
  const std::size_t valueStart = at + key.size();
  std::size_t valueEnd = valueStart;
  while (valueEnd < text.size()) {
    const unsigned char c = static_cast<unsigned char>(text[valueEnd]);
    if (c < 0x08 || text[valueEnd] == texts::kParamMark) break;
    ++valueEnd;
  }
  return text.substr(0, valueStart) + value + text.substr(valueEnd);
}

bool hasControlParam(const std::string& text, const std::string& key) {
  return text.find(key) != std::string::npos;
}

}  // namespace brisko
