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

// --- the commands --------------------------------------------------------------------------

// One command: its name, whether its first argument is a contact, what
// "help" shows of it (no line when `usage` is null; `what` empty: the usage
// alone), and what it does.
struct Session::Command {
  const char* name;
  bool takesContact;
  const char* usage;
  const char* what;
  void (Session::*run)(std::istringstream& in, std::int32_t contact);
};

const std::vector<Session::Command>& Session::commands() {
  static const std::vector<Command> table = {
      {"contact", false, "contact <number> <name> <status>", "add a contact with that status",
       &Session::addContact},
      {"brokenrow", false, "brokenrow", "add a row the host lists without a contact behind it",
       &Session::addBrokenRow},
      {"contacts", false, "contacts", "the contacts and their statuses", &Session::listContacts},
      {"menus", false, "menus", "every contact's status and menu", &Session::listMenus},
      {"menu", true, "menu <contact>", "the contact's menu", &Session::showMenu},
      {"choose", true, "choose <contact> <n> [shift]",
       "choose item n of \"Linki\" (0: the single item \"Link\")", &Session::chooseItem},
      {"chat", true, "chat <contact>", "the link button of the contact's chat window",
       &Session::showChatButton},
      {"click", true, "click <contact> [shift]", "click that button", &Session::clickChatButton},
      {"status", true, "status <contact> <text>", "the contact changes the status",
       &Session::changeStatus},
      {"openchat", true, "openchat <contact>", "open a chat window; closechat <contact> closes it",
       &Session::openChat},
      {"closechat", true, nullptr, nullptr, &Session::closeChat},
      {"page", false, "page", "show the configuration page", &Session::showPage},
      {"set", false, "set <column> <value>",
       "type or tick a value on the page (column 109110..109129)", &Session::setControl},
      {"press", false, "press <column>", "click a check box, radio button or button of the page",
       &Session::pressControl},
      {"apply", false, "apply", "apply the page", &Session::applyPage},
      {"config", false, "config", "the configuration values as the host stores them",
       &Session::printConfig},
      {"registered", false, "registered", "the configuration values, icons and actions registered",
       &Session::printRegistered},
      {"calls", false, "calls", "the host calls the previous command made", &Session::printCalls},
      {"help", false, "help, quit", "", &Session::printHelp},
  };
  return table;
}

const std::string& Session::help() {
  static const std::string text = [] {
    std::string out = "Commands (a contact is its number or its name):\n";
    for (const Command& c : commands()) {
      if (c.usage == nullptr) continue;
      std::string line = std::string("  ") + c.usage;
      if (*c.what != '\0') {
        // The descriptions start in one column; a longer usage keeps two blanks.
        line += line.size() < 31 ? std::string(31 - line.size(), ' ') : std::string("  ");
        line += c.what;
      }
      out += line + "\n";
    }
    return out + "A line starting with # is a note, copied into the transcript.\n";
  }();
  return text;
}

void Session::command(const std::string& line) {
  std::istringstream in(line);
  std::string name;
  in >> name;
  if (name != "calls") host_.clearCalls();
  for (const Command& c : commands()) {
    if (name != c.name) continue;
    std::int32_t contact = 0;
    if (c.takesContact) {
      std::string word;
      in >> word;
      if (!parseContact(word, &contact)) {
        problem("which contact? (\"contacts\" lists them)");
        return;
      }
    }
    (this->*c.run)(in, contact);
    return;
  }
  problem("unknown command \"" + name + "\"; \"help\" lists them");
}

void Session::printHelp(std::istringstream&, std::int32_t) { out_ << help(); }

void Session::addContact(std::istringstream& in, std::int32_t) {
  long id = 0;
  std::string word;
  std::string name;
  in >> word >> name;
  if (!parseNumber(word, &id) || name.empty()) {
    problem("contact <number> <name> <status>");
    return;
  }
  host_.addContact(static_cast<std::int32_t>(id), cp(restOf(in)));
  names_[static_cast<std::int32_t>(id)] = name;
}

void Session::addBrokenRow(std::istringstream&, std::int32_t) { host_.addBrokenRow(); }

void Session::listContacts(std::istringstream&, std::int32_t) { printContacts(false); }

void Session::listMenus(std::istringstream&, std::int32_t) { printContacts(true); }

void Session::printContacts(bool withMenus) {
  for (std::int32_t id : host_.contactIds()) {
    if (id == -1) continue;
    out_ << format("  %s%s: %s\n", nameOf(id).c_str(), host_.chatOpen(id) ? " [chat open]" : "",
                   u8(host_.contactStatus(id)).c_str());
    if (withMenus) printMenu(id, "    ");
  }
}

void Session::showMenu(std::istringstream&, std::int32_t contact) { printMenu(contact, "  "); }

void Session::chooseItem(std::istringstream& in, std::int32_t contact) {
  long n = -1;
  std::string word;
  std::string shift;
  in >> word >> shift;
  if (!parseNumber(word, &n) || n < 0 || n > 10) {
    problem("item number 1..10, or 0 for the single item");
    return;
  }
  const ContactMenu menu = host_.contactMenu(contact);
  const std::uint32_t id =
      n == 0 ? action::kSingleLinkItem : action::kLinkItemBase + static_cast<std::uint32_t>(n - 1);
  const bool shown = n == 0 ? menu.singleShown : static_cast<std::size_t>(n) <= menu.items.size();
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
}

void Session::showChatButton(std::istringstream&, std::int32_t contact) {
  if (!host_.chatOpen(contact)) out_ << "  (the chat window is not open: openchat first)\n";
  out_ << "  " << renderChatButton(host_.chatButton(contact)) << "\n";
}

void Session::clickChatButton(std::istringstream& in, std::int32_t contact) {
  std::string shift;
  in >> shift;
  beforeChoice();
  host_.clickChatButton(contact, shift == "shift");
  afterChoice("  ");
}

void Session::changeStatus(std::istringstream& in, std::int32_t contact) {
  host_.changeStatus(contact, cp(restOf(in)));
  if (host_.chatOpen(contact)) {
    out_ << "  chat window: " << renderChatButton(host_.readChatButton(contact)) << "\n";
  }
}

void Session::openChat(std::istringstream&, std::int32_t contact) {
  host_.openChat(contact);
  out_ << "  " << renderChatButton(host_.chatButton(contact)) << "\n";
}

void Session::closeChat(std::istringstream&, std::int32_t contact) { host_.closeChat(contact); }

void Session::showPage(std::istringstream&, std::int32_t) {
  host_.showPage();
  out_ << renderConfigPage(host_.actions());
}

bool Session::parseColumn(std::istringstream& in, std::uint32_t* column) {
  long value = 0;
  std::string word;
  in >> word;
  if (!parseNumber(word, &value) || host_.control(static_cast<std::uint32_t>(value)) == nullptr) {
    problem("no control shows column " + word);
    return false;
  }
  *column = static_cast<std::uint32_t>(value);
  return true;
}

void Session::setControl(std::istringstream& in, std::int32_t) {
  std::uint32_t id = 0;
  if (!parseColumn(in, &id)) return;
  host_.setControlValue(id, cp(restOf(in)));
  out_ << format("  %lu now shows \"%s\"\n", static_cast<unsigned long>(id),
                 u8(host_.controlValue(id)).c_str());
}

void Session::pressControl(std::istringstream& in, std::int32_t) {
  std::uint32_t id = 0;
  if (!parseColumn(in, &id)) return;
  host_.clickControl(id);
  out_ << renderConfigPage(host_.actions());
}

void Session::applyPage(std::istringstream&, std::int32_t) {
  out_ << format("  answered %d\n", host_.applyPage());
  out_ << renderConfigPage(host_.actions());
}

void Session::printConfig(std::istringstream&, std::int32_t) { printConfig(); }

void Session::printRegistered(std::istringstream&, std::int32_t) { printRegistered(); }

void Session::printCalls(std::istringstream&, std::int32_t) { out_ << renderCalls(host_.calls()); }

const StoredSession* storedSession(const std::string& name) {
  for (const StoredSession& session : storedSessions()) {
    if (name == session.name) return &session;
  }
  return nullptr;
}

}  // namespace brisko::emu
