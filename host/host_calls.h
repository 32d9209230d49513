// Calls from the plug-in to the host.
//
// One function per host operation. Each builds its record afresh, zeroes
// every byte the operation does not name, and sends it through the host
// interface object handed over with message 20001. Before that message (or
// after 20002) there is no host: every call is skipped and answers 0 or the
// empty text, so no caller has to test for it.
//
// Texts the host answers with are copied before the function returns; a null
// text pointer is the empty text.
#pragma once

#include <cstdint>
#include <string>

#include "host/host_interface.h"
#include "host/records.h"

namespace brisko::host {

// The host interface reference (set at 20001, cleared at 20002).
IHost* current();
void setCurrent(IHost* host);

// One instance of an action: its id, the group holding it, and the contact
// whose instance is meant (kNoContact for records without a contact).
struct ActionTarget {
  std::uint32_t id;
  std::uint32_t parent;
  std::int32_t contact;
};

// Which ActionInfo form an insertion uses.
enum class ActionForm { Short74, Long78 };

// What an insertion describes; every other field of the record is zero.
struct Insertion {
  std::uint32_t parent = 0;
  std::uint32_t id = 0;
  std::int32_t position = -1;  // -1 appends
  std::uint32_t status = 0;
  const char* text = nullptr;
  std::uint32_t param = 0;
  std::uint16_t width = 0;
  std::uint16_t height = 0;
  ActionForm form = ActionForm::Short74;
};

// Direct operations of the interface object.
int GetPluginId();
int GetPluginInstance();
int GetHostState();
void SetError(int code);
int SendToPlugin(int pluginId, HostMessage& message);

// Messages sent with SendToHost. `withHostFlag` sends the text mask 65600
// (64 plus the host's own flag 65536) instead of 64.
int InsertAction(const Insertion& insertion);                               // 10101
int CallAction(ActionNotify& event);                                        // 10103
std::string GetActionValue(const ActionTarget& target, bool withHostFlag);  // 10106
void SetActionStatus(const ActionTarget& target, std::uint32_t status,
                     std::uint32_t statusMask);                           // 10108
void SetActionText(const ActionTarget& target, const std::string& text);  // 10108
void SetActionValue(const ActionTarget& target, const std::string& text,
                    bool withHostFlag);           // 10110
int GetActionHandle(const ActionTarget& target);  // 10117
void RegisterIcon(std::uint32_t iconId, std::uint32_t iconKind, std::uint32_t module,
                  std::uint32_t resourceId);  // 10130
int GetContactCount();                        // 201
void RegisterConfigColumn(std::uint32_t columnId, std::uint32_t columnType,
                          std::uint32_t defaultValue, const char* name);  // 1102
int GetPluginValue(int pluginId);                                         // 245
int ValueToText(int value, char* buffer);                                 // 26

// Table reads (GetRowId / GetValue).
int GetContactId(int index);
int GetConfigInt(std::uint32_t column);
std::string GetConfigString(std::uint32_t column);
std::string GetContactString(int contact, int column);

}  // namespace brisko::host
