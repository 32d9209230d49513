// The settings: defaults, the thirteen configuration columns, loading them,
// and taking the configuration page's values over.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "emulator/host_emulator.h"
#include "host/ids.h"
#include "host/records.h"
#include "menu/status_refresh.h"
#include "plugin/plugin_state.h"
#include "settings/columns.h"
#include "settings/link_settings.h"
#include "tests/support/cp1250.h"
#include "tests/support/in_process.h"
#include "tests/support/record_bytes.h"

namespace brisko {
namespace {

// Fields of packed records are compared as copies (unary +, or a local): the
// test macros take their arguments by reference, and a reference to a packed
// field may be misaligned.

using test::cp1250;
using test::InProcessHost;
using test::RecordBuilder;

// The expression every fresh configuration starts with (107 characters).
const std::string kExpression =
    R"(\b(\w+://[^\s<]+|([^\s>]+@)?([\w\-]+\.)+(com|org|gov|edu|biz|info|pro|net|[a-zA-Z]{2})(:\d+)?(/[^\s<]+)?)\b)";

constexpr std::uint32_t kControlBase = action::kConfigControlBase;
constexpr std::uint32_t kPage = action::kConfigPage;

// Starts the emulator with the linked-in plug-in: 20001, 21001, 22000, 22100.
// The page's apply event as the menus handle it: take the values over, then
// refresh the chat buttons when that is asked for.
void applyPage(LinkSettings& settings) {
  if (applyConfigPage(settings)) refreshChatButtons();
}

class StartedHost : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(host.startUp()); }
  InProcessHost host;
};

// --- construction -----------------------------------------------------------

TEST(PluginStateConstruction, LimitsDefaultsAndIconIds) {
  static_assert(limits::maxDisplayLength == 999);
  static_assert(limits::maxLinkCount == 10);
  static_assert(limits::maxAnalysedLength == 9999);
  static_assert(limits::maxExtraCharsLength == 100u);
  static_assert(limits::maxRegexLength == 300u);
  static_assert(action::kPluginIcon == 109001 && action::kPluginIcon2 == 109002);
  PluginState state;  // no host: construction makes no host call
  EXPECT_TRUE(state.links.found().displayLinks.empty());
  EXPECT_TRUE(state.links.found().openLinks.empty());

  const LinkSettings& s = state.settings;
  EXPECT_EQ(s.displayLength, 20);
  EXPECT_EQ(s.linkCount, 4);
  EXPECT_EQ(s.analysedLength, 0);
  EXPECT_TRUE(s.cutHttp);
  EXPECT_TRUE(s.cutWww);
  EXPECT_TRUE(s.showInContactMenu);
  EXPECT_TRUE(s.showInChatWindow);
  EXPECT_FALSE(s.submenuForSingleLink);
  EXPECT_FALSE(s.showSingleLinkName);
  EXPECT_FALSE(s.useRegex);
  EXPECT_EQ(s.extraChars, ",.%&=@-");
  EXPECT_EQ(s.regexSource, kExpression);
  EXPECT_EQ(s.regexSource.size(), 107u);
}

TEST(PluginStateConstruction, SetDefaultsRestoresTheInitialValues) {
  PluginState state;
  state.settings.linkCount = -3;
  state.settings.cutWww = false;
  state.settings.useRegex = true;
  state.settings.extraChars = "x";
  state.settings.regexSource.clear();
  setDefaults(state.settings);
  EXPECT_EQ(state.settings.linkCount, 4);
  EXPECT_TRUE(state.settings.cutWww);
  EXPECT_FALSE(state.settings.useRegex);
  EXPECT_EQ(state.settings.extraChars, ",.%&=@-");
  EXPECT_EQ(state.settings.regexSource, kExpression);
}

// --- registration -----------------------------------------------------------

struct ExpectedColumn {
  std::uint32_t id;
  const char* key;
  std::uint32_t type;
  std::int32_t intDefault;
  std::string textDefault;
};

const std::vector<ExpectedColumn>& expectedColumns() {
  static const std::vector<ExpectedColumn> table = {
      {109110, "Brisko/cfg_wyswietlaj_w_menu", 0, 1, ""},
      {109111, "Brisko/cfg_wyswietlaj_w_rozmowie", 0, 1, ""},
      {109112, "Brisko/cfg_tworz_podmenu", 0, 0, ""},
      {109113, "Brisko/cfg_wyswietlaj_nazwe", 0, 0, ""},
      {109114, "Brisko/cfg_dl_analizowanego", 0, 0, ""},
      {109115, "Brisko/cfg_liczba_linkow", 0, 5, ""},
      {109116, "Brisko/cfg_dl_linku", 0, 20, ""},
      {109117, "Brisko/cfg_ucinaj_http", 0, 1, ""},
      {109118, "Brisko/cfg_ucinaj_www", 0, 0, ""},
      {109129, "Brisko/cfg_metodaSzukania_autor", 1, 0, "0"},
      {109128, "Brisko/cfg_metodaSzukania_regex", 1, 0, "-1"},
      {109122, "Brisko/cfg_skladnia_regex", 1, 0, kExpression},
      {109119, "Brisko/cfg_skladnia_http", 1, 0, "-@$?&%="},
  };
  return table;
}

TEST_F(StartedHost, RegistersThirteenColumnsByteByByte) {
  const auto calls = host.callsTo(msg::kRegisterConfigColumn);
  const auto& expected = expectedColumns();
  ASSERT_EQ(calls.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE("registration " + std::to_string(i) + ": " + expected[i].key);
    const auto& call = calls[i];
    const auto& want = expected[i];
    ASSERT_EQ(call.message.size(), 39u);
    RecordBuilder bytes;
    bytes.u16(39).u32(1102).u32(0).u32(0).u32(0).u32(0).u8(0).u32(want.id).u32(want.type);
    bytes.u32(want.type == 0 ? static_cast<std::uint32_t>(want.intDefault) : 0u);
    bytes.u32(0);  // the key's pointer, checked through the text below
    std::vector<std::uint8_t> seen = test::maskPointer(call.message, 35);
    if (want.type == 1) seen = test::maskPointer(seen, 31);
    EXPECT_EQ(seen, bytes.bytes);
    EXPECT_NE(test::u32At(call.message, 35), 0u);
    EXPECT_EQ(call.text, want.key);
    if (want.type == 1) {
      EXPECT_NE(test::u32At(call.message, 31), 0u);
      EXPECT_EQ(call.defaultText, want.textDefault);
    }
  }
  // The host's table holds them, with their defaults.
  ASSERT_EQ(host.columns().size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(host.columns()[i].id, expected[i].id);
    EXPECT_EQ(host.columns()[i].key, expected[i].key);
  }
}

TEST_F(StartedHost, RegisterColumnsAnswersOne) {
  host.clearCalls();
  EXPECT_EQ(host.send(msg::kRegisterColumns), 1);
  EXPECT_EQ(host.callsTo(msg::kRegisterConfigColumn).size(), 13u);
}

// --- loading ----------------------------------------------------------------

TEST_F(StartedHost, FreshConfigurationLoadsTheRegisteredDefaults) {
  const LinkSettings& s = host.state().settings;
  EXPECT_EQ(s.linkCount, 5);
  EXPECT_FALSE(s.cutWww);
  EXPECT_EQ(s.extraChars, "-@$?&%=");
  EXPECT_FALSE(s.useRegex);
  EXPECT_EQ(s.displayLength, 20);
  EXPECT_EQ(s.analysedLength, 0);
  EXPECT_TRUE(s.cutHttp);
  EXPECT_TRUE(s.showInContactMenu);
  EXPECT_TRUE(s.showInChatWindow);
  EXPECT_FALSE(s.submenuForSingleLink);
  EXPECT_FALSE(s.showSingleLinkName);
  EXPECT_EQ(s.regexSource, kExpression);
}

// Each column is read once with its type, whatever the order; the author
// radio is not read.
TEST_F(StartedHost, LoadReadsEachColumnOnceAndNotTheAuthorRadio) {
  host.clearCalls();
  EXPECT_EQ(host.send(msg::kLoadSettings), 1);
  std::vector<std::pair<std::int32_t, std::int32_t>> reads;  // column, type
  for (const auto& call : host.calls()) {
    if (call.op != emu::HostCall::Op::GetValue) continue;
    ASSERT_EQ(call.args.size(), 6u);
    EXPECT_EQ(call.args[0], 0);  // configuration table
    EXPECT_EQ(call.args[1], 0);  // row 0
    EXPECT_EQ(call.args[4], 0);  // no value offered
    EXPECT_EQ(call.args[5], 0);  // no buffer offered
    reads.emplace_back(call.args[2], call.args[3]);
  }
  std::sort(reads.begin(), reads.end());
  std::vector<std::int32_t> columns;
  std::vector<std::int32_t> types;
  for (const auto& [column, type] : reads) {
    columns.push_back(column);
    types.push_back(type);
  }
  EXPECT_EQ(columns, (std::vector<std::int32_t>{109110, 109111, 109112, 109113, 109114, 109115,
                                                109116, 109117, 109118, 109119, 109122, 109128}));
  EXPECT_EQ(types, (std::vector<std::int32_t>{0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1}));
}

TEST_F(StartedHost, LoadTakesAFlagAsYesOnlyForExactlyOne) {
  struct Flag {
    std::uint32_t column;
    bool LinkSettings::*field;
  };
  const Flag flags[] = {
      {109110, &LinkSettings::showInContactMenu},
      {109111, &LinkSettings::showInChatWindow},
      {109112, &LinkSettings::submenuForSingleLink},
      {109113, &LinkSettings::showSingleLinkName},
      {109117, &LinkSettings::cutHttp},
      {109118, &LinkSettings::cutWww},
  };
  const struct {
    std::int32_t stored;
    bool expected;
  } values[] = {{1, true}, {0, false}, {2, false}, {-1, false}, {0x101, false}, {0x10001, false}};
  for (const Flag& flag : flags) {
    for (const auto& value : values) {
      SCOPED_TRACE("column " + std::to_string(flag.column) + " stored " +
                   std::to_string(value.stored));
      host.setConfigInt(flag.column, value.stored);
      host.state().settings.*flag.field = !value.expected;
      EXPECT_EQ(host.send(msg::kLoadSettings), 1);
      EXPECT_EQ(host.state().settings.*flag.field, value.expected);
    }
    host.setConfigInt(flag.column, 0);
  }
}

TEST_F(StartedHost, LoadTakesTheMethodFromTheFirstByteOfTheRegexRadio) {
  const struct {
    std::string stored;
    bool useRegex;
  } cases[] = {{"0", true},  {"-1", false}, {"", false},  {"01", true},
               {"00", true}, {" 0", false}, {"1", false}, {"\xB9", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE("stored \"" + c.stored + "\"");
    host.setConfigText(109128, c.stored);
    host.state().settings.useRegex = !c.useRegex;
    host.send(msg::kLoadSettings);
    EXPECT_EQ(host.state().settings.useRegex, c.useRegex);
  }
}

TEST_F(StartedHost, LoadTakesNumbersAndTextsUnchanged) {
  const std::string longText(1000, '\x9C');  // far beyond both page limits
  const std::string expression = "(a|\xEA)+\\d{2}";
  host.setConfigInt(109114, 123456);
  host.setConfigInt(109115, -7);
  host.setConfigInt(109116, 0);
  host.setConfigText(109119, longText);
  host.setConfigText(109122, expression);
  host.setConfigText(109129, "garbage, never read");
  EXPECT_EQ(host.send(msg::kLoadSettings), 1);
  const LinkSettings& s = host.state().settings;
  EXPECT_EQ(s.analysedLength, 123456);
  EXPECT_EQ(s.linkCount, -7);
  EXPECT_EQ(s.displayLength, 0);
  EXPECT_EQ(s.extraChars, longText);
  EXPECT_EQ(s.regexSource, expression);

  host.setConfigInt(109114, INT32_MIN);
  host.setConfigInt(109115, INT32_MAX);
  host.setConfigText(109119, "");
  host.setConfigText(109122, "");
  host.send(msg::kLoadSettings);
  EXPECT_EQ(host.state().settings.analysedLength, INT32_MIN);
  EXPECT_EQ(host.state().settings.linkCount, INT32_MAX);
  EXPECT_EQ(host.state().settings.extraChars, "");
  EXPECT_EQ(host.state().settings.regexSource, "");
}

TEST(LoadSettingsFaults, NullTextsFromTheHostAreEmpty) {
  emu::HostEmulator scripted;  // no column registered: the reads are answered as they stand
  scripted.setConfigInt(109110, 1);
  scripted.setConfigInt(109111, 1);
  scripted.setConfigInt(109115, 3);
  // No text column is answered: every text read gets a null pointer.
  test::CurrentHostScope scope(&scripted);
  PluginState state;
  loadSettings(state.settings);
  EXPECT_EQ(state.settings.extraChars, "");
  EXPECT_EQ(state.settings.regexSource, "");
  EXPECT_FALSE(state.settings.useRegex);
  EXPECT_EQ(state.settings.linkCount, 3);
  EXPECT_TRUE(state.settings.showInContactMenu);
  EXPECT_FALSE(state.settings.cutHttp);
}

TEST(LoadSettingsFaults, WithoutAHostNothingIsReadAndNothingBreaks) {
  PluginState state;  // no host reference is set
  registerColumns();
  loadSettings(state.settings);
  EXPECT_EQ(state.settings.extraChars, "");
  EXPECT_FALSE(state.settings.showInChatWindow);
}

// --- applying the page: reads -------------------------------------------------

// Each control is read once, whatever the order (the host answers each read
// on its own).
TEST_F(StartedHost, ApplyReadsEveryControlOnceWithTheFlag) {
  host.clearCalls();
  applyPage(host.state().settings);
  std::vector<emu::HostCall> reads = host.callsTo(msg::kGetActionValue);
  std::sort(reads.begin(), reads.end(), [](const emu::HostCall& a, const emu::HostCall& b) {
    return test::u32At(a.record, 2) < test::u32At(b.record, 2);
  });
  const std::vector<std::uint32_t> controls = {109110, 109111, 109112, 109113, 109114, 109115,
                                               109116, 109117, 109118, 109119, 109122, 109128};
  ASSERT_EQ(reads.size(), controls.size());
  for (std::size_t i = 0; i < controls.size(); ++i) {
    SCOPED_TRACE("control " + std::to_string(controls[i]));
    EXPECT_EQ(reads[i].record,  // no buffer offered: text 0, text size 0
              (test::ActionInfoBytes{74, kControlBase | controls[i], kPage, -2, 0, 65600}.bytes()));
  }
}

TEST_F(StartedHost, ApplyTakesFlagsFromTheFirstByte) {
  struct Case {
    std::uint32_t column;
    std::string value;
    bool LinkSettings::*field;
    bool expected;
  };
  const Case cases[] = {
      {109110, "1", &LinkSettings::showInContactMenu, true},
      {109110, "0", &LinkSettings::showInContactMenu, false},
      {109110, "10", &LinkSettings::showInContactMenu, true},
      {109110, "", &LinkSettings::showInContactMenu, false},
      {109110, " 1", &LinkSettings::showInContactMenu, false},
      {109112, "1", &LinkSettings::submenuForSingleLink, true},
      {109112, "01", &LinkSettings::submenuForSingleLink, false},
      {109113, "1", &LinkSettings::showSingleLinkName, true},
      {109113, "-1", &LinkSettings::showSingleLinkName, false},
      {109117, "0", &LinkSettings::cutHttp, false},
      {109117, "1", &LinkSettings::cutHttp, true},
      {109118, "1", &LinkSettings::cutWww, true},
      {109118, "\xB1", &LinkSettings::cutWww, false},
      {109128, "0", &LinkSettings::useRegex, true},
      {109128, "-1", &LinkSettings::useRegex, false},
      {109128, "", &LinkSettings::useRegex, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("column " + std::to_string(c.column) + " value \"" + c.value + "\"");
    host.setControlValue(c.column, c.value);
    host.state().settings.*c.field = !c.expected;
    applyPage(host.state().settings);
    EXPECT_EQ(host.state().settings.*c.field, c.expected);
  }
}

// --- applying the page: the number rule ---------------------------------------

struct NumberCase {
  std::uint32_t column;
  std::string typed;
  std::int32_t expected;
  const char* writtenBack;  // null: nothing is written
};

std::int32_t numberSetting(const LinkSettings& s, std::uint32_t column) {
  switch (column) {
    case 109114:
      return s.analysedLength;
    case 109115:
      return s.linkCount;
    default:
      return s.displayLength;
  }
}

TEST(ApplyNumberRule, EachNumberIsValidatedAndCorrected) {
  const NumberCase cases[] = {
      // link count: at most 2 characters, 1..10
      {109115, "0", 1, "1"},
      {109115, "", 1, "1"},
      {109115, "abc", 1, "1"},
      {109115, "11", 10, "10"},
      {109115, "99", 10, "10"},
      {109115, "007", 10, "10"},
      {109115, "00", 1, "1"},
      {109115, "10", 10, nullptr},
      {109115, "1", 1, nullptr},
      {109115, "07", 7, nullptr},
      {109115, "-1", 1, "1"},
      {109115, "+5", 1, "1"},
      {109115, " 5", 1, "1"},
      {109115, "5 ", 1, "1"},
      {109115,
       "\xB3"
       "5",
       1, "1"},
      {109115, "5\xFF", 1, "1"},
      // analysed length: at most 4 characters, 0..9999
      {109114, "0", 0, nullptr},
      {109114, "0000", 0, nullptr},
      {109114, "00005", 9999, "9999"},
      {109114, "10000", 9999, "9999"},
      {109114, "9999", 9999, nullptr},
      {109114, "0500", 500, nullptr},
      {109114, "-1", 0, "0"},
      {109114, "", 0, "0"},
      {109114, "12a", 0, "0"},
      {109114, "\xEA", 0, "0"},
      {109114, "99999999999999999999", 9999, "9999"},
      // display length: at most 3 characters, 1..999
      {109116, "1000", 999, "999"},
      {109116, "999", 999, nullptr},
      {109116, "0", 1, "1"},
      {109116, "000", 1, "1"},
      {109116, "020", 20, nullptr},
      {109116, "1", 1, nullptr},
      {109116, "x", 1, "1"},
      {109116, "0001", 999, "999"},
  };
  for (const NumberCase& c : cases) {
    SCOPED_TRACE("column " + std::to_string(c.column) + " typed \"" + c.typed + "\"");
    InProcessHost host;
    ASSERT_TRUE(host.startUp());
    host.setControlValue(c.column, c.typed);
    host.clearCalls();
    applyPage(host.state().settings);
    EXPECT_EQ(numberSetting(host.state().settings, c.column), c.expected);

    const auto writes = host.callsTo(msg::kSetActionValue);
    if (c.writtenBack == nullptr) {
      EXPECT_TRUE(writes.empty());
      EXPECT_EQ(host.controlValue(c.column), c.typed);
    } else {
      ASSERT_EQ(writes.size(), 1u);
      const auto& record = writes[0].record;
      ASSERT_EQ(record.size(), 74u);
      EXPECT_EQ(test::u32At(record, 2), kControlBase | c.column);
      EXPECT_EQ(test::u32At(record, 6), kPage);
      EXPECT_EQ(test::u32At(record, 10), 0xFFFFFFFEu);  // cnt -2
      EXPECT_EQ(test::u32At(record, 30), 64u);          // flag clear
      EXPECT_NE(test::u32At(record, 50), 0u);
      EXPECT_EQ(writes[0].text, c.writtenBack);
      EXPECT_EQ(host.controlValue(c.column), c.writtenBack);
    }
  }
}

// --- applying the page: text lengths --------------------------------------------

TEST(ApplyTextLimits, TextsAreCutAtTheirLimitWithAWriteBack) {
  // Bytes of every kind, so that a cut is seen to keep them as they are.
  auto textOf = [](std::size_t length) {
    std::string text;
    for (std::size_t i = 0; i < length; ++i) text += static_cast<char>(0x21 + (i * 37) % 0xDE);
    return text;
  };
  const struct {
    std::uint32_t column;
    std::size_t length;
    std::size_t kept;
    bool writtenBack;
  } cases[] = {
      {109119, 101, 100, true},  {109119, 100, 100, false}, {109119, 0, 0, false},
      {109119, 5000, 100, true}, {109122, 301, 300, true},  {109122, 300, 300, false},
      {109122, 299, 299, false}, {109122, 4096, 300, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("column " + std::to_string(c.column) + " length " + std::to_string(c.length));
    InProcessHost host;
    ASSERT_TRUE(host.startUp());
    const std::string typed = textOf(c.length);
    host.setControlValue(c.column, typed);
    host.clearCalls();
    applyPage(host.state().settings);
    const std::string& taken =
        c.column == 109119 ? host.state().settings.extraChars : host.state().settings.regexSource;
    EXPECT_EQ(taken, typed.substr(0, c.kept));
    const auto writes = host.callsTo(msg::kSetActionValue);
    if (!c.writtenBack) {
      EXPECT_TRUE(writes.empty());
    } else {
      ASSERT_EQ(writes.size(), 1u);
      EXPECT_EQ(test::u32At(writes[0].record, 2), kControlBase | c.column);
      EXPECT_EQ(test::u32At(writes[0].record, 30), 65600u);  // flag set
      EXPECT_EQ(writes[0].text, typed.substr(0, c.kept));
      EXPECT_EQ(host.controlValue(c.column), typed.substr(0, c.kept));
    }
  }
}

TEST(ApplyOrder, EachCorrectionFollowsItsReadAndTheRefreshComesLast) {
  InProcessHost host;
  ASSERT_TRUE(host.startUp());
  host.addContact(31, "www.example.pl");
  host.openChat(31);
  host.setControlValue(109111, "1");
  host.setControlValue(109114, "12345");
  host.setControlValue(109115, "x");
  host.setControlValue(109116, "0");
  host.setControlValue(109119, std::string(101, 'e'));
  host.setControlValue(109122, std::string(301, 'r'));
  host.clearCalls();
  applyPage(host.state().settings);

  // Reads (r) and writes (w) of page controls, and the chat refresh (c).
  std::vector<std::string> seen;
  for (const auto& call : host.calls()) {
    if (call.messageId == msg::kGetActionValue || call.messageId == msg::kSetActionValue) {
      const std::uint32_t id = test::u32At(call.record, 2);
      // The bytes the host reads: top byte and column as literals.
      EXPECT_EQ(id & 0xFF000000u, kControlBase);
      seen.push_back((call.messageId == msg::kGetActionValue ? "r" : "w") +
                     std::to_string(id & 0x00FFFFFFu));
    } else if (call.messageId == msg::kCallAction) {
      seen.push_back("c" + std::to_string(test::u32At(call.record, 10)));
    }
  }
  const std::vector<std::string> expected = {"r109110", "r109111", "r109112", "r109113", "r109128",
                                             "r109117", "r109118", "r109114", "w109114", "r109115",
                                             "w109115", "r109116", "w109116", "r109119", "w109119",
                                             "r109122", "w109122", "c31"};
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(host.controlValue(109114), "9999");
  EXPECT_EQ(host.controlValue(109115), "1");
  EXPECT_EQ(host.controlValue(109116), "1");
  EXPECT_EQ(host.controlValue(109119), std::string(100, 'e'));
  EXPECT_EQ(host.controlValue(109122), std::string(300, 'r'));
}

// --- applying the page: faults of the host --------------------------------------

TEST(ApplyFaults, NullControlValuesAreEmptyTexts) {
  emu::HostEmulator scripted;  // no control inserted: every GetActionValue answers a null pointer
  test::CurrentHostScope scope(&scripted);
  PluginState state;
  applyPage(state.settings);
  const LinkSettings& s = state.settings;
  EXPECT_FALSE(s.showInContactMenu);
  EXPECT_FALSE(s.submenuForSingleLink);
  EXPECT_FALSE(s.showSingleLinkName);
  EXPECT_FALSE(s.useRegex);
  EXPECT_FALSE(s.cutHttp);
  EXPECT_FALSE(s.cutWww);
  EXPECT_FALSE(s.showInChatWindow);  // was yes: it changed, so it is stored
  EXPECT_EQ(s.analysedLength, 0);
  EXPECT_EQ(s.linkCount, 1);
  EXPECT_EQ(s.displayLength, 1);
  EXPECT_EQ(s.extraChars, "");
  EXPECT_EQ(s.regexSource, "");

  // The three empty numbers are corrected to their low texts, flag clear.
  const auto writes = scripted.callsTo(msg::kSetActionValue);
  ASSERT_EQ(writes.size(), 3u);
  const std::uint32_t ids[] = {kControlBase | 109114, kControlBase | 109115, kControlBase | 109116};
  const char* texts[] = {"0", "1", "1"};
  for (std::size_t i = 0; i < 3; ++i) {
    const ActionInfo info = test::recordOf<ActionInfo>(writes[i].record);
    EXPECT_EQ(+info.id, ids[i]);
    EXPECT_EQ(+info.mask, 64u);
    ASSERT_NE(+info.text, 0u);
    EXPECT_EQ(writes[i].text, texts[i]);
  }
  // The chat-window option changed from yes to no: the refresh asked for
  // the contacts (there are none).
  EXPECT_EQ(scripted.callsTo(msg::kGetContactCount).size(), 1u);
}

// --- applying the page: the chat-window refresh rule ------------------------------

TEST(ApplyRefreshRule, ChatButtonsAreRefreshedWhenTheOptionChangesOrStaysOn) {
  const struct {
    bool before;
    bool typed;
    bool after;
    std::size_t refreshes;  // CallAction sends: one per open chat window, or none
  } cases[] = {{true, false, false, 2},
               {false, true, true, 2},
               {true, true, true, 2},
               {false, false, false, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("before ") + (c.before ? "yes" : "no") + ", typed " +
                 (c.typed ? "yes" : "no"));
    InProcessHost host;
    ASSERT_TRUE(host.startUp());
    host.addContact(11, "www.example.pl");
    host.addContact(12, "nothing here");
    host.addContact(13, "http://abc.pl/x");
    host.openChat(11);
    host.openChat(13);
    host.state().settings.showInChatWindow = c.before;
    host.setControlValue(109111, c.typed ? "1" : "0");
    host.clearCalls();
    applyPage(host.state().settings);
    EXPECT_EQ(host.state().settings.showInChatWindow, c.after);

    const auto sends = host.callsTo(msg::kCallAction);
    ASSERT_EQ(sends.size(), c.refreshes);
    const std::int32_t contacts[] = {11, 13};
    for (std::size_t i = 0; i < sends.size(); ++i) {
      EXPECT_EQ(sends[i].record, test::notifyBytes(109040, 200, contacts[i], 12));
    }
  }
}

TEST(ApplyRefreshRule, TurningTheOptionOffAndOnHidesAndShowsTheButton) {
  InProcessHost host;
  ASSERT_TRUE(host.startUp());
  host.addContact(21, "see www.example.pl");
  host.openChat(21);
  host.setControlValue(109111, "0");
  applyPage(host.state().settings);
  EXPECT_FALSE(host.readChatButton(21).shown);
  host.setControlValue(109111, "1");
  applyPage(host.state().settings);
  EXPECT_TRUE(host.readChatButton(21).shown);
}

// --- applying through the host ----------------------------------------------------

TEST(ApplyThroughTheHost, ApplyingThePageTakesTheValuesOver) {
  InProcessHost host;
  ASSERT_TRUE(host.startUp());
  host.setControlValue(109115, "7");
  host.setControlValue(109116, "1000");
  host.setControlValue(109118, "1");
  host.setControlValue(109119, cp1250(u8"ąę"));
  host.clickControl(109128);  // the regular-expression radio
  host.applyPage();
  const LinkSettings& s = host.state().settings;
  EXPECT_EQ(s.linkCount, 7);
  EXPECT_EQ(s.displayLength, 999);
  EXPECT_EQ(host.controlValue(109116), "999");
  EXPECT_TRUE(s.cutWww);
  EXPECT_TRUE(s.useRegex);
  EXPECT_EQ(s.extraChars, "\xB9\xEA");
  EXPECT_EQ(host.errorCount(), 0);
}

}  // namespace
}  // namespace brisko
