// Windows-1250 texts shown on a UTF-8 terminal, and typed ones taken back.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace brisko::emu {

// The Unicode code point of one Windows-1250 byte. The five bytes the code
// page leaves undefined (0x81, 0x83, 0x88, 0x90, 0x98) give U+FFFD.
char32_t cp1250ToCodePoint(unsigned char byte);

// A Windows-1250 text as UTF-8. Every byte gives one character; control
// characters pass unchanged.
std::string cp1250ToUtf8(std::string_view text);

// A UTF-8 text as Windows-1250. A character the code page lacks, or a byte
// sequence that is not UTF-8, gives `replacement`.
std::string utf8ToCp1250(std::string_view text, char replacement = '?');

// Appends the UTF-8 form of one code point.
void appendUtf8(std::string& out, char32_t codePoint);

}  // namespace brisko::emu
