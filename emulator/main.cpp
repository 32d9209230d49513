// brisko-host: the messenger host's side, played for the Brisko plug-in.
//
//   brisko-host --sample          a walk through everything a user does, printed
//   brisko-host                   commands on standard input ("help" lists them)
//   brisko-host --module PATH     load another module file instead of the one beside
//
// The module is loaded through its single export and driven by the messages
// the host sends. Links are never really opened: what the plug-in asks the
// shell to open is printed. Texts are Windows-1250 inside and printed as UTF-8.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "emulator/cp1250.h"
#include "emulator/host_emulator.h"
#include "emulator/render.h"
#include "host/ids.h"

#if defined(_WIN32)
#include <io.h>
#include <windows.h>
#define BRISKO_ISATTY(fd) _isatty(fd)
#else
#include <unistd.h>
#define BRISKO_ISATTY(fd) isatty(fd)
#endif

namespace {

using brisko::emu::ChatButton;
using brisko::emu::ContactMenu;
using brisko::emu::HostEmulator;
using brisko::emu::PluginModule;
namespace action = brisko::action;

// --- the built-in sample -----------------------------------------------------------------------

struct SampleContact {
  std::int32_t id;
  const char* name;
  const char* status;  // UTF-8 here, Windows-1250 in the host
};

// Statuses with links of several kinds: http, www, https with www, an
// address with a user part and a bare domain (found by the regular
// expression only), none at all, and more links than the menu shows.
const SampleContact kSampleContacts[] = {
    {1001, "Anna",
     "Nowe zdjęcia z wakacji: http://galeria.example.pl/lato2005 oraz blog "
     "www.anna.example.com/wpisy – zapraszam!"},
    {1002, "Bartek", "Pracuję nad sklepem: https://www.sklep.example.org/promocje?kat=7&strona=2"},
    {1003, "Celina", "Mój jedyny adres: www.celina.example.net"},
    {1004, "Darek", "Piszcie na darek@example.pl albo zajrzyjcie na example.info"},
    {1005, "Ewa", "Zajęta, nie przeszkadzać. Zażółć gęślą jaźń."},
    {1006, "Franek",
     "Polecam: http://a.example.pl, www.b.example.pl, http://c.example.pl/x, "
     "www.d.example.pl/y, http://e.example.pl, www.f.example.pl i http://g.example.pl"},
};

std::string cp(const std::string& utf8) { return brisko::emu::utf8ToCp1250(utf8); }

std::string u8(const std::string& cp1250) { return brisko::emu::cp1250ToUtf8(cp1250); }

std::map<std::int32_t, std::string>& names() {
  static std::map<std::int32_t, std::string> map;
  return map;
}

std::string nameOf(std::int32_t id) {
  const auto it = names().find(id);
  if (it == names().end()) return std::to_string(id);
  return it->second + " (" + std::to_string(id) + ")";
}

void addSampleContacts(HostEmulator& host) {
  for (const SampleContact& c : kSampleContacts) {
    host.addContact(c.id, cp(c.status));
    names()[c.id] = c.name;
  }
  host.addBrokenRow();  // a row the host lists without a contact behind it
}

std::string columnTypeName(std::uint32_t type) { return type == 0 ? "integer" : "text   "; }

void printRegistered(HostEmulator& host) {
  std::printf("\nConfiguration values the plug-in registered (%u):\n",
              static_cast<unsigned>(host.columns().size()));
  for (const brisko::emu::ConfigColumn& c : host.columns()) {
    const std::string value =
        c.type == 0 ? std::to_string(c.intValue()) : "\"" + u8(c.textValue()) + "\"";
    std::printf("  %u  %s  %-34s = %s\n", static_cast<unsigned>(c.id),
                columnTypeName(c.type).c_str(), u8(c.key).c_str(), value.c_str());
  }
  std::printf("\nIcons:\n");
  for (const brisko::IconRecord& icon : host.icons()) {
    std::printf("  %u  kind %u, resource %u of module 0x%08X\n", static_cast<unsigned>(icon.iconId),
                static_cast<unsigned>(icon.iconKind), static_cast<unsigned>(icon.resourceId),
                static_cast<unsigned>(icon.module));
  }
  std::printf("\nActions (menus, items, buttons):\n");
  for (const brisko::emu::HostAction& a : host.actions()) {
    if (a.parent == action::kConfigPage || a.isControl()) continue;
    std::printf("  %u in %u, position %d, status 0x%08X: \"%s\"\n", static_cast<unsigned>(a.id),
                static_cast<unsigned>(a.parent), static_cast<int>(a.position),
                static_cast<unsigned>(a.status), u8(a.caption).c_str());
  }
  std::size_t controls = 0;
  for (const brisko::emu::HostAction& a : host.actions()) {
    if (a.parent == action::kConfigPage) ++controls;
  }
  std::printf("  and the configuration page with %u elements\n", static_cast<unsigned>(controls));
}

void printMenu(HostEmulator& host, std::int32_t contact) {
  const ContactMenu menu = host.contactMenu(contact);
  std::printf("%s", brisko::emu::renderContactMenu(menu, "    ").c_str());
}

// What the system saw since the last call: links opened, clipboard text.
struct SystemWatch {
  std::size_t opened = 0;
  std::vector<char> clipboard;
  explicit SystemWatch(HostEmulator& host)
      : opened(host.shellOpens().size()), clipboard(host.clipboardBytes()) {}
  // Prints what changed; returns {opened something, copied something}.
  std::pair<bool, bool> report(HostEmulator& host, const char* indent) {
    bool anyOpen = false;
    bool anyCopy = false;
    const std::vector<brisko::emu::ShellOpen> opens = host.shellOpens();
    for (std::size_t i = opened; i < opens.size(); ++i) {
      std::printf("%sopened with the shell: %s (verb \"%s\", show %d)\n", indent,
                  u8(opens[i].file).c_str(), opens[i].verb.c_str(), opens[i].show);
      anyOpen = true;
    }
    opened = opens.size();
    const std::vector<char> now = host.clipboardBytes();
    if (now != clipboard && !now.empty()) {
      std::string text(now.begin(), now.end());
      text = text.substr(0, text.find('\0'));
      std::printf("%sclipboard (CF_TEXT, %u bytes with the terminating zero): %s\n", indent,
                  static_cast<unsigned>(now.size()), u8(text).c_str());
      anyCopy = true;
    }
    clipboard = now;
    if (!anyOpen && !anyCopy) std::printf("%snothing opened, nothing copied\n", indent);
    return {anyOpen, anyCopy};
  }
};

int fail(const std::string& what) {
  std::fprintf(stderr, "brisko-host: %s\n", what.c_str());
  return 1;
}

int runSample(HostEmulator& host) {
  std::vector<std::string> problems;
  const auto check = [&](bool ok, const std::string& what) {
    if (!ok) problems.push_back(what);
  };

  printRegistered(host);
  addSampleContacts(host);
  host.openChat(1001);
  host.openChat(1002);

  std::printf("\nContacts and what their menus show:\n");
  std::size_t menusWithLinks = 0;
  for (const SampleContact& c : kSampleContacts) {
    std::printf("  %s: %s\n", nameOf(c.id).c_str(), c.status);
    const ContactMenu menu = host.contactMenu(c.id);
    if (menu.submenuShown || menu.singleShown) ++menusWithLinks;
    std::printf("%s", brisko::emu::renderContactMenu(menu, "    ").c_str());
  }
  check(menusWithLinks >= 3, "fewer than three contact menus offer links");

  std::printf("\nChat windows:\n");
  for (std::int32_t id : {1001, 1002}) {
    const ChatButton button = host.chatButton(id);
    std::printf("  %s: %s\n", nameOf(id).c_str(), brisko::emu::renderChatButton(button).c_str());
    check(button.shown, "the chat button of " + nameOf(id) + " is not shown");
  }

  std::printf("\nConfiguration page (as the host shows it):\n");
  host.showPage();
  std::printf("%s", brisko::emu::renderConfigPage(host.actions()).c_str());

  host.clearOpenedLinks();
  SystemWatch watch(host);
  const ContactMenu anna = host.contactMenu(1001);
  std::printf("\nAnna's menu, choosing item 2:\n");
  check(anna.items.size() >= 2, "Anna's menu has fewer than two items");
  if (anna.items.size() >= 2) {
    std::printf("    %s\n", u8(anna.items[1]).c_str());
    host.chooseMenuItem(1001, anna.itemIds[1], false);
    const auto [opened, copied] = watch.report(host, "    ");
    check(opened && !copied, "choosing a link did not open it");
  }

  std::printf("\nAnna's menu, choosing item 1 with Shift held:\n");
  host.contactMenu(1001);
  if (!anna.items.empty()) {
    std::printf("    %s\n", u8(anna.items[0]).c_str());
    host.clearCalls();
    host.chooseMenuItem(1001, anna.itemIds[0], true);
    const auto [opened, copied] = watch.report(host, "    ");
    check(copied && !opened, "choosing with Shift did not copy the link");
  }

  std::printf("\nCelina's menu (one link), choosing it:\n");
  const ContactMenu celina = host.contactMenu(1003);
  std::printf("%s", brisko::emu::renderContactMenu(celina, "    ").c_str());
  if (celina.singleShown) host.chooseMenuItem(1003, action::kSingleLinkItem, false);
  watch.report(host, "    ");

  std::printf("\nBartek's chat window, clicking the link button:\n");
  host.clickChatButton(1002, false);
  watch.report(host, "    ");

  const char* newStatus = "Już po urlopie, relacja na www.podroze.example.pl/wlochy";
  std::printf("\nAnna changes her status to: %s\n", newStatus);
  host.clearCalls();
  host.changeStatus(1001, cp(newStatus));
  const ChatButton refreshed = host.readChatButton(1001);
  std::printf("  her chat window now: %s\n", brisko::emu::renderChatButton(refreshed).c_str());
  check(refreshed.shown && refreshed.text.find("podroze") != std::string::npos,
        "the chat button did not follow the status change");
  std::printf("  host calls during the change:\n");
  std::string calls = brisko::emu::renderCalls(host.calls());
  std::istringstream lines(calls);
  for (std::string line; std::getline(lines, line);) std::printf("  %s\n", line.c_str());

  std::printf(
      "\nEditing the page: 2 links, link length 5000, method: regular expression;"
      " then apply\n");
  host.setControlValue(109115, "2");
  host.setControlValue(109116, "5000");
  host.clickControl(109128);
  host.applyPage();
  std::printf("  after apply the page shows: links %s, link length %s, method %s\n",
              host.controlValue(109115).c_str(), host.controlValue(109116).c_str(),
              host.controlValue(109128) == "0" ? "regular expression" : "author's scanner");
  std::printf("  stored: links %d, link length %d\n", host.column(109115)->intValue(),
              host.column(109116)->intValue());
  check(host.controlValue(109116) == "999", "the link length was not corrected to 999");
  std::printf("%s", brisko::emu::renderConfigPage(host.actions()).c_str());
  std::printf("  menus now:\n");
  for (std::int32_t id : {1001, 1004, 1006}) {
    std::printf("  %s:\n", nameOf(id).c_str());
    printMenu(host, id);
  }

  std::printf("\nShutting down: ");
  const int answer = host.shutDown();
  std::printf("20002 answered %d\n", answer);
  check(answer == 1, "20002 was not answered 1");
  check(host.errorCount() == 0, "the plug-in reported errors with SetError");

  if (!problems.empty()) {
    for (const std::string& p : problems) std::fprintf(stderr, "sample: %s\n", p.c_str());
    return 1;
  }
  std::printf("\nSample done: every step behaved as a user expects.\n");
  return 0;
}

// --- interactive mode ----------------------------------------------------------------------------

const char kHelp[] =
    "Commands (a contact is its number or its name):\n"
    "  contacts                     the contacts and their statuses\n"
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
    "  calls                        the host calls since the last \"calls\"\n"
    "  help, quit\n";

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

bool parseContact(const std::string& word, std::int32_t* id) {
  for (const auto& [k, v] : names()) {
    if (sameLetters(v, word)) {
      *id = k;
      return true;
    }
  }
  char* end = nullptr;
  const long value = std::strtol(word.c_str(), &end, 10);
  if (word.empty() || *end != '\0') return false;
  *id = static_cast<std::int32_t>(value);
  return true;
}

std::string restOf(std::istringstream& in) {
  std::string rest;
  std::getline(in, rest);
  const std::size_t start = rest.find_first_not_of(' ');
  return start == std::string::npos ? std::string() : rest.substr(start);
}

int runInteractive(HostEmulator& host) {
  addSampleContacts(host);
  const bool prompt = BRISKO_ISATTY(0) != 0;
  std::printf("Brisko is running. Type \"help\" for the commands.\n");
  SystemWatch watch(host);
  host.clearCalls();
  std::string line;
  while (true) {
    if (prompt) {
      std::printf("> ");
      std::fflush(stdout);
    }
    if (!std::getline(std::cin, line)) break;
    if (!prompt) std::printf("> %s\n", line.c_str());  // a transcript shows what was asked
    std::istringstream in(line);
    std::string command;
    in >> command;
    if (command.empty()) continue;
    std::int32_t contact = 0;
    std::string word;
    if (command == "quit" || command == "exit") break;
    if (command == "help") {
      std::printf("%s", kHelp);
    } else if (command == "contacts") {
      for (std::int32_t id : host.contactIds()) {
        if (id == -1) continue;
        std::printf("  %s%s: %s\n", nameOf(id).c_str(), host.chatOpen(id) ? " [chat open]" : "",
                    u8(host.contactStatus(id)).c_str());
      }
    } else if (command == "menu" || command == "chat" || command == "openchat" ||
               command == "closechat" || command == "click" || command == "choose" ||
               command == "status") {
      in >> word;
      if (!parseContact(word, &contact)) {
        std::printf("which contact? (\"contacts\" lists them)\n");
        continue;
      }
      if (command == "menu") {
        printMenu(host, contact);
      } else if (command == "chat") {
        if (!host.chatOpen(contact))
          std::printf("  (the chat window is not open: openchat first)\n");
        std::printf("  %s\n", brisko::emu::renderChatButton(host.chatButton(contact)).c_str());
      } else if (command == "openchat") {
        host.openChat(contact);
        std::printf("  %s\n", brisko::emu::renderChatButton(host.chatButton(contact)).c_str());
      } else if (command == "closechat") {
        host.closeChat(contact);
      } else if (command == "click") {
        std::string shift;
        in >> shift;
        host.clickChatButton(contact, shift == "shift");
        watch.report(host, "  ");
      } else if (command == "choose") {
        int n = -1;
        std::string shift;
        in >> n >> shift;
        if (n < 0 || n > 10) {
          std::printf("item number 1..10, or 0 for the single item\n");
          continue;
        }
        const ContactMenu menu = host.contactMenu(contact);
        const std::uint32_t id = n == 0 ? action::kSingleLinkItem
                                        : action::kLinkItemBase + static_cast<std::uint32_t>(n - 1);
        host.chooseMenuItem(contact, id, shift == "shift");
        watch.report(host, "  ");
      } else {  // status
        const std::string text = restOf(in);
        host.changeStatus(contact, cp(text));
        if (host.chatOpen(contact)) {
          std::printf("  chat window: %s\n",
                      brisko::emu::renderChatButton(host.readChatButton(contact)).c_str());
        }
      }
    } else if (command == "page") {
      host.showPage();
      std::printf("%s", brisko::emu::renderConfigPage(host.actions()).c_str());
    } else if (command == "set") {
      unsigned long column = 0;
      in >> column;
      if (host.control(static_cast<std::uint32_t>(column)) == nullptr) {
        std::printf("no control shows column %lu\n", column);
        continue;
      }
      host.setControlValue(static_cast<std::uint32_t>(column), cp(restOf(in)));
      std::printf("  %lu now shows \"%s\"\n", column,
                  u8(host.controlValue(static_cast<std::uint32_t>(column))).c_str());
    } else if (command == "press") {
      unsigned long column = 0;
      in >> column;
      host.clickControl(static_cast<std::uint32_t>(column));
      std::printf("%s", brisko::emu::renderConfigPage(host.actions()).c_str());
    } else if (command == "apply") {
      std::printf("  answered %d\n", host.applyPage());
      std::printf("%s", brisko::emu::renderConfigPage(host.actions()).c_str());
    } else if (command == "calls") {
      std::printf("%s", brisko::emu::renderCalls(host.calls()).c_str());
      host.clearCalls();
    } else {
      std::printf("unknown command \"%s\"; \"help\" lists them\n", command.c_str());
    }
  }
  std::printf("Shutting down: 20002 answered %d\n", host.shutDown());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
#if defined(_WIN32)
  SetConsoleOutputCP(CP_UTF8);
#endif
  bool sample = false;
  std::string modulePath;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--sample") {
      sample = true;
    } else if (arg == "--module" && i + 1 < argc) {
      modulePath = argv[++i];
    } else if (arg == "--help" || arg == "-h") {
      std::printf("usage: brisko-host [--sample] [--module PATH]\n\n%s", kHelp);
      return 0;
    } else {
      return fail("unknown argument " + arg + " (try --help)");
    }
  }

  std::string error;
  std::unique_ptr<PluginModule> module = modulePath.empty()
                                             ? PluginModule::loadBeside(&error)
                                             : PluginModule::load(modulePath, &error);
  if (!module) return fail(error);
  std::printf("Brisko host emulator\nModule: %s\n", module->path().c_str());

  HostEmulator host(module->proc(), module->handle());
  const int netId = host.send(brisko::msg::kNetIdQuery);
  const char* version = brisko::valuePtr<const char>(
      static_cast<std::uint32_t>(host.send(brisko::msg::kVersionQuery)));
  const char* name =
      brisko::valuePtr<const char>(static_cast<std::uint32_t>(host.send(brisko::msg::kNameQuery)));
  std::printf("Identification: NetId %d, version \"%s\", name \"%s\"\n", netId,
              version ? version : "(none)", name ? name : "(none)");
  if (!host.startUp()) {
    host.shutDown();
    return fail("the plug-in did not start up (20001, 21001, 22000 and 22100 must answer 1)");
  }
  std::printf("Started: 20001, 21001, 22000 and 22100 answered 1\n");
  const int result = sample ? runSample(host) : runInteractive(host);
  return result;
}
