// Where a text the plug-in hands out may come from.
//
// The plug-in invents no link: every link it opens or copies, and every menu
// text it sets, is made from a status description the host gave it, or is
// one of its own fixed texts. TextLog keeps what the host gave during one
// fuzz input and tells whether a text could have been made from it:
//   open form (opened, copied, the chat button's text):
//     one of "", "http://", "http://www.", "https://www." followed by a
//     non-empty piece of a status;
//   menu text (item slots, the single item):
//     one of "", "http://", "www.", "http://www." followed by a non-empty
//     piece of a status, lower-cased; or such a text cut to any shorter
//     length and ended with the byte 0x85; or a fixed menu text;
//   value written back into a page control:
//     a fixed text of the page, or the first bytes of a value the host
//     answered for a control.
#pragma once

#include <algorithm>
#include <cstddef>
#include <deque>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "links/author_scanner.h"
#include "links/link_forms.h"
#include "settings/texts.h"

namespace brisko::fuzz {

class TextLog {
 public:
  void clear() {
    seenStatuses_.clear();
    statuses_.clear();
    lowered_.clear();
    controlValues_.clear();
  }

  // A status description the plug-in was given (by GetContactString, in p3
  // of 24011, or in p1 of a refresh notification).
  void addStatus(std::string_view status) {
    if (status.empty() || seenStatuses_.count(status) != 0) return;
    statuses_.emplace_back(status);
    lowered_.push_back(toLowerAscii(status));
    seenStatuses_.insert(statuses_.back());  // a deque's elements stay put
  }

  // A value the host answered for a page control (GetActionValue).
  void addControlValue(std::string_view value) {
    if (std::find(controlValues_.begin(), controlValues_.end(), value) == controlValues_.end()) {
      controlValues_.emplace_back(value);
    }
  }

  bool isOpenForm(std::string_view link) const {
    for (const std::string_view prefix : {"", "http://", "http://www.", "https://www."}) {
      if (!startsWith(link, prefix)) continue;
      const std::string_view piece = link.substr(prefix.size());
      if (!piece.empty() && occurs(statuses_, piece)) return true;
    }
    return false;
  }

  bool isMenuText(std::string_view text) const {
    for (const char* fixed : texts::kLinkItemTexts) {
      if (text == fixed) return true;
    }
    if (text == texts::kLinkText || text == kMalformedLinkText) return true;
    if (isWholeMenuText(text)) return true;
    // Shortened: a shorter start of a menu text, then the ellipsis byte.
    if (text.empty() || text.back() != texts::kEllipsis[0]) return false;
    const std::string_view start = text.substr(0, text.size() - 1);
    for (const std::string_view prefix : kMenuPrefixes) {
      if (startsWith(prefix, start)) return true;  // cut inside the prefix
      if (startsWith(start, prefix) && occurs(lowered_, start.substr(prefix.size()))) return true;
    }
    return false;
  }

  bool isWrittenBackValue(std::string_view value) const {
    for (const char* fixed :
         {texts::kNumber0, texts::kNumber1, texts::kNumber10, texts::kNumber999, texts::kNumber9999,
          texts::kRadioNotChosen, texts::kDefaultExtraChars, texts::kDefaultRegex}) {
      if (value == fixed) return true;
    }
    for (const std::string& answered : controlValues_) {
      if (startsWith(answered, value)) return true;
    }
    return false;
  }

 private:
  static constexpr std::string_view kMenuPrefixes[] = {"", "http://", "www.", "http://www."};

  static bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
  }

  static bool occurs(const std::deque<std::string>& texts, std::string_view piece) {
    for (const std::string& text : texts) {
      if (text.find(piece) != std::string::npos) return true;
    }
    return false;
  }

  bool isWholeMenuText(std::string_view text) const {
    for (const std::string_view prefix : kMenuPrefixes) {
      if (!startsWith(text, prefix)) continue;
      const std::string_view piece = text.substr(prefix.size());
      if (!piece.empty() && occurs(lowered_, piece)) return true;
    }
    return false;
  }

  std::deque<std::string> statuses_;
  std::deque<std::string> lowered_;
  std::set<std::string_view> seenStatuses_;
  std::vector<std::string> controlValues_;
};

}  // namespace brisko::fuzz
