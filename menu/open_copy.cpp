#include "menu/open_copy.h"

#include <cstddef>
#include <cstring>

#include "system/system_api.h"

namespace brisko {

void openLink(std::string link) { systemApi().shellOpen(link.c_str()); }

void copyLink(std::string link) {
  SystemApi& api = systemApi();
  const std::size_t length = link.size();

  SystemApi::Handle block =
      api.globalAlloc(kGmemMoveable | kGmemZeroInit | kGmemDdeShare, length + 1);
  if (block == nullptr) return;

  void* memory = api.globalLock(block);
  if (memory == nullptr) {
    api.globalFree(block);
    return;
  }
  // The block is zero-initialised: its last byte terminates the text.
  std::memcpy(memory, link.data(), length);
  api.globalUnlock(block);

  if (!api.openClipboard()) {
    api.globalFree(block);
    return;
  }
  api.emptyClipboard();
  // Once accepted, the block belongs to the clipboard.
  if (!api.setClipboardData(kCfText, block)) api.globalFree(block);
  api.closeClipboard();
}

bool isShiftDown() {
  const auto state = static_cast<unsigned short>(systemApi().getKeyState(kVkShift));
  return (state & 0x80u) != 0;
}

std::string shortenForMenu(const std::string& text, std::int32_t displayLength) {
  if (displayLength <= 0) return text;
  const auto limit = static_cast<std::size_t>(displayLength);
  if (text.size() <= limit) return text;
  std::string shortened = text.substr(0, limit - 1);
  shortened.push_back(kMenuEllipsis);
  return shortened;
}

}  // namespace brisko
