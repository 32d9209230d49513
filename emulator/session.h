// Sessions with the host emulator: the commands a user gives, typed at the
// prompt of brisko-host or kept in a session file, and the transcript of what
// the user sees.
//
// A session file holds one command per line ("help" lists them). A line that
// starts with "#" is a note: it is copied into the transcript as it stands,
// and so is an empty line; every command is copied as "> command" before what
// it shows. Texts are UTF-8 in the file and in the transcript (Windows-1250
// towards the plug-in).
//
// The stored sessions (emulator/sessions/NAME.session, each with the expected
// transcript NAME.transcript beside it) are compiled into this library; the
// test program runs each of them against the module and compares.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "emulator/host_emulator.h"

namespace brisko::emu {

class Session {
 public:
  // The commands and what they do, as "help" prints them.
  static const std::string& help();

  Session(HostEmulator& host, std::ostream& out);

  // Sends the identification queries and starts the plug-in up (20001,
  // 21001, 22000, 22100), printing what it answers. False when a start-up
  // message is not answered 1.
  bool start();
  // The contacts the interactive mode starts with: those of the sample
  // session, added silently.
  void addSampleContacts();
  // Whether commands are copied into the output as "> command" (on by
  // default; off where the user typed them at a prompt).
  void setEcho(bool echo) { echo_ = echo; }
  // Runs one line of a session. False after "quit" (nothing more runs).
  bool run(const std::string& line);
  // Runs every line of `script`, then shuts the plug-in down unless a
  // command did already.
  void runScript(std::istream& script);
  // Shuts the plug-in down (20002) once, printing the answer.
  void shutDown();

  // Commands that could not be carried out (unknown command, contact or
  // argument), SetError calls of the plug-in, and a shutdown not answered 1.
  int problems() const;

 private:
  struct Command;
  // Every command, in the order "help" lists them.
  static const std::vector<Command>& commands();
  void command(const std::string& line);
  // The commands (each gets the rest of its line and, where it takes one, the
  // contact).
  void printHelp(std::istringstream& in, std::int32_t contact);
  void addContact(std::istringstream& in, std::int32_t contact);
  void addBrokenRow(std::istringstream& in, std::int32_t contact);
  void listContacts(std::istringstream& in, std::int32_t contact);
  void listMenus(std::istringstream& in, std::int32_t contact);
  void showMenu(std::istringstream& in, std::int32_t contact);
  void chooseItem(std::istringstream& in, std::int32_t contact);
  void showChatButton(std::istringstream& in, std::int32_t contact);
  void clickChatButton(std::istringstream& in, std::int32_t contact);
  void changeStatus(std::istringstream& in, std::int32_t contact);
  void openChat(std::istringstream& in, std::int32_t contact);
  void closeChat(std::istringstream& in, std::int32_t contact);
  void showPage(std::istringstream& in, std::int32_t contact);
  void setControl(std::istringstream& in, std::int32_t contact);
  void pressControl(std::istringstream& in, std::int32_t contact);
  void applyPage(std::istringstream& in, std::int32_t contact);
  void printConfig(std::istringstream& in, std::int32_t contact);
  void printRegistered(std::istringstream& in, std::int32_t contact);
  void printCalls(std::istringstream& in, std::int32_t contact);
  void printContacts(bool withMenus);
  bool parseColumn(std::istringstream& in, std::uint32_t* column);
  bool parseContact(const std::string& word, std::int32_t* id) const;
  std::string nameOf(std::int32_t id) const;
  void printConfig();
  void printRegistered();
  void printMenu(std::int32_t contact, const char* indent);
  // Before a choice: forgets what was opened and empties the clipboard;
  // after it: prints what was opened and what the clipboard holds.
  void beforeChoice();
  void afterChoice(const char* indent);
  void problem(const std::string& what);

  HostEmulator& host_;
  std::ostream& out_;
  std::map<std::int32_t, std::string> names_;
  int problems_ = 0;
  bool shutDown_ = false;
  bool echo_ = true;
};

// A session kept as a file, compiled in.
struct StoredSession {
  const char* name;        // the file name without ".session"
  const char* script;      // NAME.session
  const char* transcript;  // NAME.transcript: what running it shows
};

// Every stored session, in file-name order.
const std::vector<StoredSession>& storedSessions();
// The stored session `name`, or null.
const StoredSession* storedSession(const std::string& name);

}  // namespace brisko::emu
