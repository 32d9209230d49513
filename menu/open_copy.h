// Opening and copying a chosen link, and the Shift test, through the
// SystemApi seam (system/system_api.h); and the shortening of menu texts.
#pragma once

#include <cstdint>
#include <string>

#include "settings/texts.h"

namespace brisko {

// The byte that ends a shortened menu text ("…" in Windows-1250).
constexpr char kMenuEllipsis = texts::kEllipsis[0];

// Opens `link` with the shell's "open" verb. The result is not examined.
void openLink(std::string link);

// Puts `link` on the clipboard as CF_TEXT, with its terminating zero byte.
// A failure on the way leaves no block behind and the clipboard closed;
// nothing is reported.
void copyLink(std::string link);

// True when Shift is held now (bit 0x80 of the key state).
bool isShiftDown();

// The text an item shows for `text`: unchanged when `displayLength` is 0 or
// less, or when the text is not longer than `displayLength` bytes; otherwise
// its first displayLength - 1 bytes followed by kMenuEllipsis, so that it is
// exactly `displayLength` bytes long.
std::string shortenForMenu(const std::string& text, std::int32_t displayLength);

}  // namespace brisko
