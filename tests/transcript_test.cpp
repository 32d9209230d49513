// The stored emulator sessions (emulator/sessions/NAME.session), each run
// against the plug-in module and compared with its expected transcript
// (NAME.transcript). A change of behaviour shows as a diff of the two.
//
// To take a changed transcript as the expected one, natively:
//   build/native/bin/brisko-host --script emulator/sessions/NAME.session
//     > emulator/sessions/NAME.transcript   (on one line)
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "emulator/host_emulator.h"
#include "emulator/plugin_module.h"
#include "emulator/session.h"

namespace brisko {
namespace {

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The lines that differ, as "-" (expected only) and "+" (now only) lines,
// each with its line number, and a line of context around each change;
// empty when the texts agree.
std::string lineDiff(const std::string& expected, const std::string& actual) {
  const std::vector<std::string> a = linesOf(expected);
  const std::vector<std::string> b = linesOf(actual);
  // Longest common subsequence, from the end.
  std::vector<std::vector<std::size_t>> common(a.size() + 1,
                                               std::vector<std::size_t>(b.size() + 1, 0));
  for (std::size_t i = a.size(); i-- > 0;) {
    for (std::size_t j = b.size(); j-- > 0;) {
      common[i][j] =
          a[i] == b[j] ? common[i + 1][j + 1] + 1 : std::max(common[i + 1][j], common[i][j + 1]);
    }
  }
  struct Line {
    char mark;
    std::size_t number;  // in the expected text, or for "+" in the text now
    std::string text;
  };
  std::vector<Line> all;
  std::size_t i = 0, j = 0;
  while (i < a.size() || j < b.size()) {
    if (i < a.size() && j < b.size() && a[i] == b[j]) {
      all.push_back({' ', i + 1, a[i]});
      ++i, ++j;
    } else if (i < a.size() && (j == b.size() || common[i + 1][j] >= common[i][j + 1])) {
      all.push_back({'-', i + 1, a[i++]});
    } else {
      all.push_back({'+', j + 1, b[j]});
      ++j;
    }
  }
  std::string out;
  for (std::size_t k = 0; k < all.size(); ++k) {
    const bool changed = all[k].mark != ' ';
    const bool nearChange =
        (k > 0 && all[k - 1].mark != ' ') || (k + 1 < all.size() && all[k + 1].mark != ' ');
    if (!changed && !nearChange) continue;
    out += std::to_string(all[k].number) + ": " + all[k].mark + " " + all[k].text + "\n";
  }
  return out;
}

TEST(TranscriptDiff, ShowsChangedLinesWithTheirNeighbours) {
  EXPECT_EQ(lineDiff("a\nb\nc\n", "a\nb\nc\n"), "");
  EXPECT_EQ(lineDiff("a\nb\nc\nd\n", "a\nB\nc\nd\n"), "1:   a\n2: - b\n2: + B\n3:   c\n");
  EXPECT_EQ(lineDiff("a\n", "a\nb\n"), "1:   a\n2: + b\n");
}

TEST(StoredSessions, TheSampleIsOneOfThem) {
  const emu::StoredSession* sample = emu::storedSession("sample");
  ASSERT_NE(sample, nullptr);
  EXPECT_NE(std::string(sample->transcript).find("Shutting down: 20002 answered 1"),
            std::string::npos);
  EXPECT_EQ(emu::storedSession("no such session"), nullptr);
}

std::vector<std::string> storedNames() {
  std::vector<std::string> names;
  for (const emu::StoredSession& s : emu::storedSessions()) names.push_back(s.name);
  return names;
}

class Transcript : public ::testing::TestWithParam<std::string> {};

TEST_P(Transcript, IsTheExpectedOne) {
  const emu::StoredSession* stored = emu::storedSession(GetParam());
  ASSERT_NE(stored, nullptr);
  std::string error;
  const std::unique_ptr<emu::PluginModule> module = emu::PluginModule::loadBeside(&error);
  ASSERT_TRUE(module) << error;

  std::ostringstream out;
  int problems = 0;
  {
    emu::HostEmulator host(module->proc(), module->handle());
    emu::Session session(host, out);
    ASSERT_TRUE(session.start()) << out.str();
    std::istringstream script(stored->script);
    session.runScript(script);
    problems = session.problems();
  }
  EXPECT_EQ(problems, 0) << out.str();
  const std::string diff = lineDiff(stored->transcript, out.str());
  EXPECT_TRUE(diff.empty()) << "emulator/sessions/" << stored->name
                            << ".transcript (-) and the transcript now (+) differ:\n"
                            << diff;
}

INSTANTIATE_TEST_SUITE_P(Stored, Transcript, ::testing::ValuesIn(storedNames()),
                         [](const ::testing::TestParamInfo<std::string>& param) {
                           return param.param;
                         });

}  // namespace
}  // namespace brisko
