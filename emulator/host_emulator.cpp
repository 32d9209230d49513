// The host interface object: the calls the plug-in makes, each recorded,
// and the record of them.
#include "emulator/host_emulator.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "emulator/plugin_memory.h"
#include "host/ids.h"

namespace brisko::emu {

// --- construction ---------------------------------------------------------------

HostEmulator::HostEmulator(MessageProc proc, void* moduleHandle)
    : proc_(proc), module_(moduleHandle) {
  prepareSystem(moduleHandle);
}

HostEmulator::~HostEmulator() = default;

// --- IHost ----------------------------------------------------------------------

int HostEmulator::GetPluginId() {
  HostCall call{HostCall::Op::GetPluginId};
  call.result = hooks_.pluginId ? hooks_.pluginId() : pluginId_;
  calls_.push_back(call);
  return call.result;
}

int HostEmulator::GetPluginInstance() {
  HostCall call{HostCall::Op::GetPluginInstance};
  // The module handle's low 32 bits (all of it on a 32-bit target).
  call.result =
      hooks_.pluginInstance
          ? hooks_.pluginInstance()
          : static_cast<int>(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(module_)));
  calls_.push_back(call);
  return call.result;
}

int HostEmulator::GetHostState() {
  HostCall call{HostCall::Op::GetHostState};
  call.result = hooks_.hostState ? hooks_.hostState() : hostState_;
  calls_.push_back(call);
  return call.result;
}

void HostEmulator::SetError(int code) {
  HostCall call{HostCall::Op::SetError};
  call.args = {code};
  calls_.push_back(call);
  if (hooks_.setError) hooks_.setError(code);
}

namespace {
// A copy of the message a call carries: its id and the bytes its size
// field counts (30 where that size is implausible).
void copyMessage(const HostMessage* message, HostCall& call) {
  if (message == nullptr) return;
  call.messageId = message->id;
  const std::size_t n =
      message->size >= 6 && message->size <= 64 ? message->size : kHostMessageSize;
  call.message = bytesOf(message, n);
}
}  // namespace

int HostEmulator::SendToHost(HostMessage* message) {
  HostCall call{HostCall::Op::SendToHost};
  copyMessage(message, call);
  calls_.push_back(call);
  if (message == nullptr) return 0;
  const std::size_t index = calls_.size() - 1;
  std::optional<int> answer;
  if (hooks_.sendToHost) answer = hooks_.sendToHost(*message);
  if (!answer) {
    const std::uint32_t id = message->id;  // a packed field: copied before use
    const auto it = answers_.find(id);
    if (it != answers_.end()) answer = it->second;
  }
  if (answer) {
    recordOnly(message, index);
    calls_[index].result = *answer;
    return *answer;
  }
  const int result = handleSendToHost(message, index);
  calls_[index].result = result;
  return result;
}

void HostEmulator::answerWith(std::uint32_t messageId, int answer) { answers_[messageId] = answer; }

int HostEmulator::SendToPlugin(int pluginId, HostMessage* message) {
  HostCall call{HostCall::Op::SendToPlugin};
  call.args = {pluginId};
  copyMessage(message, call);
  calls_.push_back(call);
  const std::size_t index = calls_.size() - 1;
  int result = 0;
  std::optional<int> answer;
  if (hooks_.sendToPlugin && message != nullptr) answer = hooks_.sendToPlugin(pluginId, *message);
  if (answer) {
    result = *answer;
  } else if (message != nullptr && pluginId == pluginId_ && proc_ != nullptr) {
    result = proc_(message);
    const std::uint32_t id = message->id;
    if ((id == msg::kVersionQuery || id == msg::kNameQuery || id == msg::kDisplayNameQuery) &&
        result != 0) {
      calls_[index].text = textAt(static_cast<std::uint32_t>(result));
    }
  }
  calls_[index].result = result;
  return result;
}

int HostEmulator::GetRowId(int table, int index) {
  HostCall call{HostCall::Op::GetRowId};
  call.args = {table, index};
  int result = -1;
  if (hooks_.rowId) {
    result = hooks_.rowId(table, index);
  } else if (table == kContactTable && index >= 0 &&
             static_cast<std::size_t>(index) < contacts_.size()) {
    result = contacts_[static_cast<std::size_t>(index)].id;
  } else if (table == kConfigTable && index == 0) {
    result = 0;
  }
  call.result = result;
  calls_.push_back(call);
  return result;
}

int HostEmulator::GetValue(int table, int row, int column, ConfigValue* value) {
  HostCall call{HostCall::Op::GetValue};
  const int type = value != nullptr ? value->type : -1;
  call.args = {table, row, column, type};
  if (value != nullptr) {
    call.args.push_back(static_cast<std::int32_t>(value->value));
    call.args.push_back(static_cast<std::int32_t>(value->bufferSize));
  }
  int result = 0;
  std::optional<int> answer;
  if (hooks_.getValue && value != nullptr) answer = hooks_.getValue(table, row, column, *value);
  if (answer) {
    result = *answer;
    const std::uint32_t written = value->value;
    if (type == 1 && written != 0) call.text = textAt(written);
  } else if (value != nullptr) {
    std::optional<std::string> text;  // the answer for type 1; nullopt = null pointer
    bool found = false;
    if (table == kConfigTable && row == 0) {
      if (ConfigColumn* c = this->column(static_cast<std::uint32_t>(column))) {
        found = true;
        if (type == 0) {
          value->value = static_cast<std::uint32_t>(
              c->type == 0 ? c->intValue() : std::atoi(c->textValue().c_str()));
        } else {
          lastConfigText_ = c->type == 0 ? std::to_string(c->intValue()) : c->textValue();
          text = lastConfigText_;
        }
      }
    } else if (table == kContactTable && column == kStatusDescriptionColumn) {
      if (const Contact* contact = findContact(row)) {
        found = true;
        if (type == 1 && !contact->nullStatus) {
          lastContactText_ = contact->status;
          text = lastContactText_;
        } else if (type == 0) {
          value->value = 0;
        }
      }
    }
    if (type == 1) {
      if (!text) {
        value->value = 0;
      } else if (value->bufferSize > 0 && value->value != 0) {
        // A buffer offered: fill it, terminated, and leave the pointer.
        char* buffer = valuePtr<char>(value->value);
        const std::size_t n = std::min<std::size_t>(text->size(), value->bufferSize - 1);
        std::memcpy(buffer, text->data(), n);
        buffer[n] = '\0';
      } else {
        const std::string& kept = (table == kConfigTable) ? lastConfigText_ : lastContactText_;
        value->value = ptrValue(kept.c_str());
      }
      if (text) call.text = *text;
    }
    result = found ? 1 : 0;
  }
  call.result = result;
  calls_.push_back(call);
  return result;
}

// --- SendToHost messages -----------------------------------------------------------

// What the host keeps of a message it is sent: copies of the record p1
// points to and of the text that record names.
void HostEmulator::recordOnly(const HostMessage* message, std::size_t callIndex) {
  HostCall& call = calls_[callIndex];
  switch (message->id) {
    case msg::kInsertAction:
    case msg::kGetActionValue:
    case msg::kSetAction:
    case msg::kSetActionValue: {
      const auto* info = valuePtr<const ActionInfo>(message->p1);
      if (info == nullptr) return;
      call.record =
          bytesOf(info, info->size == kActionInfoExSize ? kActionInfoExSize : kActionInfoSize);
      if (message->id == msg::kInsertAction ||
          (message->id != msg::kGetActionValue && (info->mask & mask::kText) != 0)) {
        call.text = textAt(info->text);
      }
      return;
    }
    case msg::kCallAction: {
      const auto* notify = valuePtr<const ActionNotify>(message->p1);
      if (notify == nullptr) return;
      call.record = bytesOf(notify, kActionNotifySize);
      if (notify->p2 == notify::kStatusTextMarker) call.text = textAt(notify->p1);
      return;
    }
    case msg::kGetActionHandle:
      if (message->p1 != 0)
        call.record = bytesOf(valuePtr<const void>(message->p1), kActionRefSize);
      return;
    case msg::kRegisterIcon:
      if (message->p1 != 0)
        call.record = bytesOf(valuePtr<const void>(message->p1), kIconRecordSize);
      return;
    case msg::kRegisterConfigColumn: {
      if (message->size < kConfigColumnRecordSize) return;
      const auto* record = reinterpret_cast<const ConfigColumnRecord*>(message);
      call.record = bytesOf(record, kConfigColumnRecordSize);
      call.text = textAt(record->name);
      if (record->columnType != 0) call.defaultText = textAt(record->defaultValue);
      return;
    }
    default:
      return;
  }
}

// --- the record of calls ----------------------------------------------------------------------

std::vector<HostCall> HostEmulator::callsTo(std::uint32_t messageId) const {
  std::vector<HostCall> found;
  for (const HostCall& call : calls_) {
    if ((call.op == HostCall::Op::SendToHost || call.op == HostCall::Op::SendToPlugin) &&
        call.messageId == messageId) {
      found.push_back(call);
    }
  }
  return found;
}

std::vector<HostCall> HostEmulator::callsOf(HostCall::Op op) const {
  std::vector<HostCall> found;
  for (const HostCall& call : calls_) {
    if (call.op == op) found.push_back(call);
  }
  return found;
}

int HostEmulator::errorCount() const {
  return static_cast<int>(std::count_if(calls_.begin(), calls_.end(), [](const HostCall& c) {
    return c.op == HostCall::Op::SetError;
  }));
}

}  // namespace brisko::emu
