#include "plugin/dispatch.h"

#include <cstdint>
#include <cstring>
#include <memory>

#include "host/host_calls.h"
#include "host/host_exception.h"
#include "host/ids.h"
#include "menu/link_actions.h"
#include "menu/status_refresh.h"
#include "plugin/plugin_state.h"
#include "plugin/version.h"
#include "settings/columns.h"
#include "settings/config_page.h"
#include "settings/link_settings.h"
#include "settings/texts.h"

namespace brisko {
namespace {

// Texts handed to the host: static, valid while the library is loaded.
constexpr char kVersionText[] = BRISKO_VERSION_TEXT;

constexpr int kErrorUnanswered = 1;  // SetError code of a message not answered

std::unique_ptr<PluginState> g_state;

// One incoming message. A record shorter than a HostMessage carries no
// parameters: p1 is then 0.
struct Incoming {
  const HostMessage& record;
  std::uint32_t p1;
};

int answerText(const char* text) { return static_cast<int>(ptrValue(text)); }

template <int kAnswer>
int fixedAnswer(const Incoming&) {
  return kAnswer;
}

// 20001: keep the host reference, then create the one state object. A second
// 20001 replaces both; the old object is destroyed first. Without an
// interface object there is nothing to keep.
int initialise(const Incoming& in) {
  if (in.p1 == 0) return answer::kNotHandled;
  g_state.reset();
  host::setCurrent(valuePtr<IHost>(in.p1));
  g_state = std::make_unique<PluginState>();
  return answer::kHandled;
}

// 20002: drop the host reference, then the object (whose destructor makes no
// host calls).
int shutDown(const Incoming&) {
  host::setCurrent(nullptr);
  g_state.reset();
  return answer::kHandled;
}

int registerColumnsAnswer(const Incoming&) {
  registerColumns();
  return answer::kHandled;
}

int buildUserInterface(const Incoming&) {
  registerIcons();
  createActions();
  buildConfigPage();
  return answer::kHandled;
}

int loadSettingsAnswer(const Incoming&) {
  loadSettings(g_state->settings);
  return answer::kHandled;
}

int actionNotify(const Incoming& in) {
  if (in.p1 == 0) return answer::kNotHandled;  // no notification record
  return handleActionNotify(valuePtr<const ActionNotify>(in.p1), g_state->settings, g_state->links);
}

// 24011: the handler gets its own 34-byte copy of the record, whatever the
// rule for short records says of the parameters.
int statusChange(const Incoming& in) {
  if (in.record.size < kHostMessageExSize) throw cTException_Msg(0, &in.record);
  HostMessageEx copy{};
  std::memcpy(&copy, &in.record, kHostMessageExSize);
  copy.base.size = kHostMessageExSize;
  return onStatusChange(copy);
}

int versionAnswer(const Incoming&) { return answerText(kVersionText); }
int nameAnswer(const Incoming&) { return answerText(texts::kPluginName); }

struct Route {
  std::uint32_t id;
  // Needs the state object: answered 0, without a host call, when there is
  // none (the host's order of messages rules that out).
  bool needsState;
  int (*handle)(const Incoming&);
};

constexpr Route kRoutes[] = {
    {msg::kInit, false, &initialise},
    {msg::kShutdown, false, &shutDown},
    {msg::kStartQuery, false, &fixedAnswer<answer::kStartQuery>},
    {msg::kRegisterColumns, true, &registerColumnsAnswer},
    {msg::kBuildUserInterface, true, &buildUserInterface},
    {msg::kLoadSettings, true, &loadSettingsAnswer},
    {msg::kSettingsLoaded, false, &fixedAnswer<answer::kHandled>},
    {msg::kActionNotify, true, &actionNotify},
    {msg::kStatusChange, true, &statusChange},
    {msg::kNetIdQuery, false, &fixedAnswer<kNetId>},
    {msg::kTypeQuery, false, &fixedAnswer<answer::kTypeQuery>},
    {msg::kVersionQuery, false, &versionAnswer},
    {msg::kNameQuery, false, &nameAnswer},
    {msg::kDisplayNameQuery, false, &nameAnswer},
    {msg::kLastIdentityQuery, false, &fixedAnswer<answer::kNotHandled>},
};

const Route* routeOf(std::uint32_t id) {
  for (const Route& route : kRoutes) {
    if (route.id == id) return &route;
  }
  return nullptr;
}

int dispatch(HostMessage& message) {
  const Route* route = routeOf(message.id);
  if (route == nullptr) {
    // Not a message of this plug-in: the host is told, if there is one.
    host::SetError(kErrorUnanswered);
    return answer::kNotHandled;
  }
  if (route->needsState && !g_state) return answer::kNotHandled;
  const bool hasParameters = message.size >= kHostMessageSize;
  return route->handle(Incoming{message, hasParameters ? message.p1 : 0});
}

}  // namespace

PluginState* currentPluginState() { return g_state.get(); }

int handleMessage(HostMessage* message) noexcept {
  if (message == nullptr) return answer::kNotHandled;
  try {
    return dispatch(*message);
  } catch (...) {
    // Nothing may be thrown into the host: its unwinder is not ours.
    try {
      host::SetError(kErrorUnanswered);
    } catch (...) {
    }
    return answer::kNotHandled;
  }
}

}  // namespace brisko
