// The link finder front: menu texts of found links, and the choice of the
// finder by the search-method setting.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "host/ids.h"
#include "plugin/plugin_state.h"
#include "settings/columns.h"
#include "settings/texts.h"
#include "tests/support/in_process.h"

namespace brisko {
namespace {

using Strings = std::vector<std::string>;

TEST(DisplayForm, FullTable) {
  struct Row {
    std::string candidate;
    // Expected for (cutHttp, cutWww) = (no, no), (yes, no), (no, yes), (yes, yes).
    std::string expected[4];
  };
  const std::string blad = "blad!";
  const Row rows[] = {
      {"0abc.xy/x", {"http://abc.xy/x", "abc.xy/x", "http://abc.xy/x", "abc.xy/x"}},
      {"1abc.xy", {"www.abc.xy", "www.abc.xy", "abc.xy", "abc.xy"}},
      {"2abc.xy", {"http://www.abc.xy", "www.abc.xy", "http://abc.xy", "abc.xy"}},
      {"3abc.xy", {"abc.xy", "abc.xy", "abc.xy", "abc.xy"}},
      {"0", {"http://", "", "http://", ""}},
      {"1", {"www.", "www.", "", ""}},
      {"2", {"http://www.", "www.", "http://", ""}},
      {"3", {"", "", "", ""}},
      {"3https://abc.xy", {"https://abc.xy", "https://abc.xy", "https://abc.xy", "https://abc.xy"}},
      {"1\xb3\xf3\x64z.pl",
       {"www.\xb3\xf3\x64z.pl", "www.\xb3\xf3\x64z.pl", "\xb3\xf3\x64z.pl", "\xb3\xf3\x64z.pl"}},
      {"0ABC", {"http://ABC", "ABC", "http://ABC", "ABC"}},  // the body is not changed
      {std::string("2a\0b", 4),
       {std::string("http://www.a\0b", 14), std::string("www.a\0b", 7),
        std::string("http://a\0b", 10), std::string("a\0b", 3)}},
      {"", {blad, blad, blad, blad}},
      {"4abc", {blad, blad, blad, blad}},
      {"abc", {blad, blad, blad, blad}},
      {"9", {blad, blad, blad, blad}},
      {" 0abc", {blad, blad, blad, blad}},
      {"\xb0zz", {blad, blad, blad, blad}},
      {std::string(1, '\0') + "0abc", {blad, blad, blad, blad}},
  };
  for (const Row& row : rows) {
    for (int i = 0; i < 4; ++i) {
      const bool cutHttp = (i & 1) != 0;
      const bool cutWww = (i & 2) != 0;
      EXPECT_EQ(displayFormOf(row.candidate, cutHttp, cutWww), row.expected[i])
          << "candidate '" << row.candidate << "' cutHttp " << cutHttp << " cutWww " << cutWww;
    }
  }
}

TEST(DisplayForm, IsNotShortened) {
  const std::string body(2000, 'a');
  EXPECT_EQ(displayFormOf("0" + body, /*cutHttp=*/false, /*cutWww=*/true), "http://" + body);
}

// A status on which the two finders disagree: only the scanner takes
// "www.q" (no top-level name), only the expression takes "abc.pl".
const char kMixedStatus[] = "abc.pl www.q";

PluginState& prepare(PluginState& state, bool useRegex) {
  state.settings.useRegex = useRegex;
  state.settings.linkCount = 10;
  state.settings.analysedLength = 0;
  state.settings.extraChars = texts::kRegisteredExtraChars;
  state.settings.regexSource = texts::kDefaultRegex;
  return state;
}

TEST(LinkFinder, SettingChoosesTheFinder) {
  struct Case {
    bool useRegex;
    Strings display;
    Strings open;
    std::string first;
  };
  const Case cases[] = {
      {false, {"1q"}, {"http://www.q"}, "http://www.q"},
      {true, {"3abc.pl"}, {"http://abc.pl"}, "http://abc.pl"},
      {false, {"1q"}, {"http://www.q"}, "http://www.q"},
  };
  PluginState state;
  for (const Case& c : cases) {
    prepare(state, c.useRegex);
    state.links.collectLinks(state.settings, kMixedStatus, state.settings.linkCount);
    EXPECT_EQ(state.links.found().displayLinks, c.display) << "useRegex " << c.useRegex;
    EXPECT_EQ(state.links.found().openLinks, c.open) << "useRegex " << c.useRegex;
    EXPECT_EQ(state.links.firstLink(state.settings, kMixedStatus), c.first)
        << "useRegex " << c.useRegex;
  }
}

TEST(LinkFinder, FirstLinkLeavesTheListsAlone) {
  for (const bool useRegex : {false, true}) {
    PluginState state;
    prepare(state, useRegex);
    state.links.collectLinks(state.settings, "www.one.pl", state.settings.linkCount);
    const Strings display = state.links.found().displayLinks;
    const Strings open = state.links.found().openLinks;
    ASSERT_EQ(display.size(), 1u);
    EXPECT_EQ(state.links.firstLink(state.settings, "www.two.pl"), "http://www.two.pl");
    EXPECT_EQ(state.links.firstLink(state.settings, "nothing"), "");
    EXPECT_EQ(state.links.found().displayLinks, display);
    EXPECT_EQ(state.links.found().openLinks, open);
  }
}

TEST(LinkFinder, LinkCountLimitsBothFinders) {
  const std::string five = "www.a.pl www.b.pl www.c.pl www.d.pl www.e.pl";
  struct Case {
    std::int32_t linkCount;
    std::size_t stored;
  };
  const Case cases[] = {{2, 2}, {1, 1}, {5, 5}, {10, 5}, {0, 0}, {-3, 0}};
  const Strings display = {"1a.pl", "1b.pl", "1c.pl", "1d.pl", "1e.pl"};
  const Strings open = {"http://www.a.pl", "http://www.b.pl", "http://www.c.pl", "http://www.d.pl",
                        "http://www.e.pl"};
  for (const bool useRegex : {false, true}) {
    PluginState state;
    prepare(state, useRegex);
    for (const Case& c : cases) {
      state.settings.linkCount = c.linkCount;
      state.links.collectLinks(state.settings, five, state.settings.linkCount);
      EXPECT_EQ(state.links.found().displayLinks,
                Strings(display.begin(), display.begin() + c.stored))
          << "useRegex " << useRegex << " linkCount " << c.linkCount;
      EXPECT_EQ(state.links.found().openLinks, Strings(open.begin(), open.begin() + c.stored))
          << "useRegex " << useRegex << " linkCount " << c.linkCount;
    }
  }
}

TEST(LinkFinder, StatusWithoutLinksEmptiesTheLists) {
  for (const bool useRegex : {false, true}) {
    PluginState state;
    prepare(state, useRegex);
    state.links.collectLinks(state.settings, "www.a.pl www.b.pl", state.settings.linkCount);
    EXPECT_EQ(state.links.found().displayLinks.size(), 2u) << "useRegex " << useRegex;
    state.links.collectLinks(state.settings, "nic tu nie ma", state.settings.linkCount);
    EXPECT_TRUE(state.links.found().displayLinks.empty()) << "useRegex " << useRegex;
    EXPECT_TRUE(state.links.found().openLinks.empty()) << "useRegex " << useRegex;
    state.links.collectLinks(state.settings, "", state.settings.linkCount);
    EXPECT_TRUE(state.links.found().displayLinks.empty()) << "useRegex " << useRegex;
    EXPECT_TRUE(state.links.found().openLinks.empty()) << "useRegex " << useRegex;
  }
}

TEST(LinkFinder, FindersReadTheirSettings) {
  PluginState state;
  prepare(state, false);
  state.settings.analysedLength = 10;
  state.links.collectLinks(state.settings, "abc www.xyz123", state.settings.linkCount);
  EXPECT_EQ(state.links.found().openLinks, Strings({"http://www.xy"}));
  state.settings.extraChars = "";
  state.settings.analysedLength = 0;
  state.links.collectLinks(state.settings, "www.a-b", state.settings.linkCount);
  EXPECT_EQ(state.links.found().openLinks, Strings({"http://www.a"}));

  prepare(state, true);
  state.settings.analysedLength = 5;
  state.links.collectLinks(state.settings, "www.abc.xy", state.settings.linkCount);
  EXPECT_TRUE(state.links.found().openLinks.empty());
  state.settings.analysedLength = 0;
  state.settings.regexSource = "q+";
  state.links.collectLinks(state.settings, "aqqb", state.settings.linkCount);
  EXPECT_EQ(state.links.found().displayLinks, Strings({"3qq"}));
  EXPECT_EQ(state.links.firstLink(state.settings, "aqqb"), "http://qq");
  state.settings.regexSource = "(";  // does not compile
  state.links.collectLinks(state.settings, "aqqb", state.settings.linkCount);
  EXPECT_TRUE(state.links.found().displayLinks.empty());
  EXPECT_TRUE(state.links.found().openLinks.empty());
  EXPECT_EQ(state.links.firstLink(state.settings, "aqqb"), "");
}

// The method chosen on the configuration page reaches the finder once the
// settings are loaded again.
TEST(LinkFinder, ReloadedMethodSwitchesTheFinder) {
  test::InProcessHost host;
  ASSERT_TRUE(host.startUp());
  PluginState& state = host.state();
  state.links.collectLinks(state.settings, kMixedStatus, state.settings.linkCount);
  EXPECT_EQ(state.links.found().openLinks, Strings({"http://www.q"}));

  host.setConfigText(column::kRegexMethod, texts::kRadioChosen);
  host.setConfigText(column::kAuthorMethod, texts::kRadioNotChosen);
  EXPECT_EQ(host.send(msg::kLoadSettings), 1);
  state.links.collectLinks(state.settings, kMixedStatus, state.settings.linkCount);
  EXPECT_EQ(state.links.found().openLinks, Strings({"http://abc.pl"}));
  EXPECT_EQ(state.links.firstLink(state.settings, kMixedStatus), "http://abc.pl");

  host.setConfigText(column::kRegexMethod, texts::kRadioNotChosen);
  host.setConfigText(column::kAuthorMethod, texts::kRadioChosen);
  EXPECT_EQ(host.send(msg::kLoadSettings), 1);
  state.links.collectLinks(state.settings, kMixedStatus, state.settings.linkCount);
  EXPECT_EQ(state.links.found().openLinks, Strings({"http://www.q"}));
  EXPECT_EQ(state.links.firstLink(state.settings, kMixedStatus), "http://www.q");
}

}  // namespace
}  // namespace brisko
