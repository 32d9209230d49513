// The plug-in's message dispatch: everything IMessageProc does.
#pragma once

#include "host/records.h"

namespace brisko {

struct PluginState;

// Answers one host message. Never lets an exception escape: a failure is
// answered 0 and, when the host reference is set, reported with SetError(1).
int handleMessage(HostMessage* message) noexcept;

// The one state object while the plug-in runs (20001..20002), else null.
// For tests, which look into the state the messages built.
PluginState* currentPluginState();

}  // namespace brisko
