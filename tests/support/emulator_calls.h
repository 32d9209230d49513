// Readings of what the host emulator recorded, shared by the tests that drive
// the plug-in through it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "emulator/host_emulator.h"
#include "host/host_interface.h"
#include "host/ids.h"

#if !defined(_WIN32)
#include "system/native_system.h"
#endif

namespace brisko::test {

// Reads of a contact's status description (table 1, column 18).
inline int statusReads(const emu::HostEmulator& host, std::int32_t contact) {
  int count = 0;
  for (const emu::HostCall& call : host.calls()) {
    if (call.op == emu::HostCall::Op::GetValue && call.args.size() >= 3 &&
        call.args[0] == kContactTable && call.args[1] == contact &&
        call.args[2] == kStatusDescriptionColumn) {
      ++count;
    }
  }
  return count;
}

// The chat button of `contact` as the user sees it: shown or hidden and, when
// shown, its text.
inline void expectChatButton(const emu::HostEmulator& host, std::int32_t contact, bool shown,
                             const std::string& text) {
  const emu::ChatButton button = host.readChatButton(contact);
  EXPECT_EQ(button.shown, shown);
  if (shown) {
    EXPECT_EQ(button.text, text);
  }
}

// The clipboard's bytes after `text` was copied: the text and its zero.
inline std::vector<char> clipboardText(const std::string& text) {
  std::vector<char> bytes(text.begin(), text.end());
  bytes.push_back('\0');
  return bytes;
}

// Natively, opening is recorded instead of starting a browser.
inline void recordOpenings() {
#if !defined(_WIN32)
  nativeSystem().setOpenMode(NativeSystem::OpenMode::Record);
#endif
}

}  // namespace brisko::test
