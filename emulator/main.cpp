// brisko-host: the messenger host's side, played for the Brisko plug-in.
//
//   brisko-host --sample          the sample session: everything a user does, printed
//   brisko-host --script FILE     a session kept in FILE (emulator/session.h)
//   brisko-host                   commands on standard input ("help" lists them)
//   brisko-host --module PATH     load another module file instead of the one beside
//
// The module is loaded through its single export and driven by the messages
// the host sends. Links are never really opened: what the plug-in asks the
// shell to open is printed. Texts are Windows-1250 inside and printed as UTF-8.
// The transcript goes to standard output; which module runs, to standard
// error, so that a session's output is its transcript alone.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>

#include "emulator/host_emulator.h"
#include "emulator/plugin_module.h"
#include "emulator/session.h"

#if defined(_WIN32)
#include <io.h>
#include <windows.h>
#define BRISKO_ISATTY(fd) _isatty(fd)
#else
#include <unistd.h>
#define BRISKO_ISATTY(fd) isatty(fd)
#endif

namespace {

using brisko::emu::HostEmulator;
using brisko::emu::PluginModule;
using brisko::emu::Session;

int fail(const std::string& what) {
  std::cerr << "brisko-host: " << what << "\n";
  return 1;
}

// Commands from standard input, with a prompt on a terminal; elsewhere each
// command is echoed, so that the output reads as a transcript.
void runInteractive(Session& session) {
  session.addSampleContacts();
  const bool prompt = BRISKO_ISATTY(0) != 0;
  session.setEcho(!prompt);
  std::cout << "Brisko is running. Type \"help\" for the commands.\n";
  std::string line;
  while (true) {
    if (prompt) std::cout << "> " << std::flush;
    if (!std::getline(std::cin, line)) break;
    if (prompt && line.find_first_not_of(" \t") == std::string::npos) continue;
    if (!session.run(line)) break;
  }
  session.shutDown();
}

}  // namespace

int main(int argc, char** argv) {
#if defined(_WIN32)
  SetConsoleOutputCP(CP_UTF8);
#endif
  std::string script;
  bool sample = false;
  std::string modulePath;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--sample") {
      sample = true;
    } else if (arg == "--script" && i + 1 < argc) {
      script = argv[++i];
    } else if (arg == "--module" && i + 1 < argc) {
      modulePath = argv[++i];
    } else if (arg == "--help" || arg == "-h") {
      std::cout << "usage: brisko-host [--sample | --script FILE] [--module PATH]\n\n"
                << Session::help();
      return 0;
    } else {
      return fail("unknown argument " + arg + " (try --help)");
    }
  }
  if (sample && !script.empty()) return fail("--sample and --script exclude each other");

  std::string text;
  if (sample) {
    const brisko::emu::StoredSession* stored = brisko::emu::storedSession("sample");
    if (stored == nullptr) return fail("no sample session built in");
    text = stored->script;
  } else if (!script.empty()) {
    std::ifstream file(script, std::ios::binary);
    if (!file) return fail("cannot read " + script);
    std::ostringstream content;
    content << file.rdbuf();
    text = content.str();
  }

  std::string error;
  std::unique_ptr<PluginModule> module = modulePath.empty()
                                             ? PluginModule::loadBeside(&error)
                                             : PluginModule::load(modulePath, &error);
  if (!module) return fail(error);
  std::cerr << "Brisko host emulator, module " << module->path() << "\n";

  HostEmulator host(module->proc(), module->handle());
  Session session(host, std::cout);
  if (!session.start()) return 1;
  if (sample || !script.empty()) {
    std::istringstream lines(text);
    session.runScript(lines);
  } else {
    runInteractive(session);
  }
  std::cout.flush();
  if (session.problems() != 0) {
    return fail(std::to_string(session.problems()) +
                " problem(s): commands not carried out, SetError calls or a shutdown not "
                "answered 1");
  }
  return 0;
}
