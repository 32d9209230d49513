// The actions the plug-in inserts and changes, and the host's answers to
// the messages it sends with SendToHost.
#include "emulator/host_emulator.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "emulator/plugin_memory.h"
#include "host/ids.h"

namespace brisko::emu {
namespace {

// Synthetic handles GetActionHandle answers with.
constexpr int kActionHandleBase = 0x00A10000;
constexpr int kChatHandleBase = 0x00C30000;
// What GetPluginValue answers; ValueToText turns it into pluginValueText_.
constexpr int kPluginValueToken = 0x00B15C00;
// ValueToText writes at most this many bytes, then a zero.
constexpr std::size_t kValueTextMax = 51;
}  // namespace

// --- HostAction -----------------------------------------------------------------

std::uint32_t HostAction::statusFor(std::int32_t cnt) const {
  const auto it = instanceStatus.find(cnt);
  return it != instanceStatus.end() ? it->second : status;
}

std::string HostAction::textFor(std::int32_t cnt) const {
  const auto it = instanceText.find(cnt);
  return it != instanceText.end() ? it->second : text;
}

int HostEmulator::handleSendToHost(HostMessage* message, std::size_t callIndex) {
  recordOnly(message, callIndex);
  switch (message->id) {
    case msg::kInsertAction: {
      const auto* info = valuePtr<const ActionInfo>(message->p1);
      return info != nullptr ? handleInsert(info) : 0;
    }
    case msg::kCallAction: {
      const auto* notify = valuePtr<const ActionNotify>(message->p1);
      return notify != nullptr ? handleCallAction(notify) : 0;
    }
    case msg::kGetActionValue:
    case msg::kSetAction:
    case msg::kSetActionValue: {
      const auto* info = valuePtr<const ActionInfo>(message->p1);
      return info != nullptr ? handleChange(message->id, info, callIndex) : 0;
    }
    case msg::kGetActionHandle: {
      const auto* ref = valuePtr<const ActionRef>(message->p1);
      return ref != nullptr ? actionHandle(*ref) : 0;
    }
    case msg::kRegisterIcon: {
      const auto* icon = valuePtr<const IconRecord>(message->p1);
      if (icon == nullptr) return 0;
      icons_.push_back(*icon);
      return 1;
    }
    case msg::kGetContactCount:
      return static_cast<int>(contacts_.size());
    case msg::kRegisterConfigColumn:
      if (message->size < kConfigColumnRecordSize) return 0;
      registerColumn(*reinterpret_cast<const ConfigColumnRecord*>(message));
      return 1;
    case msg::kGetPluginValue:
      return kPluginValueToken;
    case msg::kValueToText: {
      char* buffer = valuePtr<char>(message->p2);
      if (buffer == nullptr) return 0;
      const std::string text = pluginValueText_.substr(0, kValueTextMax);
      std::memcpy(buffer, text.data(), text.size());
      buffer[text.size()] = '\0';
      calls_[callIndex].text = text;
      return 1;
    }
    default:
      return 0;
  }
}

int HostEmulator::actionHandle(const ActionRef& ref) const {
  if (ref.id == group::kChatWindowAction && ref.parent == 0) {
    const auto it = std::find(chats_.begin(), chats_.end(), ref.cnt);
    return it == chats_.end() ? 0 : kChatHandleBase + static_cast<int>(it - chats_.begin()) + 1;
  }
  for (std::size_t i = 0; i < actions_.size(); ++i) {
    if (actions_[i].id == ref.id && actions_[i].parent == ref.parent) {
      return kActionHandleBase + static_cast<int>(i) + 1;
    }
  }
  return 0;
}

int HostEmulator::handleInsert(const ActionInfo* info) {
  HostAction a;
  a.id = info->id == action::kConfigControlBase ? controlId(info->param) : info->id;
  a.parent = info->parent;
  a.position = info->position;
  a.status = info->status;
  a.insertedStatus = info->status;
  a.caption = textAt(info->text);
  a.param = info->param;
  a.width = info->width;
  a.height = info->height;
  a.recordSize = info->size;
  a.order = actions_.size();
  if (a.isControl()) {
    // A control shows a value, not its caption; bound controls start from
    // the stored configuration when the page is shown.
    a.text.clear();
    if (controlsLoaded_) {
      if (const ConfigColumn* c = column(a.param)) a.text = columnValueText(*c, a.kind());
    }
  } else {
    a.text = a.caption;
  }
  actions_.push_back(a);
  return 1;
}

int HostEmulator::handleChange(std::uint32_t messageId, const ActionInfo* info,
                               std::size_t callIndex) {
  if (isConfigControl(info->id)) ensureControlValues();
  HostAction* a = action(info->id, info->parent);
  if (a == nullptr) return 0;
  const std::int32_t cnt = info->cnt;

  if (messageId == msg::kGetActionValue) {
    lastValue_ = a->textFor(cnt);
    calls_[callIndex].text = lastValue_;
    if (info->text != 0 && info->textSize > 0) {
      char* buffer = valuePtr<char>(info->text);
      const std::size_t n = std::min<std::size_t>(lastValue_.size(), info->textSize - 1);
      std::memcpy(buffer, lastValue_.data(), n);
      buffer[n] = '\0';
      return static_cast<int>(info->text);
    }
    return static_cast<int>(ptrValue(lastValue_.c_str()));
  }

  if (messageId == msg::kSetAction && (info->mask & mask::kStatus) != 0) {
    const std::uint32_t keep = ~info->statusMask;
    const std::uint32_t set = info->status & info->statusMask;
    if (cnt == kNoContact) {
      a->status = (a->status & keep) | set;
      a->instanceStatus.clear();
    } else {
      a->instanceStatus[cnt] = (a->statusFor(cnt) & keep) | set;
    }
  }
  if ((info->mask & mask::kText) != 0) {
    const std::string text = textAt(info->text);
    if (cnt == kNoContact) {
      a->text = text;
      a->instanceText.clear();
    } else {
      a->instanceText[cnt] = text;
    }
  }
  return 1;
}

int HostEmulator::handleCallAction(const ActionNotify* notify) {
  // The host delivers the notification to the plug-in before CallAction
  // returns, in a record of its own.
  ActionNotify copy = *notify;
  ++deliveredNotifies_;
  return send(msg::kActionNotify, ptrValue(&copy), 0);
}

// --- actions ----------------------------------------------------------------------------------

HostAction* HostEmulator::action(std::uint32_t id, std::uint32_t parent) {
  for (HostAction& a : actions_) {
    if (a.id == id && a.parent == parent) return &a;
  }
  return nullptr;
}

HostAction* HostEmulator::control(std::uint32_t column) {
  const std::uint32_t id = controlId(column);
  for (HostAction& a : actions_) {
    if (a.id == id) return &a;
  }
  return nullptr;
}

bool HostEmulator::pageInserted() const {
  for (const HostAction& a : actions_) {
    if (a.id == action::kConfigPage && a.parent == group::kConfigPages) return true;
  }
  return false;
}

}  // namespace brisko::emu
