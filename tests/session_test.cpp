// Commands of an emulator session and what they print.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "emulator/session.h"
#include "tests/support/emulator_calls.h"
#include "tests/support/in_process.h"

namespace brisko {
namespace {

// Runs `lines` in a session of the linked-in plug-in; what it printed after
// the start.
std::string runSession(const std::string& lines, int* problems) {
  test::recordOpenings();
  test::InProcessHost host;
  host.clearOpenedLinks();
  host.clearClipboard();
  std::ostringstream started;
  emu::Session session(host, started);
  EXPECT_TRUE(session.start()) << started.str();
  std::ostringstream out;
  emu::Session commands(host, out);
  std::istringstream script(lines);
  for (std::string line; std::getline(script, line);) commands.run(line);
  *problems = commands.problems();
  host.clearClipboard();
  return out.str();
}

TEST(SessionChoose, AnItemTheMenuShowsReadsAsShown) {
  int problems = -1;
  const std::string out = runSession(
      "contact 5 Ewa www.ewa.pl i www.ola.pl\n"
      "choose ewa 2 shift\n",
      &problems);
  EXPECT_EQ(out,
            "> contact 5 Ewa www.ewa.pl i www.ola.pl\n"
            "> choose ewa 2 shift\n"
            "  the item reads: www.ola.pl\n"
            "  copied to the clipboard (CF_TEXT): http://www.ola.pl\n");
  EXPECT_EQ(problems, 0);
}

// With one link the menu shows only the single item "Link": slot 1 of
// "Linki" is hidden. Choosing it says so, and then what the plug-in did
// with the event the host would not have sent.
TEST(SessionChoose, AnItemTheMenuDoesNotShowIsNamedAsSuchBeforeWhatThePlugInDid) {
  int problems = -1;
  const std::string out = runSession(
      "contact 5 Ewa www.ewa.pl\n"
      "choose ewa 1 shift\n"
      "choose ewa 3\n",
      &problems);
  EXPECT_EQ(out,
            "> contact 5 Ewa www.ewa.pl\n"
            "> choose ewa 1 shift\n"
            "  the menu does not show item 1 of \"Linki\", so the host would not offer it;\n"
            "  sent anyway, the plug-in did this:\n"
            "    copied to the clipboard (CF_TEXT): http://www.ewa.pl\n"
            "> choose ewa 3\n"
            "  the menu does not show item 3 of \"Linki\", so the host would not offer it;\n"
            "  sent anyway, the plug-in did this:\n"
            "    nothing opened, nothing copied\n");
  EXPECT_EQ(out.find("no such item"), std::string::npos);
  EXPECT_EQ(problems, 0);
}

TEST(SessionChoose, TheSingleItemWhenTheMenuDoesNotShowIt) {
  int problems = -1;
  const std::string out = runSession(
      "contact 5 Ewa www.ewa.pl i www.ola.pl\n"
      "choose ewa 0 shift\n",
      &problems);
  EXPECT_EQ(out,
            "> contact 5 Ewa www.ewa.pl i www.ola.pl\n"
            "> choose ewa 0 shift\n"
            "  the menu does not show the single item \"Link\", so the host would not offer "
            "it;\n"
            "  sent anyway, the plug-in did this:\n"
            "    copied to the clipboard (CF_TEXT): http://www.ewa.pl\n");
  EXPECT_EQ(problems, 0);
}

// The help text comes from the table of commands: every command it names is
// one the session knows, and "help" prints it.
TEST(SessionHelp, EveryCommandItNamesIsKnown) {
  const std::string help = emu::Session::help();
  std::istringstream lines(help);
  std::string script;
  int named = 0;
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("  ", 0) != 0) continue;
    std::istringstream words(line);
    std::string name;
    words >> name;
    if (!name.empty() && name.back() == ',') name.pop_back();  // "help, quit"
    if (name != "quit") script += name + "\n";
    ++named;
  }
  EXPECT_EQ(named, 18);
  int problems = -1;
  const std::string out = runSession(script + "frobnicate\n", &problems);
  EXPECT_NE(out.find(help), std::string::npos) << "help prints the text";
  const std::string unknown = "unknown command";
  const std::size_t first = out.find(unknown);
  ASSERT_NE(first, std::string::npos);
  EXPECT_EQ(out.find(unknown, first + 1), std::string::npos) << out;
  EXPECT_NE(out.find("unknown command \"frobnicate\""), std::string::npos);
}

}  // namespace
}  // namespace brisko
