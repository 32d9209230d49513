#include "host/dispatch.h"

#include <cstring>
#include <memory>
#include <new>

#include "host/exceptions.h"
#include "host/host_calls.h"
#include "host/ids.h"
#include "host/version.h"
#include "settings/plugin_state.h"
#include "settings/texts.h"

namespace brisko {
namespace {

// Texts handed to the host: static, valid while the library is loaded.
constexpr char kVersionText[] = BRISKO_VERSION_TEXT;

std::unique_ptr<PluginState> g_state;

constexpr int kErrorUnanswered = 1;

int answerText(const char* text) { return static_cast<int>(ptrValue(text)); }

// 20001: keep the host reference, then create the one state object. A second
// 20001 replaces both; the old object is destroyed first.
int initialise(IHost* hostInterface) {
  g_state.reset();
  host::setCurrent(hostInterface);
  g_state = std::make_unique<PluginState>();
  return 1;
}

// 20002: drop the host reference, then the object (whose destructor makes no
// host calls).
int shutDown() {
  host::setCurrent(nullptr);
  g_state.reset();
  return 1;
}

// 24011: the handler gets its own 34-byte copy of the record.
int statusChange(const HostMessage* message) {
  if (message->size < kHostMessageExSize) throw cTException_Msg(0, message);
  HostMessageEx copy{};
  std::memcpy(&copy, message, kHostMessageExSize);
  copy.base.size = kHostMessageExSize;
  return g_state->onStatusChange(copy);
}

int dispatch(HostMessage* message) {
  const std::uint32_t id = message->id;
  const bool hasParameters = message->size >= kHostMessageSize;
  const std::uint32_t p1 = hasParameters ? message->p1 : 0;

  switch (id) {
    case msg::kInit:
      if (p1 == 0) return 0;  // no interface object: nothing to keep
      return initialise(valuePtr<IHost>(p1));
    case msg::kShutdown:
      return shutDown();
    case msg::kQuery20020:
      return 2;
    case msg::kLoaded22101:
      return 1;
    case msg::kNetIdQuery:
      return kNetId;
    case msg::kQuery30011:
      return static_cast<int>(kPluginAnswer30011);
    case msg::kVersionQuery:
      return answerText(kVersionText);
    case msg::kNameQuery:
    case msg::kDisplayNameQuery:
      return answerText(texts::kPluginName);
    case msg::kQuery30017:
      return 0;
    default:
      break;
  }

  switch (id) {
    case msg::kRegisterColumns:
    case msg::kBuildUserInterface:
    case msg::kLoadSettings:
    case msg::kActionNotify:
    case msg::kStatusChange:
      // These need the state object; the host's order of messages means it
      // exists, and if it does not they are quietly answered 0.
      if (!g_state) return 0;
      break;
    default:
      host::SetError(kErrorUnanswered);
      return 0;
  }

  switch (id) {
    case msg::kRegisterColumns:
      return g_state->registerColumns();
    case msg::kBuildUserInterface:
      return g_state->buildUserInterface();
    case msg::kLoadSettings:
      return g_state->loadSettings();
    case msg::kActionNotify:
      if (p1 == 0) return 0;  // no notification record
      return g_state->handleActionNotify(valuePtr<const ActionNotify>(p1));
    default:  // msg::kStatusChange
      return statusChange(message);
  }
}

}  // namespace

PluginState* currentPluginState() { return g_state.get(); }

int handleMessage(HostMessage* message) {
  if (message == nullptr) return 0;
  try {
    return dispatch(message);
  } catch (...) {
    // Nothing may be thrown into the host: its unwinder is not ours.
    try {
      host::SetError(kErrorUnanswered);
    } catch (...) {
    }
    return 0;
  }
}

}  // namespace brisko
