// Every text and key of the plug-in that the host or the user sees.
//
// Encoding of this file: UTF-8, but every string literal is pure ASCII: each
// byte at or above 0x80 (and each control byte) is written as a \x escape of
// its Windows-1250 code, so the compiled bytes are Windows-1250 whatever the
// compiler's execution character set. A text with such an escape has a
// comment beside it that shows it in Unicode (<ParamMark> is the byte 0x1A,
// <LF> a line feed); a text of plain ASCII reads as it stands.
//
// When a text changes, keep its comment and its bytes in step;
// tests/texts_test.cpp checks each text against its Unicode form.
#pragma once

#include <cstddef>

namespace brisko::texts {

// --- Identification ---
inline constexpr char kPluginName[] = "Brisko";

// --- Contact menu and chat window ---
inline constexpr char kLinksMenuText[] = "Linki";
inline constexpr char kLinkText[] = "Link";
inline constexpr char kLinkItem01Text[] = "Link_01";
inline constexpr char kLinkItem02Text[] = "Link_02";
inline constexpr char kLinkItem03Text[] = "Link_03";
inline constexpr char kLinkItem04Text[] = "Link_04";
inline constexpr char kLinkItem05Text[] = "Link_05";
inline constexpr char kLinkItem06Text[] = "Link_06";
inline constexpr char kLinkItem07Text[] = "Link_07";
inline constexpr char kLinkItem08Text[] = "Link_08";
inline constexpr char kLinkItem09Text[] = "Link_09";
inline constexpr char kLinkItem10Text[] = "Link_10";
inline constexpr char kEllipsis[] = "\x85";  // …

// --- Link finding defaults ---
inline constexpr char kDefaultExtraChars[] = ",.%&=@-";
inline constexpr char kRegisteredExtraChars[] = "-@$?&%=";
inline constexpr char kDefaultRegex[] =
    "\\b(\\w+://[^\\s<]+|([^\\s>]+@)?([\\w\\-]+\\.)+(com|org|gov|edu|biz|info|pro|net"
    "|[a-zA-Z]{2})(:\\d+)?(/[^\\s<]+)?)\\b";

// --- Method radio values ---
inline constexpr char kRadioChosen[] = "0";
inline constexpr char kRadioNotChosen[] = "-1";

// --- Configuration keys ---
inline constexpr char kKeyShowInContactMenu[] = "Brisko/cfg_wyswietlaj_w_menu";
inline constexpr char kKeyShowInChatWindow[] = "Brisko/cfg_wyswietlaj_w_rozmowie";
inline constexpr char kKeySubmenuForSingleLink[] = "Brisko/cfg_tworz_podmenu";
inline constexpr char kKeyShowSingleLinkName[] = "Brisko/cfg_wyswietlaj_nazwe";
inline constexpr char kKeyAnalysedLength[] = "Brisko/cfg_dl_analizowanego";
inline constexpr char kKeyLinkCount[] = "Brisko/cfg_liczba_linkow";
inline constexpr char kKeyDisplayLength[] = "Brisko/cfg_dl_linku";
inline constexpr char kKeyCutHttp[] = "Brisko/cfg_ucinaj_http";
inline constexpr char kKeyCutWww[] = "Brisko/cfg_ucinaj_www";
inline constexpr char kKeyAuthorMethod[] = "Brisko/cfg_metodaSzukania_autor";
inline constexpr char kKeyRegexMethod[] = "Brisko/cfg_metodaSzukania_regex";
inline constexpr char kKeyRegexSource[] = "Brisko/cfg_skladnia_regex";
inline constexpr char kKeyExtraChars[] = "Brisko/cfg_skladnia_http";

// --- Numbers written back by the page's number rule ---
inline constexpr char kNumber0[] = "0";
inline constexpr char kNumber1[] = "1";
inline constexpr char kNumber10[] = "10";
inline constexpr char kNumber999[] = "999";
inline constexpr char kNumber9999[] = "9999";

// --- Configuration page ---
inline constexpr char kPageMenuGroup[] = "Wswietlanie menu";
inline constexpr char kPageShowInContactMenu[] = "Wstawietlaj w menu kontaktu";
inline constexpr char kPageShowInChatWindow[] = "Wstawietlaj w oknie rozmowy";
// Twórz podmenu dla jednego linku
inline constexpr char kPageSubmenuForSingleLink[] =
    "Tw\xF3"
    "rz podmenu dla jednego linku";
// Wyświetlaj nazwe dla tego linku
inline constexpr char kPageShowSingleLinkName[] =
    "Wy\x9C"
    "wietlaj nazwe dla tego linku";
// Konfiguracja wyświetlania
inline constexpr char kPageDisplayGroup[] =
    "Konfiguracja wy\x9C"
    "wietlania";
// Długość analizowanego statusu
inline constexpr char kPageAnalysedLengthLabel[] =
    "D\xB3"
    "ugo\x9C\xE6"
    " analizowanego statusu";
// <ParamMark>tip=0 - będzie analizowany cały status<LF>maks. 9999
inline constexpr char kPageAnalysedLengthField[] =
    "\x1A"
    "tip=0 - b\xEA"
    "dzie analizowany ca\xB3"
    "y status\nmaks. 9999";
// Liczba wyświetlanych linków
inline constexpr char kPageLinkCountLabel[] =
    "Liczba wy\x9C"
    "wietlanych link\xF3"
    "w";
inline constexpr char kPageLinkCountField[] =
    "\x1A"
    "tip=maks. 10";  // <ParamMark>tip=maks. 10
// Długość wyświetlanego linku
inline constexpr char kPageDisplayLengthLabel[] =
    "D\xB3"
    "ugo\x9C\xE6"
    " wy\x9C"
    "wietlanego linku";
// <ParamMark>tip=maks. 999
inline constexpr char kPageDisplayLengthField[] =
    "\x1A"
    "tip=maks. 999";
inline constexpr char kPageCutGroup[] = "Ucinaj";
inline constexpr char kPageCutHttp[] = "\"http://\"";
inline constexpr char kPageCutWww[] = "\"www.\"";
// Linki wyszukuj metodą   (two trailing blanks)
inline constexpr char kPageMethodGroup[] =
    "Linki wyszukuj metod\xB9"
    "  ";
inline constexpr char kPageAuthorMethod[] = "autorsk\xB9";  // autorską
inline constexpr char kPageRegexMethod[] =
    "wyra\xBF"
    "eniem regularnym";  // wyrażeniem regularnym
inline constexpr char kPageSyntaxGroup[] =
    "Sk\xB3"
    "adnia linku";  // Składnia linku
// Link może zawierać znaki: a-z 0-9 . _ / \ (ends with one backslash)
inline constexpr char kPageLinkCharsLabel[] =
    "Link mo\xBF"
    "e zawiera\xE6"
    " znaki: a-z 0-9 . _ / \\";
inline constexpr char kPageExtraCharsLabel[] = "Dodatkowo twoje znaki to:";
inline constexpr char kPageDefaultButton[] =
    "Domy\x9C"
    "lne";  // Domyślne
inline constexpr char kPageRegexLabel[] =
    "Wyra\xBF"
    "enie regularne:";  // Wyrażenie regularne:
inline constexpr char kPageCopyGroup[] = "Kopiowanie linku";
// Aby skopiować wybrany link (zamiast go otwierać), przed kliknięciem myszą na niego należy
// przytrzymać klawisz "Shift".
inline constexpr char kPageCopyHint[] =
    "Aby skopiowa\xE6"
    " wybrany link (zamiast go otwiera\xE6"
    "), przed klikni\xEA"
    "ciem mysz\xB9"
    " na niego nale\xBF"
    "y przytrzyma\xE6"
    " klawisz \"Shift\".";
// <b>Brisko</b>. Wtyczka umożliwia szybki dostęp do linków umieszczonych w statusach kontaktów.
// Dzięki temu mamy możliwość łatwego otwierania owych stron.
inline constexpr char kInfoDescription[] =
    "<b>Brisko</b>. Wtyczka umo\xBF"
    "liwia szybki dost\xEA"
    "p do link\xF3"
    "w umieszczonych w statusach kontakt\xF3"
    "w. Dzi\xEA"
    "ki temu mamy mo\xBF"
    "liwo\x9C\xE6"
    " \xB3"
    "atwego otwierania owych stron.";
// <br/>Autor: zespół Brisko<br/>Url: <br/>Data wydania: Dec 19 2005
inline constexpr char kInfoExtra[] =
    "<br/>Autor: zesp\xF3\xB3"
    " Brisko<br/>Url: <br/>Data wydania: Dec 19 2005";

// --- Information box ---
inline constexpr char kParamImageUrl[] =
    "\x1A"
    "imgurl=";  // <ParamMark>imgurl=
inline constexpr char kParamIconSize[] =
    "\x1A"
    "iconsize=";  // <ParamMark>iconsize=
inline constexpr char kParamTipRich[] =
    "\x1A"
    "tipRich=";  // <ParamMark>tipRich=
inline constexpr char kParamTipWidth[] =
    "\x1A"
    "tipWidth=";  // <ParamMark>tipWidth=
inline constexpr char kInfoIconSize[] = "32";
inline constexpr char kInfoTipWidth[] = "300";
inline constexpr char kBoldOpen[] = "<b>";
inline constexpr char kBoldCloseBreak[] = "</b><br/>";
inline constexpr char kBlank[] = " ";  //  (one blank)

// The ten item slots' placeholder texts, slot j = index j.
inline constexpr const char* kLinkItemTexts[10] = {
    kLinkItem01Text, kLinkItem02Text, kLinkItem03Text, kLinkItem04Text, kLinkItem05Text,
    kLinkItem06Text, kLinkItem07Text, kLinkItem08Text, kLinkItem09Text, kLinkItem10Text};

// The byte that starts a named parameter in a control's text.
inline constexpr char kParamMark = '\x1A';

static_assert(sizeof(kDefaultRegex) - 1 == 107, "the default expression has 107 characters");
static_assert(sizeof(kDefaultExtraChars) - 1 == 7);
static_assert(sizeof(kRegisteredExtraChars) - 1 == 7);

}  // namespace brisko::texts
