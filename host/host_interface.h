// The host interface object.
//
// The host hands the plug-in a pointer to this object in p1 of message 20001.
// It is laid out as the 32-bit Windows C++ ABI lays out a class with virtual
// functions: a vtable pointer at offset 0, and these eight slots in this
// order, with the default member calling convention (thiscall under
// mingw-w64 and MSVC). There is deliberately no virtual destructor: it would
// occupy a slot the host does not have. Do not reorder, add or remove slots.
#pragma once

#include <cstdint>

#include "host/records.h"

namespace brisko {

class IHost {
 public:
  virtual int GetPluginId() = 0;                                                 // slot 0
  virtual int GetPluginInstance() = 0;                                           // slot 1
  virtual int GetHostState() = 0;                                                // slot 2
  virtual void SetError(int code) = 0;                                           // slot 3
  virtual int SendToHost(HostMessage* message) = 0;                              // slot 4
  virtual int SendToPlugin(int pluginId, HostMessage* message) = 0;              // slot 5
  virtual int GetRowId(int table, int index) = 0;                                // slot 6
  virtual int GetValue(int table, int row, int column, ConfigValue* value) = 0;  // slot 7

 protected:
  IHost() = default;
  IHost(const IHost&) = default;
  IHost& operator=(const IHost&) = default;
  ~IHost() = default;  // never deleted through this type
};

// Host tables named by the plug-in.
constexpr int kConfigTable = 0;
constexpr int kContactTable = 1;

}  // namespace brisko
