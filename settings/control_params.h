// Named parameters in a configuration-page control's text.
//
// After its visible part, a control's text may carry parameters: the byte
// 0x1A (texts::kParamMark), a key, "=" and a value that runs to the next byte
// below 0x08 or the next 0x1A. A key here includes its leading 0x1A and its
// trailing "=", e.g. texts::kParamTipRich.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace brisko {

// `text` with the parameter `key` set to `value`. The key is looked for from
// the first 0x04 byte of the text on (from its start when there is none);
// when it is not there, key and value are appended. When it is, its value is
// replaced, so a key never occurs twice.
std::string setControlParam(const std::string& text, const std::string& key,
                            const std::string& value);

// Whether `key` occurs anywhere in `text`.
bool hasControlParam(const std::string& text, const std::string& key);

// Where a parameter's value that starts at `from` ends: at the next byte below
// 0x08, the next parameter mark, or the end of the text.
std::size_t controlParamValueEnd(const std::string& text, std::size_t from);

// A control's text as the host reads it: the visible part before the first
// parameter mark, and each parameter's key (without the mark and the "=")
// and value, in text order.
struct ControlText {
  std::string visible;
  std::vector<std::pair<std::string, std::string>> params;
  std::string param(const std::string& key) const;  // "" when absent
};
ControlText splitControlText(const std::string& text);

}  // namespace brisko
