// Loading the plug-in module through its single export.
#include "emulator/plugin_module.h"

#include <string>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>
#endif

namespace brisko::emu {

#if defined(_WIN32)

namespace {
std::string lastErrorText(DWORD code) {
  char* buffer = nullptr;
  const DWORD n = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
  std::string text = n != 0 && buffer != nullptr ? std::string(buffer, n) : std::string();
  if (buffer != nullptr) LocalFree(buffer);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
    text.pop_back();
  }
  return "error " + std::to_string(code) + (text.empty() ? "" : ": " + text);
}
}  // namespace

std::unique_ptr<PluginModule> PluginModule::load(const std::string& path, std::string* error) {
  HMODULE module = LoadLibraryA(path.c_str());
  if (module == nullptr) {
    if (error != nullptr)
      *error = "cannot load " + path + " (" + lastErrorText(GetLastError()) + ")";
    return nullptr;
  }
  FARPROC proc = GetProcAddress(module, "_IMessageProc@4");
  if (proc == nullptr) {
    if (error != nullptr) *error = path + " has no export _IMessageProc@4";
    FreeLibrary(module);
    return nullptr;
  }
  const auto entry = reinterpret_cast<MessageProc>(reinterpret_cast<void*>(proc));
  return std::unique_ptr<PluginModule>(new PluginModule(module, entry, path));
}

std::string PluginModule::besidePath() {
  char buffer[MAX_PATH * 4];
  const DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
  std::string exe(buffer, n < sizeof buffer ? n : 0);
  const std::size_t slash = exe.find_last_of("\\/");
  const std::string dir = slash == std::string::npos ? std::string(".") : exe.substr(0, slash);
  return dir + "\\Brisko.dll";
}

PluginModule::~PluginModule() {
  if (handle_ != nullptr) FreeLibrary(static_cast<HMODULE>(handle_));
}

#else  // native

std::unique_ptr<PluginModule> PluginModule::load(const std::string& path, std::string* error) {
  // A bare file name means the file in the current folder, not a library
  // searched for on the system's paths.
  const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
  void* module = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) {
    const char* why = dlerror();
    if (error != nullptr) *error = "cannot load " + path + " (" + (why ? why : "unknown") + ")";
    return nullptr;
  }
  dlerror();
  void* proc = dlsym(module, "IMessageProc");
  if (proc == nullptr) {
    if (error != nullptr) *error = path + " has no export IMessageProc";
    dlclose(module);
    return nullptr;
  }
  const auto entry = reinterpret_cast<MessageProc>(proc);
  return std::unique_ptr<PluginModule>(new PluginModule(module, entry, path));
}

std::string PluginModule::besidePath() {
  char buffer[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  std::string exe = n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
  const std::size_t slash = exe.rfind('/');
  const std::string dir = slash == std::string::npos ? std::string(".") : exe.substr(0, slash);
  return dir + "/Brisko.so";
}

PluginModule::~PluginModule() {
  if (handle_ != nullptr) dlclose(handle_);
}

#endif

std::unique_ptr<PluginModule> PluginModule::loadBeside(std::string* error) {
  return load(besidePath(), error);
}

}  // namespace brisko::emu
