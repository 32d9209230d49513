// The one fake host of the unit tests: an IHost whose answers a test sets
// field by field, and which records every call with copies of the message,
// the record it points to and the text that record points to.
//
// It serves what the host emulator does not: null texts, a value buffer
// filled to its last byte, a module handle that changes between calls, an
// answer that throws, a raw answer to every table read.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "emulator/host_emulator.h"
#include "host/host_interface.h"
#include "tests/support/record_bytes.h"

namespace brisko::test {

class FakeHost : public IHost {
 public:
  using Op = emu::HostCall::Op;

  // One call the plug-in made.
  struct Call {
    Op op = Op::GetPluginId;
    std::uint32_t messageId = 0;      // SendToHost / SendToPlugin
    Bytes message;                    // the HostMessage (its size field's count)
    Bytes record;                     // the record p1 points to, for messages that carry one
    ActionInfo info{};                // `record` as an ActionInfo, for 10101/10106/10108/10110
    std::optional<std::string> text;  // the text an ActionInfo points to; nullopt: null pointer
    std::vector<std::int32_t> args;   // SetError: code; SendToPlugin: target; GetRowId: table,
                                      // index; GetValue: table, row, column, type, value, size
    std::int32_t result = 0;
  };

  // --- answers ---
  int pluginId = 77;
  int pluginInstance = 0x10000000;
  int pluginInstanceStep = 0;  // added to pluginInstance after each answer
  int hostState = 0;
  int rowId = -1;
  // SendToHost: by message id, else `answer`. GetActionValue answers a
  // control's value when controlValues has it; GetPluginValue answers
  // pluginValue; ValueToText writes valueTextBytes and answers 1.
  int answer = 0;
  std::map<std::uint32_t, int> answers;
  std::function<void(const HostMessage&)> beforeSend;  // may throw, as a failing host would
  int pluginValue = 4242;
  std::vector<std::uint8_t> valueTextBytes;  // written into the ValueToText buffer as they are
  std::size_t valueBufferSize = 52;          // how many of them the host may write
  // Page control values by action id (nullopt or missing: a null pointer).
  std::map<std::uint32_t, std::optional<std::string>> controlValues;
  std::optional<std::string> displayName;  // answer to SendToPlugin; nullopt: null pointer
  // Configuration table reads: integers, and texts (nullopt or missing: a
  // null pointer); rawValue, when set, answers every read of any table.
  std::map<int, std::int32_t> configInts;
  std::map<int, std::optional<std::string>> configTexts;
  std::optional<std::uint32_t> rawValue;

  // --- what the plug-in did ---
  std::vector<Call> calls;
  std::vector<Call> callsTo(std::uint32_t messageId) const;  // SendToHost and SendToPlugin
  std::vector<Call> callsOf(Op op) const;

  int GetPluginId() override;
  int GetPluginInstance() override;
  int GetHostState() override;
  void SetError(int code) override;
  int SendToHost(HostMessage* message) override;
  int SendToPlugin(int target, HostMessage* message) override;
  int GetRowId(int table, int index) override;
  int GetValue(int table, int row, int column, ConfigValue* value) override;

 private:
  Call& record(Op op, std::int32_t result = 0);
  std::string answeredValue_;
  std::string answeredConfig_;
};

// Makes `host` the current host for the scope; the previous one afterwards.
class CurrentHostScope {
 public:
  explicit CurrentHostScope(IHost* host);
  ~CurrentHostScope();
  CurrentHostScope(const CurrentHostScope&) = delete;
  CurrentHostScope& operator=(const CurrentHostScope&) = delete;

 private:
  IHost* previous_;
};

}  // namespace brisko::test
