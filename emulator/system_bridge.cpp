#include "emulator/system_bridge.h"

#if defined(_WIN32)
#include <windows.h>

#include <cstring>
#else
#include "system/native_system.h"
#endif

namespace brisko::emu {

#if defined(_WIN32)

namespace {

std::vector<ShellOpen>& opens() {
  static std::vector<ShellOpen> list;
  return list;
}

HINSTANCE WINAPI recordShellExecute(HWND, LPCSTR verb, LPCSTR file, LPCSTR, LPCSTR, INT show) {
  ShellOpen open;
  open.file = file != nullptr ? file : "";
  open.verb = verb != nullptr ? verb : "";
  open.show = show;
  opens().push_back(open);
  return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
}

// Redirects `module`'s import of SHELL32.dll!ShellExecuteA to the recorder.
bool redirectShellExecute(HMODULE module) {
  auto* base = reinterpret_cast<unsigned char*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  if (dos->e_magic != IMAGE_DOS_SIGNATURE) return false;
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  if (nt->Signature != IMAGE_NT_SIGNATURE) return false;
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (dir.VirtualAddress == 0 || dir.Size == 0) return false;

  // The address the loader bound, for imports without a name table.
  FARPROC real = nullptr;
  if (HMODULE shell = GetModuleHandleA("shell32.dll")) {
    real = GetProcAddress(shell, "ShellExecuteA");
  }
  bool redirected = false;
  for (auto* desc = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress);
       desc->Name != 0; ++desc) {
    if (lstrcmpiA(reinterpret_cast<const char*>(base + desc->Name), "SHELL32.dll") != 0) continue;
    auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + desc->FirstThunk);
    const IMAGE_THUNK_DATA* name =
        desc->OriginalFirstThunk != 0
            ? reinterpret_cast<const IMAGE_THUNK_DATA*>(base + desc->OriginalFirstThunk)
            : nullptr;
    for (; slot->u1.Function != 0; ++slot) {
      bool match = false;
      if (name != nullptr) {
        if (!IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal)) {
          const auto* byName =
              reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + name->u1.AddressOfData);
          match = std::strcmp(reinterpret_cast<const char*>(byName->Name), "ShellExecuteA") == 0;
        }
        ++name;
      } else {
        match = real != nullptr && slot->u1.Function == reinterpret_cast<DWORD_PTR>(real);
      }
      if (!match) continue;
      DWORD oldProtect = 0;
      if (!VirtualProtect(&slot->u1.Function, sizeof(slot->u1.Function), PAGE_READWRITE,
                          &oldProtect)) {
        continue;
      }
      slot->u1.Function = reinterpret_cast<DWORD_PTR>(&recordShellExecute);
      DWORD ignored = 0;
      VirtualProtect(&slot->u1.Function, sizeof(slot->u1.Function), oldProtect, &ignored);
      redirected = true;
    }
  }
  return redirected;
}

}  // namespace

bool prepareSystem(void* module) {
  HMODULE target = module != nullptr ? static_cast<HMODULE>(module) : GetModuleHandleA(nullptr);
  return redirectShellExecute(target);
}

void setShift(bool down) {
  BYTE keys[256];
  if (!GetKeyboardState(keys)) std::memset(keys, 0, sizeof keys);
  const BYTE value = down ? 0x80 : 0x00;
  keys[VK_SHIFT] = value;
  keys[VK_LSHIFT] = value;
  SetKeyboardState(keys);
}

bool shiftDown() { return (GetKeyState(VK_SHIFT) & 0x80) != 0; }

std::vector<ShellOpen> shellOpens() { return opens(); }

void clearShellOpens() { opens().clear(); }

std::vector<char> clipboardBytes() {
  std::vector<char> bytes;
  if (!OpenClipboard(nullptr)) return bytes;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    const SIZE_T size = GlobalSize(data);
    if (const void* p = GlobalLock(data)) {
      const char* text = static_cast<const char*>(p);
      bytes.assign(text, text + size);
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return bytes;
}

void clearClipboard() {
  if (!OpenClipboard(nullptr)) return;
  EmptyClipboard();
  CloseClipboard();
}

#else  // native

bool prepareSystem(void*) {
  nativeSystem().setOpenMode(NativeSystem::OpenMode::Record);
  return true;
}

void setShift(bool down) { nativeSystem().setShiftDown(down); }

bool shiftDown() { return (nativeSystem().getKeyState(kVkShift) & 0x80) != 0; }

std::vector<ShellOpen> shellOpens() {
  std::vector<ShellOpen> list;
  for (const std::string& link : nativeSystem().openedLinks()) {
    list.push_back(ShellOpen{link, "open", 1});
  }
  return list;
}

void clearShellOpens() { nativeSystem().clearOpenedLinks(); }

std::vector<char> clipboardBytes() { return nativeSystem().clipboardBytes(); }

void clearClipboard() { nativeSystem().clearClipboard(); }

#endif

}  // namespace brisko::emu
