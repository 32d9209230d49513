// A plug-in module loaded through its single export, and the type of that
// export.
#pragma once

#include <memory>
#include <string>

#include "host/records.h"

#if defined(_WIN32)
#define BRISKO_STDCALL __stdcall
#else
#define BRISKO_STDCALL __attribute__((stdcall))
#endif

namespace brisko::emu {

using MessageProc = int(BRISKO_STDCALL*)(HostMessage*);

// A plug-in module loaded through its single export.
class PluginModule {
 public:
  // Loads the module file at `path`; on failure returns null and sets *error.
  static std::unique_ptr<PluginModule> load(const std::string& path, std::string* error);
  // The plug-in module built beside the running program.
  static std::unique_ptr<PluginModule> loadBeside(std::string* error = nullptr);
  // File name of the module beside the running program.
  static std::string besidePath();

  ~PluginModule();  // unloads
  MessageProc proc() const { return proc_; }
  void* handle() const { return handle_; }
  const std::string& path() const { return path_; }

 private:
  PluginModule(void* module, MessageProc entry, const std::string& file)
      : handle_(module), proc_(entry), path_(file) {}
  void* handle_;
  MessageProc proc_;
  std::string path_;
};

}  // namespace brisko::emu
