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
  const std::size_t valueEnd = controlParamValueEnd(text, valueStart);
  return text.substr(0, valueStart) + value + text.substr(valueEnd);
}

bool hasControlParam(const std::string& text, const std::string& key) {
  return text.find(key) != std::string::npos;
}

std::size_t controlParamValueEnd(const std::string& text, std::size_t from) {
  std::size_t end = from;
  while (end < text.size()) {
    const unsigned char c = static_cast<unsigned char>(text[end]);
    if (c < 0x08 || text[end] == texts::kParamMark) break;
    ++end;
  }
  return end;
}

std::string ControlText::param(const std::string& key) const {
  for (const auto& [k, v] : params) {
    if (k == key) return v;
  }
  return std::string();
}

ControlText splitControlText(const std::string& text) {
  ControlText out;
  std::size_t i = text.find(texts::kParamMark);
  out.visible = text.substr(0, i);
  while (i != std::string::npos && i < text.size()) {
    const std::size_t end = controlParamValueEnd(text, i + 1);
    const std::string body = text.substr(i + 1, end - i - 1);
    const std::size_t eq = body.find('=');
    if (eq != std::string::npos) out.params.emplace_back(body.substr(0, eq), body.substr(eq + 1));
    i = text.find(texts::kParamMark, end);
  }
  return out;
}

}  // namespace brisko
