// The configuration page: its controls as inserted, the information box,
// control parameters, and the controls' live behaviour.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "emulator/host_emulator.h"
#include "host/ids.h"
#include "host/records.h"
#include "plugin/plugin_state.h"
#include "settings/config_page.h"
#include "settings/control_params.h"
#include "tests/support/cp1250.h"
#include "tests/support/in_process.h"
#include "tests/support/record_bytes.h"

namespace brisko {
namespace {

using test::cp1250;
using test::InProcessHost;

constexpr std::uint32_t kCB = action::kConfigControlBase;
constexpr std::uint32_t kPage = action::kConfigPage;
constexpr std::uint32_t kAll = 0xFFFFFFFFu;

const std::string kMark = "\x1A";
const std::string kExpression =
    R"(\b(\w+://[^\s<]+|([^\s>]+@)?([\w\-]+\.)+(com|org|gov|edu|biz|info|pro|net|[a-zA-Z]{2})(:\d+)?(/[^\s<]+)?)\b)";
const std::string kExtra =
    cp1250(u8"<br/>Autor: zespół Brisko<br/>Url: <br/>Data wydania: Dec 19 2005");
const std::string kDescription = cp1250(
    u8"<b>Brisko</b>. Wtyczka umożliwia szybki dostęp do linków umieszczonych w statusach "
    u8"kontaktów. Dzięki temu mamy możliwość łatwego otwierania owych stron.");

// One expected insertion.
struct Step {
  std::uint16_t size;
  std::uint32_t parent;
  std::uint32_t id;
  std::uint32_t status;
  std::optional<std::string> text;  // Windows-1250; nullopt: no text (null pointer)
  std::uint32_t param;
  std::uint16_t width;
  std::uint16_t height;
};

std::vector<std::uint8_t> insertionBytes(const Step& s) {
  // The text pointer is compared apart.
  return test::ActionInfoBytes{s.size,   s.id, s.parent, -2,      -1,      863,
                               s.status, kAll, 0,        s.param, s.width, s.height}
      .bytes();
}

std::optional<std::string> none() { return std::nullopt; }
std::optional<std::string> t(const char* utf8) { return cp1250(utf8); }

std::vector<Step> expectedPage(const std::string& infoParams) {
  const std::uint32_t P = kPage;
  const std::optional<std::string> noText = none();
  return {
      {74, 46, 109101, 0x04000010, t("Brisko"), 109001, 0, 0},
      {74, P, 0, 0x000F0000, t("Wswietlanie menu"), 0, 0, 0},
      {78, P, kCB, 0x00060000, t("Wstawietlaj w menu kontaktu"), 109110, 0, 0},
      {78, P, kCB, 0x00060000, t("Wstawietlaj w oknie rozmowy"), 109111, 0, 0},
      {78, P, kCB, 0x20060000, t(u8"Twórz podmenu dla jednego linku"), 109112, 0, 0},
      {78, P, 0, 0x00090040, t(""), 0, 15, 0},
      {78, P, kCB, 0x02060000, t(u8"Wyświetlaj nazwe dla tego linku"), 109113, 0, 0},
      {74, P, 0, 0x00100000, noText, 0, 0, 0},
      {74, P, 0, 0x000F0000, t(u8"Konfiguracja wyświetlania"), 0, 0, 0},
      {78, P, 0, 0x00090040, t(u8"Długość analizowanego statusu"), 0, 170, 0},
      {78, P, kCB, 0x000B0000,
       kMark + cp1250(u8"tip=0 - będzie analizowany cały status\nmaks. 9999"), 109114, 50, 0},
      {78, P, 0, 0x00090040, t(u8"Liczba wyświetlanych linków"), 0, 170, 0},
      {78, P, kCB, 0x000B0000, kMark + "tip=maks. 10", 109115, 30, 0},
      {78, P, 0, 0x00090040, t(u8"Długość wyświetlanego linku"), 0, 170, 0},
      {78, P, kCB, 0x000B0000, kMark + "tip=maks. 999", 109116, 50, 0},
      {74, P, 0, 0x00100000, noText, 0, 0, 0},
      {74, P, 0, 0x000F0000, t("Ucinaj"), 0, 0, 0},
      {78, P, kCB, 0x00060040, t("\"http://\""), 109117, 100, 0},
      {78, P, kCB, 0x00060000, t("\"www.\""), 109118, 0, 0},
      {74, P, 0, 0x00100000, noText, 0, 0, 0},
      {74, P, 0, 0x000F0000, t(u8"Linki wyszukuj metodą  "), 0, 0, 0},
      {78, P, kCB, 0x03193040, t(u8"autorską"), 109129, 100, 0},
      {78, P, kCB, 0x03193000, t(u8"wyrażeniem regularnym"), 109128, 0, 0},
      {74, P, 0, 0x00100000, noText, 0, 0, 0},
      {74, P, 0, 0x000F0000, t(u8"Składnia linku"), 0, 0, 0},
      {78, P, 0, 0x00090000, t(u8"Link może zawierać znaki: a-z 0-9 . _ / \\"), 0, 300, 0},
      {78, P, 0, 0x00090000, t("Dodatkowo twoje znaki to:"), 0, 200, 0},
      {78, P, kCB, 0x000B0040, noText, 109119, 250, 0},
      {78, P, kCB, 0x000E0000, t(u8"Domyślne"), 109120, 70, 0},
      {78, P, 0, 0x00010000, noText, 0, 0, 0},
      {78, P, 0, 0x00090000, t(u8"Wyrażenie regularne:"), 0, 200, 0},
      {78, P, kCB, 0x000B0040, noText, 109122, 250, 0},
      {78, P, kCB, 0x010E0000, t(u8"Domyślne"), 109123, 70, 0},
      {74, P, 0, 0x00100000, noText, 0, 0, 0},
      {74, P, 0, 0x000F0000, t("Kopiowanie linku"), 0, 0, 0},
      {78, P, 0, 0x00080000,
       t(u8"Aby skopiować wybrany link (zamiast go otwierać), przed kliknięciem myszą na niego "
         u8"należy przytrzymać klawisz \"Shift\"."),
       0, 0, 0},
      {74, P, 0, 0x00100000, noText, 0, 0, 0},
      // The information box, grouped.
      {74, P, 0, 0x000F0000, t(""), 0, 0, 0},
      {74, P, 0, 0x001C0040, infoParams, 0, 40, 40},
      {78, P, 0, 0x00180080, kDescription, 0, 300, 0},
      {74, P, 0, 0x00100000, noText, 0, 0, 0},
      {74, P, 0, 0x00100000, noText, 0, 0, 0},
  };
}

std::string infoParams(const std::string& header) {
  return kMark + "imgurl=" + kMark + "iconsize=32" + kMark + "tipRich=" + header + kMark +
         "tipWidth=300";
}

// The page's insertions, from the page itself to the end of message 22000.
std::vector<emu::HostCall> pageInsertions(const emu::HostEmulator& host) {
  const auto inserts = host.callsTo(msg::kInsertAction);
  std::vector<emu::HostCall> page;
  bool inPage = false;
  for (const auto& call : inserts) {
    if (call.record.size() >= 10 && test::u32At(call.record, 2) == kPage &&
        test::u32At(call.record, 6) == 46) {
      inPage = true;
    }
    if (inPage) page.push_back(call);
  }
  return page;
}

void expectSteps(const std::vector<emu::HostCall>& calls, const std::vector<Step>& steps) {
  ASSERT_EQ(calls.size(), steps.size());
  for (std::size_t i = 0; i < steps.size(); ++i) {
    SCOPED_TRACE("insertion " + std::to_string(i + 1));
    const Step& step = steps[i];
    EXPECT_EQ(test::maskPointer(calls[i].record, 50), insertionBytes(step));
    EXPECT_EQ(calls[i].message.size(), 30u);
    if (step.text) {
      EXPECT_NE(test::u32At(calls[i].record, 50), 0u);
      EXPECT_EQ(calls[i].text, *step.text);
    } else {
      EXPECT_EQ(test::u32At(calls[i].record, 50), 0u);
    }
  }
}

// --- the page ------------------------------------------------------------------

TEST(ConfigPage, EveryStepIsInsertedInOrderByteByByte) {
  InProcessHost host;
  host.setPluginValueText("7.7.7");
  host.setHostState(0);
  ASSERT_TRUE(host.startUp());
  const auto page = pageInsertions(host);
  expectSteps(page, expectedPage(infoParams("<b>Brisko 7.7.7</b><br/>" + kExtra)));
  // The page comes last in message 22000, after the link actions.
  const auto inserts = host.callsTo(msg::kInsertAction);
  ASSERT_GE(inserts.size(), page.size() + 13);
  EXPECT_TRUE(host.pageInserted());
}

TEST(ConfigPage, InfoBoxHeaderWhenTheHostStateIsOne) {
  InProcessHost host;
  host.setPluginValueText("7.7.7");
  host.setHostState(1);
  ASSERT_TRUE(host.startUp());
  const auto page = pageInsertions(host);
  expectSteps(page, expectedPage(infoParams("<b>Brisko</b><br/>" + kExtra)));
}

TEST(ConfigPage, InfoBoxAsksTheHostForTheNameAndTheValueText) {
  InProcessHost host;
  host.setPluginId(31);
  host.setPluginValueText("abc");
  ASSERT_TRUE(host.startUp());
  host.clearCalls();
  insertInfoBox(kPage, "d", nullptr, nullptr, 0, nullptr, false);

  // The name query: 30016 to this plug-in, every other field 0.
  std::vector<emu::HostCall> queries;
  for (const auto& call : host.calls()) {
    if (call.op == emu::HostCall::Op::SendToPlugin) queries.push_back(call);
  }
  ASSERT_EQ(queries.size(), 1u);
  EXPECT_EQ(queries[0].messageId, 30016u);
  ASSERT_FALSE(queries[0].args.empty());
  EXPECT_EQ(queries[0].args[0], 31);
  EXPECT_EQ(queries[0].message, test::messageBytes(30016));

  const auto values = host.callsTo(msg::kGetPluginValue);
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(test::u32At(values[0].message, 22), 31u);
  const auto texts = host.callsTo(msg::kValueToText);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(test::u32At(texts[0].message, 22), static_cast<std::uint32_t>(values[0].result));
  EXPECT_NE(test::u32At(texts[0].message, 26), 0u);

  const auto inserts = host.callsTo(msg::kInsertAction);
  ASSERT_EQ(inserts.size(), 2u);  // not grouped: the image and the description
  EXPECT_EQ(inserts[0].text, kMark + "tipRich=<b>Brisko abc</b><br/>" + kMark + "tipWidth=300");
  EXPECT_EQ(inserts[1].text, "d");
}

TEST(ConfigPage, InfoBoxHostCallsComeInTheirOrder) {
  InProcessHost host;
  host.setPluginId(31);
  host.setPluginValueText("abc");
  ASSERT_TRUE(host.startUp());
  for (int state : {0, 1}) {
    SCOPED_TRACE("host state " + std::to_string(state));
    host.setHostState(state);
    host.clearCalls();
    insertInfoBox(kPage, "d", "E", "", 0, nullptr, true);
    using Op = emu::HostCall::Op;
    std::vector<std::pair<Op, std::uint32_t>> seen;
    std::vector<std::uint32_t> insertedStatuses;
    for (const auto& call : host.calls()) {
      seen.emplace_back(call.op, call.messageId);
      if (call.messageId == msg::kInsertAction) {
        insertedStatuses.push_back(test::u32At(call.record, 34));
      }
    }
    // The group start comes first; the name is asked for, then the value and
    // its text, then the host's state; the image, the description and the
    // group end follow.
    const std::vector<std::pair<Op, std::uint32_t>> expected = {
        {Op::SendToHost, msg::kInsertAction},
        {Op::GetPluginId, 0u},
        {Op::SendToPlugin, 30016u},
        {Op::GetPluginId, 0u},
        {Op::SendToHost, msg::kGetPluginValue},
        {Op::SendToHost, msg::kValueToText},
        {Op::GetHostState, 0u},
        {Op::SendToHost, msg::kInsertAction},
        {Op::SendToHost, msg::kInsertAction},
        {Op::SendToHost, msg::kInsertAction}};
    ASSERT_EQ(seen.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
      SCOPED_TRACE("call " + std::to_string(i));
      EXPECT_EQ(seen[i].first, expected[i].first);
      EXPECT_EQ(seen[i].second, expected[i].second);
    }
    EXPECT_EQ(insertedStatuses,
              (std::vector<std::uint32_t>{0x000F0000, 0x001C0040, 0x00180080, 0x00100000}));
    const auto inserts = host.callsTo(msg::kInsertAction);
    ASSERT_EQ(inserts.size(), 4u);
    const std::string header = state == 1 ? "<b>Brisko</b><br/>E" : "<b>Brisko abc</b><br/>E";
    EXPECT_EQ(inserts[1].text, kMark + "imgurl=" + kMark + "iconsize=32" + kMark +
                                   "tipRich=" + header + kMark + "tipWidth=300");
  }
}

// --- the information box with a scripted host ------------------------------------

struct InfoCase {
  const char* what;
  std::optional<std::string> displayName;  // the host's answer to 30016
  std::string valueText;                   // what ValueToText writes
  int hostState;
  const char* name;
  const char* extra;
  const char* image;
  std::string expectedParams;
  bool asksHost;
};

// A host object whose answer to the display-name query is `name` (nullopt:
// a null pointer) and whose ValueToText writes `valueText` into the buffer
// as it stands, 52 bytes at most, with no terminator of its own.
class InfoBoxHost : public emu::HostEmulator {
 public:
  InfoBoxHost(std::optional<std::string> name, std::vector<char> valueText)
      : name_(std::move(name)), valueText_(std::move(valueText)) {
    hooks().sendToPlugin = [this](int, HostMessage&) -> std::optional<int> {
      return name_ ? static_cast<int>(ptrValue(name_->c_str())) : 0;
    };
    hooks().sendToHost = [this](HostMessage& m) -> std::optional<int> {
      if (m.id != msg::kValueToText) return std::nullopt;
      std::copy_n(valueText_.begin(), std::min<std::size_t>(valueText_.size(), 52),
                  valuePtr<char>(m.p2));
      return 1;
    };
  }

 private:
  std::optional<std::string> name_;
  std::vector<char> valueText_;
};

// The text pointer of a recorded insertion (0: a null pointer).
std::uint32_t textPointer(const emu::HostCall& insertion) {
  return test::recordOf<ActionInfo>(insertion.record).text;
}

TEST(InfoBox, HeaderAndParametersFollowTheArguments) {
  const std::string tip = kMark + "tipRich=";
  const std::string width = kMark + "tipWidth=300";
  const InfoCase cases[] = {
      {"name from the host, state 0", std::string("Nazwa"), "1.0", 0, nullptr, "E", nullptr,
       tip + "<b>Nazwa 1.0</b><br/>E" + width, true},
      {"name from the host, state 1", std::string("Nazwa"), "1.0", 1, nullptr, "E", nullptr,
       tip + "<b>Nazwa</b><br/>E" + width, true},
      {"null name, state 1: empty header", std::nullopt, "1.0", 1, nullptr, "E", nullptr,
       tip + "E" + width, true},
      {"null name, state 0, empty value text", std::nullopt, "", 0, nullptr, "E", nullptr,
       tip + "<b> </b><br/>E" + width, true},
      {"state 2 counts as not 1", std::string("N"), "v", 2, nullptr, nullptr, nullptr,
       tip + "<b>N v</b><br/>" + width, true},
      {"given name", std::nullopt, "", 0, "Ja", "E", nullptr, tip + "<b>Ja</b><br/>E" + width,
       false},
      {"given empty name", std::nullopt, "", 0, "", "E", nullptr, tip + "E" + width, false},
      {"no extra text", std::nullopt, "", 0, "Ja", nullptr, nullptr, tip + "<b>Ja</b><br/>" + width,
       false},
      {"image address", std::nullopt, "", 0, "Ja", nullptr, "http://img/i.png",
       kMark + "imgurl=http://img/i.png" + kMark + "iconsize=32" + tip + "<b>Ja</b><br/>" + width,
       false},
      {"Polish name", std::nullopt, "", 0, "\xA3\xF3\x64\x9F", nullptr, "",
       kMark + "imgurl=" + kMark + "iconsize=32" + tip + "<b>\xA3\xF3\x64\x9F</b><br/>" + width,
       false},
  };
  for (const InfoCase& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<char> valueText(c.valueText.begin(), c.valueText.end());
    valueText.push_back('\0');
    InfoBoxHost scripted(c.displayName, valueText);
    scripted.setHostState(c.hostState);
    test::CurrentHostScope scope(&scripted);
    insertInfoBox(kPage, "opis", c.extra, c.image, 0, c.name, false);
    const auto inserts = scripted.callsTo(msg::kInsertAction);
    ASSERT_EQ(inserts.size(), 2u);
    ASSERT_NE(textPointer(inserts[0]), 0u);
    EXPECT_EQ(inserts[0].text, c.expectedParams);
    const auto queries = scripted.callsOf(emu::HostCall::Op::SendToPlugin);
    EXPECT_EQ(queries.size(), c.asksHost ? 1u : 0u);
    const auto values = scripted.callsTo(msg::kGetPluginValue);
    EXPECT_EQ(values.size(), c.asksHost ? 1u : 0u);
    EXPECT_EQ(scripted.callsOf(emu::HostCall::Op::GetHostState).size(), c.asksHost ? 1u : 0u);
    if (c.asksHost) {
      EXPECT_EQ(queries[0].args, std::vector<std::int32_t>{scripted.pluginId()});
      EXPECT_EQ(queries[0].message, test::messageBytes(30016));
      const auto texts = scripted.callsTo(msg::kValueToText);
      ASSERT_EQ(texts.size(), 1u);
      ASSERT_EQ(values.size(), 1u);
      EXPECT_EQ(test::u32At(texts[0].message, 22), static_cast<std::uint32_t>(values[0].result));
    }
  }
}

TEST(InfoBox, AValueBufferFilledToItsLastByteIsReadAs51Bytes) {
  InfoBoxHost scripted(std::string("N"), std::vector<char>(52, 'v'));  // no terminator anywhere
  test::CurrentHostScope scope(&scripted);
  insertInfoBox(kPage, "opis", nullptr, nullptr, 0, nullptr, false);
  const auto inserts = scripted.callsTo(msg::kInsertAction);
  ASSERT_EQ(inserts.size(), 2u);
  EXPECT_EQ(inserts[0].text,
            kMark + "tipRich=<b>N " + std::string(51, 'v') + "</b><br/>" + kMark + "tipWidth=300");
}

TEST(InfoBox, GroupedBoxAndTheDescriptionRecord) {
  emu::HostEmulator scripted;
  test::CurrentHostScope scope(&scripted);
  insertInfoBox(5555, "opis", nullptr, nullptr, 25, "Ja", true);
  const auto inserts = scripted.callsTo(msg::kInsertAction);
  ASSERT_EQ(inserts.size(), 4u);
  const std::uint32_t statuses[] = {0x000F0000, 0x001C0040, 0x00180080, 0x00100000};
  const std::uint16_t sizes[] = {74, 74, 78, 74};
  const std::uint16_t widths[] = {0, 40, 300, 0};
  const std::uint16_t heights[] = {0, 40, 25, 0};
  for (std::size_t i = 0; i < 4; ++i) {
    SCOPED_TRACE("insertion " + std::to_string(i));
    const ActionInfo info = test::recordOf<ActionInfo>(inserts[i].record);
    EXPECT_EQ(info.size, sizes[i]);
    EXPECT_EQ(std::uint32_t{info.parent}, 5555u);
    EXPECT_EQ(std::uint32_t{info.id}, 0u);
    EXPECT_EQ(std::uint32_t{info.param}, 0u);
    EXPECT_EQ(std::uint32_t{info.status}, statuses[i]);
    EXPECT_EQ(info.width, widths[i]);
    EXPECT_EQ(info.height, heights[i]);
  }
  ASSERT_NE(textPointer(inserts[0]), 0u);
  EXPECT_EQ(inserts[0].text, "");  // an empty caption
  ASSERT_NE(textPointer(inserts[2]), 0u);
  EXPECT_EQ(inserts[2].text, "opis");
  EXPECT_EQ(textPointer(inserts[3]), 0u) << "no caption: a null pointer";
}

TEST(InfoBox, WithoutADescriptionNothingBreaks) {
  emu::HostEmulator scripted;
  test::CurrentHostScope scope(&scripted);
  insertInfoBox(kPage, nullptr, nullptr, nullptr, 0, nullptr, false);
  const auto inserts = scripted.callsTo(msg::kInsertAction);
  ASSERT_EQ(inserts.size(), 2u);
  EXPECT_EQ(textPointer(inserts[1]), 0u);
}

// --- control parameters -------------------------------------------------------------

TEST(ControlParams, SetControlParam) {
  const std::string K = kMark + "k=";
  const struct {
    std::string text, key, value, expected;
  } cases[] = {
      {"", kMark + "tip=", "v", kMark + "tip=v"},
      {"abc", K, "1", "abc" + K + "1"},
      {"abc" + K + "1", kMark + "m=", "2", "abc" + K + "1" + kMark + "m=2"},
      // A key already there (from the first 0x04 byte on) gets the new value.
      {"x\x04" + K + "old" + kMark + "m=2", K, "new", "x\x04" + K + "new" + kMark + "m=2"},
      {"a" + K + "old", K, "v", "a" + K + "v"},
      {K + "old\x03tail", K, "v", K + "v\x03tail"},
      {K + "\xB9\xEA", K, "z", K + "z"},
      // Before the first 0x04 byte the key is not looked for.
      {K + "old\x04rest", K, "v", K + "old\x04rest" + K + "v"},
      {"", K, "", K},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(setControlParam(c.text, c.key, c.value), c.expected);
  }
}

TEST(ControlParams, HasControlParam) {
  const std::string key = kMark + "iconsize=";
  EXPECT_TRUE(hasControlParam("a" + key + "32", key));
  EXPECT_TRUE(hasControlParam(key + "1\x04", key));
  EXPECT_TRUE(hasControlParam("\x04" + key, key));
  EXPECT_FALSE(hasControlParam("iconsize=32", key));
  EXPECT_FALSE(hasControlParam("", key));
  EXPECT_FALSE(hasControlParam(kMark + "iconsiz", key));
}

// --- live behaviour of the controls ---------------------------------------------------

std::vector<std::uint8_t> statusBytes(std::uint32_t id, std::uint32_t parent, std::int32_t cnt,
                                      std::uint32_t status) {
  return test::ActionInfoBytes{74, id, parent, cnt, 0, 1, status, 2}.bytes();
}

std::vector<std::uint8_t> readBytes(std::uint32_t id, std::uint32_t parent, std::int32_t cnt) {
  return test::ActionInfoBytes{74, id, parent, cnt, 0, 65600}.bytes();
}

// The expected value write: bytes with the text pointer masked, and the text.
void expectValueWrite(const emu::HostCall& call, std::uint32_t column, const std::string& text) {
  EXPECT_EQ(test::maskPointer(call.record, 50), readBytes(kCB | column, kPage, -2));
  EXPECT_NE(test::u32At(call.record, 50), 0u);
  EXPECT_EQ(call.text, text);
}

// The four status changes of the method choice.
// The host keeps each control's status on its own: the four changes are
// checked in the order of their ids, whatever order they were sent in.
void expectMethodControls(std::vector<emu::HostCall> changes, bool regex) {
  ASSERT_EQ(changes.size(), 4u);
  std::sort(changes.begin(), changes.end(), [](const emu::HostCall& a, const emu::HostCall& b) {
    return test::u32At(a.record, 2) < test::u32At(b.record, 2);
  });
  const std::uint32_t set = kAll;
  const std::uint32_t clear = 0;
  EXPECT_EQ(changes[0].record, statusBytes(kCB | 109119, kPage, -2, regex ? set : clear));
  EXPECT_EQ(changes[1].record, statusBytes(kCB | 109120, kPage, -2, regex ? set : clear));
  EXPECT_EQ(changes[2].record, statusBytes(kCB | 109122, kPage, -2, regex ? clear : set));
  EXPECT_EQ(changes[3].record, statusBytes(kCB | 109123, kPage, -2, regex ? clear : set));
}

class PageControls : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(host.startUp()); }
  int notifyControl(std::uint32_t number, std::uint32_t code, std::int32_t cnt = -2) {
    host.clearCalls();
    return host.notify(kCB | number, kPage, cnt, code);
  }
  bool disabled(std::uint32_t column) {
    const emu::HostAction* control = host.control(column);
    return control != nullptr && control->disabled();
  }
  // The controls of the method not chosen are disabled.
  void expectEnabledFor(bool regex) {
    EXPECT_EQ(disabled(109119), regex);
    EXPECT_EQ(disabled(109120), regex);
    EXPECT_EQ(disabled(109122), !regex);
    EXPECT_EQ(disabled(109123), !regex);
  }
  // The submenu box was read once and the name box given `status`.
  void expectNameBox(std::uint32_t status) {
    const auto reads = host.callsTo(msg::kGetActionValue);
    ASSERT_EQ(reads.size(), 1u);
    EXPECT_EQ(reads[0].record, readBytes(kCB | 109112, kPage, -2));
    const auto changes = host.callsTo(msg::kSetAction);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].record, statusBytes(kCB | 109113, kPage, -2, status));
    EXPECT_EQ(disabled(109113), status != 0);
  }
  // One value was written, `text` into `column`, and the control shows it.
  void expectOneWrite(std::uint32_t column, const std::string& text) {
    const auto writes = host.callsTo(msg::kSetActionValue);
    ASSERT_EQ(writes.size(), 1u);
    expectValueWrite(writes[0], column, text);
    EXPECT_EQ(host.controlValue(column), text);
  }
  InProcessHost host;
};

TEST_F(PageControls, SubmenuBoxActivationSetsTheNameBox) {
  const struct {
    const char* value;
    std::uint32_t status;
  } cases[] = {{"0", 0}, {"1", kAll}, {"", kAll}, {"01", 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    host.setControlValue(109112, c.value);
    EXPECT_EQ(notifyControl(109112, 1), 0);
    expectNameBox(c.status);
  }
}

TEST_F(PageControls, SubmenuBoxReadsItsOwnInstance) {
  host.setControlValue(109112, "0");
  EXPECT_EQ(notifyControl(109112, 1, 9), 0);
  const auto reads = host.callsTo(msg::kGetActionValue);
  ASSERT_EQ(reads.size(), 1u);
  EXPECT_EQ(reads[0].record, readBytes(kCB | 109112, kPage, 9));
}

TEST_F(PageControls, NameBoxRefreshFollowsTheSubmenuBox) {
  const struct {
    const char* submenu;
    std::uint32_t status;
  } cases[] = {{"1", kAll}, {"0", 0}, {"", kAll}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.submenu);
    host.setControlValue(109112, c.submenu);
    EXPECT_EQ(notifyControl(109113, 12), 0);
    expectNameBox(c.status);
  }
}

TEST_F(PageControls, FirstDefaultButtonPutsTheBuiltInExtraCharacters) {
  host.setControlValue(109119, "xyz");
  EXPECT_EQ(notifyControl(109120, 1), 0);
  expectOneWrite(109119, ",.%&=@-");
}

TEST_F(PageControls, SecondDefaultButtonPreparesTheMethodControls) {
  for (bool regex : {true, false}) {
    SCOPED_TRACE(regex ? "regex" : "author");
    host.state().settings.useRegex = regex;
    EXPECT_EQ(notifyControl(109123, 10), 0);
    expectMethodControls(host.callsTo(msg::kSetAction), regex);
    EXPECT_TRUE(host.callsTo(msg::kGetActionValue).empty());
    expectEnabledFor(regex);
  }
}

TEST_F(PageControls, SecondDefaultButtonPutsTheDefaultExpression) {
  host.setControlValue(109122, "abc");
  EXPECT_EQ(notifyControl(109123, 1), 0);
  expectOneWrite(109122, kExpression);
  EXPECT_TRUE(host.callsTo(msg::kSetAction).empty());
}

TEST_F(PageControls, RegexRadioResetsTheOtherAndEnablesTheExpression) {
  host.setControlValue(109129, "0");
  EXPECT_EQ(notifyControl(109128, 1), 0);
  expectOneWrite(109129, "-1");
  expectMethodControls(host.callsTo(msg::kSetAction), true);
  // The value write comes before the status changes.
  ASSERT_GE(host.calls().size(), 5u);
  std::size_t firstWrite = host.calls().size(), firstStatus = host.calls().size();
  for (std::size_t i = 0; i < host.calls().size(); ++i) {
    const auto& call = host.calls()[i];
    if (call.messageId == msg::kSetActionValue && firstWrite == host.calls().size()) firstWrite = i;
    if (call.messageId == msg::kSetAction && firstStatus == host.calls().size()) firstStatus = i;
  }
  EXPECT_LT(firstWrite, firstStatus);
}

TEST_F(PageControls, AuthorRadioResetsTheOtherAndEnablesTheExtraCharacters) {
  host.setControlValue(109128, "0");
  EXPECT_EQ(notifyControl(109129, 1), 0);
  expectOneWrite(109128, "-1");
  expectMethodControls(host.callsTo(msg::kSetAction), false);
}

TEST_F(PageControls, ClickingTheRadiosAsAUserWould) {
  host.clickControl(109128);
  EXPECT_EQ(host.controlValue(109128), "0");
  EXPECT_EQ(host.controlValue(109129), "-1");
  expectEnabledFor(true);
  host.clickControl(109129);
  EXPECT_EQ(host.controlValue(109129), "0");
  EXPECT_EQ(host.controlValue(109128), "-1");
  expectEnabledFor(false);
}

TEST_F(PageControls, OtherControlsAndCodesAreIgnored) {
  const struct {
    std::uint32_t number;
    std::uint32_t code;
  } cases[] = {{109114, 1},  {109114, 10}, {109114, 12}, {109112, 10}, {109112, 12},
               {109113, 1},  {109113, 10}, {109120, 10}, {109120, 12}, {109123, 12},
               {109128, 10}, {109128, 12}, {109129, 10}, {109110, 1},  {109119, 1},
               {109122, 1},  {109999, 1},  {0, 1},       {109112, 14}, {109123, 14}};
  for (const auto& c : cases) {
    SCOPED_TRACE("control " + std::to_string(c.number) + " code " + std::to_string(c.code));
    EXPECT_EQ(notifyControl(c.number, c.code), 0);
    EXPECT_TRUE(host.callsTo(msg::kGetActionValue).empty());
    EXPECT_TRUE(host.callsTo(msg::kSetAction).empty());
    EXPECT_TRUE(host.callsTo(msg::kSetActionValue).empty());
  }
}

TEST_F(PageControls, AnIdWithoutTheControlTopByteIsNotAControl) {
  ActionNotify notify{};
  notify.size = kActionNotifySize;
  notify.id = 109128;  // the column id alone
  notify.parent = kPage;
  notify.cnt = -2;
  notify.code = 1;
  host.clearCalls();
  handleConfigControl(notify, host.state().settings);
  EXPECT_TRUE(host.calls().empty());
}

TEST(SetMethodControls, FourChanges) {
  for (bool regex : {true, false}) {
    SCOPED_TRACE(regex ? "regex" : "author");
    InProcessHost host;
    ASSERT_TRUE(host.startUp());
    host.clearCalls();
    setMethodControls(regex);
    EXPECT_EQ(host.calls().size(), 4u);
    expectMethodControls(host.callsTo(msg::kSetAction), regex);
  }
}

}  // namespace
}  // namespace brisko
