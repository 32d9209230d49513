// What a user would see of the plug-in in the host, as UTF-8 text.
#pragma once

#include <string>
#include <vector>

#include "emulator/host_emulator.h"

namespace brisko::emu {

// The plug-in's entries in a contact's menu, one per line, each line starting
// with `indent`.
std::string renderContactMenu(const ContactMenu& menu, const std::string& indent = "");

// The link button of a chat window, on one line.
std::string renderChatButton(const ChatButton& button);

// The configuration page as the host lays it out: the children of the page
// (109101) in insertion order. Groups are framed with their captions;
// controls that follow one carrying the 0x40 status bit stay on its line;
// check boxes show [x] or [ ], radio buttons (o) or ( ), text fields their
// value in brackets, buttons <caption>. Inactive controls are marked
// "(inactive)", tips ("tip=" and "tipRich=" parameters) follow their line.
std::string renderConfigPage(const std::vector<HostAction>& actions);

// One readable line per host call.
std::string renderCalls(const std::vector<HostCall>& calls);
std::string renderCall(const HostCall& call);

// A rich tip ("<b>", "</b>", "<br/>") as plain lines.
std::vector<std::string> richTextLines(const std::string& rich);

}  // namespace brisko::emu
