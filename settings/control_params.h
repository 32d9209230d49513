// Named parameters in a configuration-page control's text.
//
// After its visible part, a control's text may carry parameters: the byte
// 0x1A (texts::kParamMark), a key, "=" and a value that runs to the next byte
// below 0x08 or the next 0x1A. A key here includes its leading 0x1A and its
// trailing "=", e.g. texts::kParamTipRich.
#pragma once

#include <string>

namespace brisko {

// `text` with the parameter `key` set to `value`. The key is looked for from
// the first 0x04 byte of the text on (from its start when there is none);
// when it is not there, key and value are appended. When it is, its value is
// replaced, so a key never occurs twice.
std::string setControlParam(const std::string& text, const std::string& key,
                            const std::string& value);

// Whether `key` occurs anywhere in `text`.
bool hasControlParam(const std::string& text, const std::string& key);

}  // namespace brisko
