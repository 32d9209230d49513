#include "emulator/session.h"

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <istream>
#include <ostream>
#include <sstream>

#include "emulator/cp1250.h"
#include "emulator/render.h"
#include "host/ids.h"

namespace brisko::emu {
namespace {

namespace action = brisko::action;

const char kHelp[] =
    "Commands (a contact is its number or its name):\n"
    "  contact <number> <name> <status>  add a contact with that status\n"
    "  brokenrow                    add a row the host lists without a contact behind it\n"
    "  contacts                     the contacts and their statuses\n"
    "  menus                        every contact's status and menu\n"
    "  menu <contact>               the contact's menu\n"
    "  choose <contact> <n> [shift] choose item n of \"Linki\" (0: the single item \"Link\")\n"
    "  chat <contact>               the link button of the contact's chat window\n"
    "  click <contact> [shift]      click that button\n"
    "  status <contact> <text>      the contact changes the status\n"
    "  openchat <contact>           open a chat window; closechat <contact> closes it\n"
    "  page                         show the configuration page\n"
    "  set <column> <value>         type or tick a value on the page (column 109110..109129)\n"
    "  press <column>               click a check box, radio button or button of the page\n"
    "  apply                        apply the page\n"
    "  config                       the configuration values as the host stores them\n"
    "  registered                   the configuration values, icons and actions registered\n"
    "  calls                        the host calls the previous command made\n"
    "  help, quit\n"
    "A line starting with # is a note, copied into the transcript.\n";

std::string format(const char* pattern, ...) __attribute__((format(printf, 1, 2)));
std::string format(const char* pattern, ...) {
  char buffer[1024];
  va_list args;
  va_start(args, pattern);
  const int n = std::vsnprintf(buffer, sizeof buffer, pattern, args);
  va_end(args);
  if (n < 0) return std::string();
  if (static_cast<std::size_t>(n) < sizeof buffer) return std::string(buffer, n);
  std::string big(static_cast<std::size_t>(n) + 1, '\0');
  va_start(args, pattern);
  std::vsnprintf(&big[0], big.size(), pattern, args);
  va_end(args);
  big.resize(static_cast<std::size_t>(n));
  return big;
}

std::string cp(const std::string& utf8) { return utf8ToCp1250(utf8); }
std::string u8(const std::string& cp1250) { return cp1250ToUtf8(cp1250); }

bool sameLetters(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

bool parseNumber(const std::string& word, long* value) {
  if (word.empty()) return false;
  char* end = nullptr;
  *value = std::strtol(word.c_str(), &end, 10);
  return *end == '\0';
}

std::string restOf(std::istringstream& in) {
  std::string rest;
  std::getline(in, rest);
  const std::size_t start = rest.find_first_not_of(' ');
  return start == std::string::npos ? std::string() : rest.substr(start);
}

std::string withoutLineEnd(std::string line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
  return line;
}

}  // namespace

const char* Session::help() { return kHelp; }

Session::Session(HostEmulator& host, std::ostream& out) : host_(host), out_(out) {}

int Session::problems() const { return problems_ + host_.errorCount(); }

void Session::problem(const std::string& what) {
  out_ << what << "\n";
  ++problems_;
}

bool Session::start() {
  const int netId = host_.send(msg::kNetIdQuery);
  const char* version =
      valuePtr<const char>(static_cast<std::uint32_t>(host_.send(msg::kVersionQuery)));
  const char* name = valuePtr<const char>(static_cast<std::uint32_t>(host_.send(msg::kNameQuery)));
  out_ << format("Identification: NetId %d, version \"%s\", name \"%s\"\n", netId,
                 version ? version : "(none)", name ? name : "(none)");
  if (!host_.startUp()) {
    out_ << "The plug-in did not start up (20001, 21001, 22000 and 22100 must answer 1)\n";
    ++problems_;
    shutDown();
    return false;
  }
  out_ << "Started: 20001, 21001, 22000 and 22100 answered 1\n";
  host_.clearCalls();
  return true;
}

void Session::addSampleContacts() {
  const StoredSession* sample = storedSession("sample");
  if (sample == nullptr) return;
  std::istringstream lines(sample->script);
  for (std::string line; std::getline(lines, line);) {
    line = withoutLineEnd(line);
    if (line.rfind("contact ", 0) == 0 || line == "brokenrow") command(line);
  }
}

void Session::shutDown() {
  if (shutDown_) return;
  shutDown_ = true;
  const int answer = host_.shutDown();
  out_ << format("Shutting down: 20002 answered %d\n", answer);
  if (answer != 1) ++problems_;
}

void Session::runScript(std::istream& script) {
  for (std::string line; std::getline(script, line);) {
    if (!run(line)) break;
  }
  shutDown();
}

bool Session::run(const std::string& rawLine) {
  if (shutDown_) return false;
  const std::string line = withoutLineEnd(rawLine);
  const std::size_t first = line.find_first_not_of(" \t");
  if (first == std::string::npos || line[first] == '#') {
    if (echo_) out_ << line << "\n";
    return true;
  }
  if (echo_) out_ << "> " << line.substr(first) << "\n";
  std::istringstream in(line);
  std::string word;
  in >> word;
  if (word == "quit" || word == "exit") {
    shutDown();
    return false;
  }
  command(line);
  out_.flush();
  return true;
}

std::string Session::nameOf(std::int32_t id) const {
  const auto it = names_.find(id);
  if (it == names_.end()) return std::to_string(id);
  return it->second + " (" + std::to_string(id) + ")";
}

bool Session::parseContact(const std::string& word, std::int32_t* id) const {
  for (const auto& [k, v] : names_) {
    if (sameLetters(v, word)) {
      *id = k;
      return true;
    }
  }
  long value = 0;
  if (!parseNumber(word, &value)) return false;
  *id = static_cast<std::int32_t>(value);
  return host_.hasContact(*id);
}

void Session::printConfig() {
  for (const ConfigColumn& c : host_.columns()) {
    const std::string value =
        c.type == 0 ? std::to_string(c.intValue()) : "\"" + u8(c.textValue()) + "\"";
    out_ << format("  %u  %s  %-34s = %s\n", static_cast<unsigned>(c.id),
                   c.type == 0 ? "integer" : "text   ", u8(c.key).c_str(), value.c_str());
  }
}

void Session::printRegistered() {
  out_ << format("Configuration values the plug-in registered (%u):\n",
                 static_cast<unsigned>(host_.columns().size()));
  printConfig();
  // The module handle differs from run to run: it is named, not printed.
  const auto own = static_cast<std::uint32_t>(host_.GetPluginInstance());
  out_ << "Icons:\n";
  for (const IconRecord& icon : host_.icons()) {
    const std::uint32_t module = icon.module;
    out_ << format("  %u  kind %u, resource %u of %s\n", static_cast<unsigned>(icon.iconId),
                   static_cast<unsigned>(icon.iconKind), static_cast<unsigned>(icon.resourceId),
                   module == own ? "the plug-in's module" : "another module");
  }
  out_ << "Actions (menus, items, buttons):\n";
  std::size_t controls = 0;
  for (const HostAction& a : host_.actions()) {
    if (a.parent == action::kConfigPage) ++controls;
    if (a.parent == action::kConfigPage || a.isControl()) continue;
    out_ << format("  %u in %u, position %d, status 0x%08X: \"%s\"\n", static_cast<unsigned>(a.id),
                   static_cast<unsigned>(a.parent), static_cast<int>(a.position),
                   static_cast<unsigned>(a.status), u8(a.caption).c_str());
  }
  out_ << format("  and the configuration page with %u elements\n",
                 static_cast<unsigned>(controls));
}

void Session::printMenu(std::int32_t contact, const char* indent) {
  out_ << renderContactMenu(host_.contactMenu(contact), indent);
}

void Session::beforeChoice() {
  host_.clearOpenedLinks();
  host_.clearClipboard();
}

void Session::afterChoice(const char* indent) {
  bool any = false;
  for (const ShellOpen& open : host_.shellOpens()) {
    out_ << format("%sopened with the shell: %s (verb \"%s\", show %d)\n", indent,
                   u8(open.file).c_str(), open.verb.c_str(), open.show);
    any = true;
  }
  const std::vector<char> bytes = host_.clipboardBytes();
  if (!bytes.empty()) {
    std::string text(bytes.begin(), bytes.end());
    const std::size_t zero = text.find('\0');
    const bool terminated = zero != std::string::npos;
    text = text.substr(0, zero);
    out_ << format("%scopied to the clipboard (CF_TEXT%s): %s\n", indent,
                   terminated ? "" : ", without a terminating zero", u8(text).c_str());
    any = true;
  }
  if (!any) out_ << indent << "nothing opened, nothing copied\n";
}

void Session::command(const std::string& line) {
  std::istringstream in(line);
  std::string command;
  in >> command;
  if (command != "calls") host_.clearCalls();
  std::int32_t contact = 0;
  std::string word;

  if (command == "help") {
    out_ << kHelp;
  } else if (command == "contact") {
    long id = 0;
    std::string name;
    in >> word >> name;
    if (!parseNumber(word, &id) || name.empty()) {
      problem("contact <number> <name> <status>");
      return;
    }
    host_.addContact(static_cast<std::int32_t>(id), cp(restOf(in)));
    names_[static_cast<std::int32_t>(id)] = name;
  } else if (command == "brokenrow") {
    host_.addBrokenRow();
  } else if (command == "contacts" || command == "menus") {
    for (std::int32_t id : host_.contactIds()) {
      if (id == -1) continue;
      out_ << format("  %s%s: %s\n", nameOf(id).c_str(), host_.chatOpen(id) ? " [chat open]" : "",
                     u8(host_.contactStatus(id)).c_str());
      if (command == "menus") printMenu(id, "    ");
    }
  } else if (command == "menu" || command == "chat" || command == "openchat" ||
             command == "closechat" || command == "click" || command == "choose" ||
             command == "status") {
    in >> word;
    if (!parseContact(word, &contact)) {
      problem("which contact? (\"contacts\" lists them)");
      return;
    }
    if (command == "menu") {
      printMenu(contact, "  ");
    } else if (command == "chat") {
      if (!host_.chatOpen(contact)) out_ << "  (the chat window is not open: openchat first)\n";
      out_ << "  " << renderChatButton(host_.chatButton(contact)) << "\n";
    } else if (command == "openchat") {
      host_.openChat(contact);
      out_ << "  " << renderChatButton(host_.chatButton(contact)) << "\n";
    } else if (command == "closechat") {
      host_.closeChat(contact);
    } else if (command == "click") {
      std::string shift;
      in >> shift;
      beforeChoice();
      host_.clickChatButton(contact, shift == "shift");
      afterChoice("  ");
    } else if (command == "choose") {
      long n = -1;
      std::string shift;
      in >> word >> shift;
      if (!parseNumber(word, &n) || n < 0 || n > 10) {
        problem("item number 1..10, or 0 for the single item");
        return;
      }
      const ContactMenu menu = host_.contactMenu(contact);
      const std::uint32_t id = n == 0 ? action::kSingleLinkItem
                                      : action::kLinkItemBase + static_cast<std::uint32_t>(n - 1);
      const bool shown =
          n == 0 ? menu.singleShown : static_cast<std::size_t>(n) <= menu.items.size();
      if (shown) {
        out_ << "  the item reads: "
             << u8(n == 0 ? menu.singleText : menu.items[static_cast<std::size_t>(n - 1)]) << "\n";
      } else {
        // The user cannot choose it; the choice is still sent, to show what
        // the plug-in makes of an event the host would never send.
        const std::string item =
            n == 0 ? "the single item \"Link\"" : "item " + std::to_string(n) + " of \"Linki\"";
        out_ << "  the menu does not show " << item << ", so the host would not offer it;\n"
             << "  sent anyway, the plug-in did this:\n";
      }
      beforeChoice();
      host_.chooseMenuItem(contact, id, shift == "shift");
      afterChoice(shown ? "  " : "    ");
    } else {  // status
      host_.changeStatus(contact, cp(restOf(in)));
      if (host_.chatOpen(contact)) {
        out_ << "  chat window: " << renderChatButton(host_.readChatButton(contact)) << "\n";
      }
    }
  } else if (command == "page") {
    host_.showPage();
    out_ << renderConfigPage(host_.actions());
  } else if (command == "set" || command == "press") {
    long column = 0;
    in >> word;
    if (!parseNumber(word, &column) ||
        host_.control(static_cast<std::uint32_t>(column)) == nullptr) {
      problem("no control shows column " + word);
      return;
    }
    const auto id = static_cast<std::uint32_t>(column);
    if (command == "set") {
      host_.setControlValue(id, cp(restOf(in)));
      out_ << format("  %lu now shows \"%s\"\n", static_cast<unsigned long>(id),
                     u8(host_.controlValue(id)).c_str());
    } else {
      host_.clickControl(id);
      out_ << renderConfigPage(host_.actions());
    }
  } else if (command == "apply") {
    out_ << format("  answered %d\n", host_.applyPage());
    out_ << renderConfigPage(host_.actions());
  } else if (command == "config") {
    printConfig();
  } else if (command == "registered") {
    printRegistered();
  } else if (command == "calls") {
    out_ << renderCalls(host_.calls());
  } else {
    problem("unknown command \"" + command + "\"; \"help\" lists them");
  }
}

const StoredSession* storedSession(const std::string& name) {
  for (const StoredSession& session : storedSessions()) {
    if (name == session.name) return &session;
  }
  return nullptr;
}

}  // namespace brisko::emu
