// What the emulator does to the system around the plug-in, for each target.
//
// Natively the plug-in's shell, clipboard and keyboard are the stand-in of
// system/native_system.h, shared with the module; the bridge puts it in Record
// mode, so nothing is ever launched.
//
// On Windows (and under Wine) the plug-in uses the real functions:
//  - Shift: the calling thread's keyboard state (SetKeyboardState), which is
//    what GetKeyState inside the plug-in reads on the same thread;
//  - opening: the module's import of SHELL32.dll!ShellExecuteA is redirected
//    to a recording function that returns 42 and starts nothing;
//  - clipboard: the real Windows clipboard, read back as CF_TEXT.
#pragma once

#include <string>
#include <vector>

namespace brisko::emu {

// One call of the shell's open, as the plug-in made it.
struct ShellOpen {
  std::string file;
  std::string verb;  // natively always "open"
  int show = 1;      // natively always SW_SHOWNORMAL
};

// Prepares the system side for a plug-in whose code lives in `module` (a
// module handle; null: the running program itself, for a plug-in linked in).
// Natively: Record mode. Windows: redirects the module's ShellExecuteA import;
// returns false when the module has no such import (nothing to redirect).
bool prepareSystem(void* module);

void setShift(bool down);
bool shiftDown();
std::vector<ShellOpen> shellOpens();
void clearShellOpens();
// The clipboard's CF_TEXT block (its whole size, terminating zero included),
// or empty when it holds no text.
std::vector<char> clipboardBytes();
void clearClipboard();

}  // namespace brisko::emu
