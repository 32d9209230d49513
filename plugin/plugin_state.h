// The plug-in's single state object: created at message 20001, destroyed at
// 20002 (plugin/dispatch.cpp). It holds state only; the operations on it are
// free functions of the layer they belong to.
#pragma once

#include "links/link_front.h"
#include "settings/link_settings.h"

namespace brisko {

struct PluginState {
  PluginState() { setDefaults(settings); }
  PluginState(const PluginState&) = delete;
  PluginState& operator=(const PluginState&) = delete;

  LinkSettings settings;  // written only by loadSettings and applyConfigPage
  LinkFront links;        // both finders and the two lists of found links
};

}  // namespace brisko
