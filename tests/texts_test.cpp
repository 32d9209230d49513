// The plug-in's texts in Windows-1250: every constant against its Unicode
// form, and every text the host receives from the plug-in, byte by byte.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/ids.h"
#include "plugin/plugin_state.h"
#include "plugin/version.h"
#include "settings/link_settings.h"
#include "settings/texts.h"
#include "tests/support/cp1250.h"
#include "tests/support/in_process.h"
#include "tests/support/record_bytes.h"

namespace brisko {
namespace {

using test::cp1250;
using test::InProcessHost;

const std::string kMark = "\x1A";

TEST(Cp1250Helper, KnowsThePolishLetters) {
  EXPECT_EQ(cp1250(u8"ąćęłńóśźż"), "\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF");
  EXPECT_EQ(cp1250(u8"ĄĆĘŁŃÓŚŹŻ"), "\xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF");
  EXPECT_EQ(cp1250(u8"a…"), "a\x85");
  EXPECT_THROW(cp1250(u8"€"), std::invalid_argument);
}

TEST(Texts, EveryConstantIsItsUnicodeTextInWindows1250) {
  const struct {
    const char* constant;
    const char* utf8;
  } cases[] = {
      {texts::kPluginName, u8"Brisko"},
      {texts::kLinksMenuText, u8"Linki"},
      {texts::kLinkText, u8"Link"},
      {kMalformedLinkText, u8"blad!"},
      {texts::kEllipsis, u8"…"},
      {texts::kDefaultExtraChars, u8",.%&=@-"},
      {texts::kRegisteredExtraChars, u8"-@$?&%="},
      {texts::kRadioChosen, u8"0"},
      {texts::kRadioNotChosen, u8"-1"},
      {texts::kNumber0, u8"0"},
      {texts::kNumber1, u8"1"},
      {texts::kNumber10, u8"10"},
      {texts::kNumber999, u8"999"},
      {texts::kNumber9999, u8"9999"},
      {texts::kPageMenuGroup, u8"Wswietlanie menu"},
      {texts::kPageShowInContactMenu, u8"Wstawietlaj w menu kontaktu"},
      {texts::kPageShowInChatWindow, u8"Wstawietlaj w oknie rozmowy"},
      {texts::kPageSubmenuForSingleLink, u8"Twórz podmenu dla jednego linku"},
      {texts::kPageShowSingleLinkName, u8"Wyświetlaj nazwe dla tego linku"},
      {texts::kPageDisplayGroup, u8"Konfiguracja wyświetlania"},
      {texts::kPageAnalysedLengthLabel, u8"Długość analizowanego statusu"},
      {texts::kPageAnalysedLengthField, u8"\x1Atip=0 - będzie analizowany cały status\nmaks. 9999"},
      {texts::kPageLinkCountLabel, u8"Liczba wyświetlanych linków"},
      {texts::kPageLinkCountField, u8"\x1Atip=maks. 10"},
      {texts::kPageDisplayLengthLabel, u8"Długość wyświetlanego linku"},
      {texts::kPageDisplayLengthField, u8"\x1Atip=maks. 999"},
      {texts::kPageCutGroup, u8"Ucinaj"},
      {texts::kPageCutHttp, u8"\"http://\""},
      {texts::kPageCutWww, u8"\"www.\""},
      {texts::kPageMethodGroup, u8"Linki wyszukuj metodą  "},
      {texts::kPageAuthorMethod, u8"autorską"},
      {texts::kPageRegexMethod, u8"wyrażeniem regularnym"},
      {texts::kPageSyntaxGroup, u8"Składnia linku"},
      {texts::kPageLinkCharsLabel, u8"Link może zawierać znaki: a-z 0-9 . _ / \\"},
      {texts::kPageExtraCharsLabel, u8"Dodatkowo twoje znaki to:"},
      {texts::kPageDefaultButton, u8"Domyślne"},
      {texts::kPageRegexLabel, u8"Wyrażenie regularne:"},
      {texts::kPageCopyGroup, u8"Kopiowanie linku"},
      {texts::kPageCopyHint,
       u8"Aby skopiować wybrany link (zamiast go otwierać), przed kliknięciem myszą na niego "
       u8"należy przytrzymać klawisz \"Shift\"."},
      {texts::kInfoDescription,
       u8"<b>Brisko</b>. Wtyczka umożliwia szybki dostęp do linków umieszczonych w statusach "
       u8"kontaktów. Dzięki temu mamy możliwość łatwego otwierania owych stron."},
      {texts::kInfoExtra, u8"<br/>Autor: zespół Brisko<br/>Url: <br/>Data wydania: Dec 19 2005"},
      {texts::kParamImageUrl, u8"\x1Aimgurl="},
      {texts::kParamIconSize, u8"\x1Aiconsize="},
      {texts::kParamTipRich, u8"\x1AtipRich="},
      {texts::kParamTipWidth, u8"\x1AtipWidth="},
      {texts::kKeyShowInContactMenu, u8"Brisko/cfg_wyswietlaj_w_menu"},
      {texts::kKeyShowInChatWindow, u8"Brisko/cfg_wyswietlaj_w_rozmowie"},
      {texts::kKeySubmenuForSingleLink, u8"Brisko/cfg_tworz_podmenu"},
      {texts::kKeyShowSingleLinkName, u8"Brisko/cfg_wyswietlaj_nazwe"},
      {texts::kKeyAnalysedLength, u8"Brisko/cfg_dl_analizowanego"},
      {texts::kKeyLinkCount, u8"Brisko/cfg_liczba_linkow"},
      {texts::kKeyDisplayLength, u8"Brisko/cfg_dl_linku"},
      {texts::kKeyCutHttp, u8"Brisko/cfg_ucinaj_http"},
      {texts::kKeyCutWww, u8"Brisko/cfg_ucinaj_www"},
      {texts::kKeyAuthorMethod, u8"Brisko/cfg_metodaSzukania_autor"},
      {texts::kKeyRegexMethod, u8"Brisko/cfg_metodaSzukania_regex"},
      {texts::kKeyRegexSource, u8"Brisko/cfg_skladnia_regex"},
      {texts::kKeyExtraChars, u8"Brisko/cfg_skladnia_http"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.utf8);
    EXPECT_EQ(std::string(c.constant), cp1250(c.utf8));
  }
  for (int j = 0; j < 10; ++j) {
    const std::string expected = (j < 9 ? "Link_0" : "Link_") + std::to_string(j + 1);
    EXPECT_EQ(std::string(texts::kLinkItemTexts[j]), expected);
  }
  EXPECT_EQ(std::string(texts::kDefaultRegex).size(), 107u);
  EXPECT_EQ(texts::kParamMark, '\x1A');
}

// Every text the host receives while the plug-in starts: action and page
// insertions (those with a text), then each registration's key and default.
TEST(Texts, EveryTextTheHostReceivesAtStartUpIsWindows1250) {
  InProcessHost host;
  host.setPluginValueText(BRISKO_VERSION_TEXT);
  host.setHostState(0);
  ASSERT_TRUE(host.startUp());

  std::vector<std::string> received;
  for (const auto& call : host.calls()) {
    if (call.messageId == msg::kRegisterConfigColumn) {
      received.push_back(call.text);
      if (!call.defaultText.empty()) received.push_back(call.defaultText);
    } else if (call.messageId == msg::kInsertAction && call.record.size() >= 54 &&
               test::u32At(call.record, 50) != 0) {
      received.push_back(call.text);
    }
  }

  const char* regex =
      R"(\b(\w+://[^\s<]+|([^\s>]+@)?([\w\-]+\.)+(com|org|gov|edu|biz|info|pro|net|[a-zA-Z]{2})(:\d+)?(/[^\s<]+)?)\b)";
  std::vector<std::string> expected;
  for (const std::string& utf8 : std::vector<std::string>{
           u8"Brisko/cfg_wyswietlaj_w_menu",
           u8"Brisko/cfg_wyswietlaj_w_rozmowie",
           u8"Brisko/cfg_tworz_podmenu",
           u8"Brisko/cfg_wyswietlaj_nazwe",
           u8"Brisko/cfg_dl_analizowanego",
           u8"Brisko/cfg_liczba_linkow",
           u8"Brisko/cfg_dl_linku",
           u8"Brisko/cfg_ucinaj_http",
           u8"Brisko/cfg_ucinaj_www",
           u8"Brisko/cfg_metodaSzukania_autor",
           u8"0",
           u8"Brisko/cfg_metodaSzukania_regex",
           u8"-1",
           u8"Brisko/cfg_skladnia_regex",
           regex,
           u8"Brisko/cfg_skladnia_http",
           u8"-@$?&%=",
           u8"Linki",
           u8"Link_01",
           u8"Link_02",
           u8"Link_03",
           u8"Link_04",
           u8"Link_05",
           u8"Link_06",
           u8"Link_07",
           u8"Link_08",
           u8"Link_09",
           u8"Link_10",
           u8"Link",
           u8"Link",
           u8"Brisko",
           u8"Wswietlanie menu",
           u8"Wstawietlaj w menu kontaktu",
           u8"Wstawietlaj w oknie rozmowy",
           u8"Twórz podmenu dla jednego linku",
           u8"",
           u8"Wyświetlaj nazwe dla tego linku",
           u8"Konfiguracja wyświetlania",
           u8"Długość analizowanego statusu",
           u8"\x1Atip=0 - będzie analizowany cały status\nmaks. 9999",
           u8"Liczba wyświetlanych linków",
           u8"\x1Atip=maks. 10",
           u8"Długość wyświetlanego linku",
           u8"\x1Atip=maks. 999",
           u8"Ucinaj",
           u8"\"http://\"",
           u8"\"www.\"",
           u8"Linki wyszukuj metodą  ",
           u8"autorską",
           u8"wyrażeniem regularnym",
           u8"Składnia linku",
           u8"Link może zawierać znaki: a-z 0-9 . _ / \\",
           u8"Dodatkowo twoje znaki to:",
           u8"Domyślne",
           u8"Wyrażenie regularne:",
           u8"Domyślne",
           u8"Kopiowanie linku",
           u8"Aby skopiować wybrany link (zamiast go otwierać), przed kliknięciem myszą na niego "
           u8"należy przytrzymać klawisz \"Shift\".",
           u8"",
           std::string(u8"\x1Aimgurl=\x1Aiconsize=32\x1AtipRich=<b>Brisko ") + BRISKO_VERSION_TEXT +
               u8"</b><br/><br/>Autor: zespół Brisko<br/>Url: <br/>Data wydania: Dec 19 2005"
               u8"\x1AtipWidth=300",
           u8"<b>Brisko</b>. Wtyczka umożliwia szybki dostęp do linków umieszczonych w statusach "
           u8"kontaktów. Dzięki temu mamy możliwość łatwego otwierania owych stron."}) {
    expected.push_back(cp1250(utf8));
  }
  ASSERT_EQ(received.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(received[i], expected[i]) << "text " << i;
  }
}

// Texts the plug-in writes into page controls while the user edits.
TEST(Texts, TextsWrittenIntoControlsAreWindows1250) {
  InProcessHost host;
  ASSERT_TRUE(host.startUp());
  host.clearCalls();
  host.notify(controlId(109120), 109101, -2, 1);  // first "Domyślne"
  host.notify(controlId(109128), 109101, -2, 1);  // regex radio
  host.notify(controlId(109129), 109101, -2, 1);  // author radio
  host.setControlValue(109114, "-1");
  host.setControlValue(109115, "55");
  host.setControlValue(109116, "0");
  applyConfigPage(host.state().settings);
  std::vector<std::string> written;
  for (const auto& call : host.callsTo(msg::kSetActionValue)) written.push_back(call.text);
  EXPECT_EQ(written, (std::vector<std::string>{cp1250(u8",.%&=@-"), cp1250(u8"-1"), cp1250(u8"-1"),
                                               cp1250(u8"0"), cp1250(u8"10"), cp1250(u8"1")}));
}

}  // namespace
}  // namespace brisko
