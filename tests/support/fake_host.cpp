#include "tests/support/fake_host.h"

#include <algorithm>
#include <cstring>

#include "host/host_calls.h"
#include "host/ids.h"

namespace brisko::test {
namespace {

Bytes copyOf(const void* p, std::size_t n) {
  const auto* bytes = static_cast<const std::uint8_t*>(p);
  return Bytes(bytes, bytes + n);
}

bool carriesActionInfo(std::uint32_t id) {
  return id == msg::kInsertAction || id == msg::kGetActionValue || id == msg::kSetAction ||
         id == msg::kSetActionValue;
}

std::size_t recordSize(std::uint32_t id) {
  switch (id) {
    case msg::kCallAction:
      return kActionNotifySize;
    case msg::kGetActionHandle:
      return kActionRefSize;
    case msg::kRegisterIcon:
      return kIconRecordSize;
    default:
      return 0;
  }
}

}  // namespace

std::vector<FakeHost::Call> FakeHost::callsTo(std::uint32_t messageId) const {
  std::vector<Call> out;
  for (const Call& c : calls) {
    if ((c.op == Op::SendToHost || c.op == Op::SendToPlugin) && c.messageId == messageId) {
      out.push_back(c);
    }
  }
  return out;
}

std::vector<FakeHost::Call> FakeHost::callsOf(Op op) const {
  std::vector<Call> out;
  for (const Call& c : calls) {
    if (c.op == op) out.push_back(c);
  }
  return out;
}

FakeHost::Call& FakeHost::record(Op op, std::int32_t result) {
  Call call;
  call.op = op;
  call.result = result;
  calls.push_back(call);
  return calls.back();
}

int FakeHost::GetPluginId() { return record(Op::GetPluginId, pluginId).result; }

int FakeHost::GetPluginInstance() {
  const int answered = pluginInstance;
  pluginInstance += pluginInstanceStep;
  return record(Op::GetPluginInstance, answered).result;
}

int FakeHost::GetHostState() { return record(Op::GetHostState, hostState).result; }

void FakeHost::SetError(int code) { record(Op::SetError).args = {code}; }

int FakeHost::SendToHost(HostMessage* message) {
  Call call;
  call.op = Op::SendToHost;
  call.messageId = message->id;
  call.message = copyOf(message, message->size);
  const std::uint32_t p1 = message->p1;  // packed fields: copied before use
  const std::uint32_t p2 = message->p2;
  if (carriesActionInfo(call.messageId) && p1 != 0) {
    const auto* info = valuePtr<const ActionInfo>(p1);
    call.record = copyOf(info, info->size <= sizeof(ActionInfo) ? info->size : 0);
    call.info = recordOf<ActionInfo>(call.record);
    if (call.info.text != 0) call.text = std::string(valuePtr<const char>(call.info.text));
  } else if (recordSize(call.messageId) != 0 && p1 != 0) {
    call.record = copyOf(valuePtr<const void>(p1), recordSize(call.messageId));
  }
  calls.push_back(call);
  if (beforeSend) beforeSend(*message);

  const std::uint32_t actionId = call.info.id;  // a packed field: copied before use
  int result = answer;
  const auto scripted = answers.find(call.messageId);
  if (scripted != answers.end()) {
    result = scripted->second;
  } else if (call.messageId == msg::kGetActionValue) {
    const auto it = controlValues.find(actionId);
    if (it != controlValues.end()) {
      answeredValue_ = it->second.value_or("");
      result = it->second ? static_cast<int>(ptrValue(answeredValue_.c_str())) : 0;
    }
  } else if (call.messageId == msg::kSetActionValue && call.text) {
    controlValues[actionId] = call.text;
  } else if (call.messageId == msg::kGetPluginValue) {
    result = pluginValue;
  } else if (call.messageId == msg::kValueToText) {
    const std::size_t n = std::min(valueTextBytes.size(), valueBufferSize);
    if (n > 0) std::memcpy(valuePtr<char>(p2), valueTextBytes.data(), n);
    result = 1;
  }
  calls.back().result = result;
  return result;
}

int FakeHost::SendToPlugin(int target, HostMessage* message) {
  const int result = displayName ? static_cast<int>(ptrValue(displayName->c_str())) : 0;
  Call& call = record(Op::SendToPlugin, result);
  call.messageId = message->id;
  call.message = copyOf(message, message->size);
  call.args = {target};
  return result;
}

int FakeHost::GetRowId(int table, int index) {
  Call& call = record(Op::GetRowId, rowId);
  call.args = {table, index};
  return rowId;
}

int FakeHost::GetValue(int table, int row, int column, ConfigValue* value) {
  Call& call = record(Op::GetValue);
  call.args = {table,
               row,
               column,
               value->type,
               static_cast<std::int32_t>(value->value),
               static_cast<std::int32_t>(value->bufferSize)};
  if (rawValue) {
    value->value = *rawValue;
  } else if (table != kConfigTable) {
    value->value = 0;
  } else if (value->type == 0) {
    const auto it = configInts.find(column);
    value->value = static_cast<std::uint32_t>(it == configInts.end() ? 0 : it->second);
  } else {
    const auto it = configTexts.find(column);
    if (it == configTexts.end() || !it->second) {
      value->value = 0;
    } else {
      answeredConfig_ = *it->second;
      value->value = ptrValue(answeredConfig_.c_str());
    }
  }
  return 0;
}

CurrentHostScope::CurrentHostScope(IHost* host) : previous_(host::current()) {
  host::setCurrent(host);
}

CurrentHostScope::~CurrentHostScope() { host::setCurrent(previous_); }

}  // namespace brisko::test
