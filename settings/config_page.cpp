#include "settings/config_page.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "host/host_calls.h"
#include "host/ids.h"
#include "settings/columns.h"
#include "settings/control_params.h"
#include "settings/page_elements.h"
#include "settings/texts.h"

namespace brisko {
namespace {

using host::ActionForm;
using host::Insertion;

using namespace page;  // the status words of the page's elements

constexpr std::uint32_t kAllBits = 0xFFFFFFFFu;

// A group start or end in the page (74-byte form, id 0, param 0).
void insertGroup(std::uint32_t parent, std::uint32_t status, const char* caption) {
  Insertion insertion;
  insertion.parent = parent;
  insertion.status = status;
  insertion.text = caption;
  insertion.form = ActionForm::Short74;
  host::InsertAction(insertion);
}

// A control of the page (78-byte form). `number` is the column or button it
// is bound to; 0 for labels and texts, which get id 0.
void insertControl(std::uint32_t status, const char* text, std::uint32_t number,
                   std::uint16_t width) {
  Insertion insertion;
  insertion.parent = action::kConfigPage;
  insertion.id = number != 0 ? action::kConfigControlBase : 0;
  insertion.status = status;
  insertion.text = text;
  insertion.param = number;
  insertion.width = width;
  insertion.form = ActionForm::Long78;
  host::InsertAction(insertion);
}

host::ActionTarget pageControl(std::uint32_t number) {
  return host::ActionTarget{controlId(number), action::kConfigPage, kNoContact};
}

// Sets (true) or clears the inactive bit of one control.
void setDisabled(const host::ActionTarget& target, bool disabled) {
  host::SetActionStatus(target, disabled ? kAllBits : 0u, status::kDisabled);
}

bool startsWithZero(const std::string& text) { return !text.empty() && text[0] == '0'; }

}  // namespace

void buildConfigPage() {
  // The page itself, in the host's group of configuration pages.
  {
    Insertion page;
    page.parent = group::kConfigPages;
    page.id = action::kConfigPage;
    page.status = kPageStatus;
    page.text = texts::kPluginName;
    page.param = action::kPluginIcon;
    page.form = ActionForm::Short74;
    host::InsertAction(page);
  }
  const std::uint32_t p = action::kConfigPage;

  insertGroup(p, kGroupStart, texts::kPageMenuGroup);
  insertControl(kCheckBox, texts::kPageShowInContactMenu, column::kShowInContactMenu, 0);
  insertControl(kCheckBox, texts::kPageShowInChatWindow, column::kShowInChatWindow, 0);
  insertControl(kCheckBoxSubmenu, texts::kPageSubmenuForSingleLink, column::kSubmenuForSingleLink,
                0);
  insertControl(kLabelSized, "", 0, 15);  // indent
  insertControl(kCheckBoxDependent, texts::kPageShowSingleLinkName, column::kShowSingleLinkName, 0);
  insertGroup(p, kGroupEnd, nullptr);

  insertGroup(p, kGroupStart, texts::kPageDisplayGroup);
  insertControl(kLabelSized, texts::kPageAnalysedLengthLabel, 0, 170);
  insertControl(kTextField, texts::kPageAnalysedLengthField, column::kAnalysedLength, 50);
  insertControl(kLabelSized, texts::kPageLinkCountLabel, 0, 170);
  insertControl(kTextField, texts::kPageLinkCountField, column::kLinkCount, 30);
  insertControl(kLabelSized, texts::kPageDisplayLengthLabel, 0, 170);
  insertControl(kTextField, texts::kPageDisplayLengthField, column::kDisplayLength, 50);
  insertGroup(p, kGroupEnd, nullptr);

  insertGroup(p, kGroupStart, texts::kPageCutGroup);
  insertControl(kCheckBoxWide, texts::kPageCutHttp, column::kCutHttp, 100);
  insertControl(kCheckBox, texts::kPageCutWww, column::kCutWww, 0);
  insertGroup(p, kGroupEnd, nullptr);

  insertGroup(p, kGroupStart, texts::kPageMethodGroup);
  insertControl(kRadioFirst, texts::kPageAuthorMethod, column::kAuthorMethod, 100);
  insertControl(kRadio, texts::kPageRegexMethod, column::kRegexMethod, 0);
  insertGroup(p, kGroupEnd, nullptr);

  insertGroup(p, kGroupStart, texts::kPageSyntaxGroup);
  insertControl(kLabel, texts::kPageLinkCharsLabel, 0, 300);
  insertControl(kLabel, texts::kPageExtraCharsLabel, 0, 200);
  insertControl(kTextFieldWide, nullptr, column::kExtraChars, 250);
  insertControl(kButton, texts::kPageDefaultButton, column::kExtraCharsDefaultButton, 70);
  insertControl(kLineBreak, nullptr, 0, 0);
  insertControl(kLabel, texts::kPageRegexLabel, 0, 200);
  insertControl(kTextFieldWide, nullptr, column::kRegexSource, 250);
  insertControl(kButtonLast, texts::kPageDefaultButton, column::kRegexDefaultButton, 70);
  insertGroup(p, kGroupEnd, nullptr);

  insertGroup(p, kGroupStart, texts::kPageCopyGroup);
  insertControl(kExplanation, texts::kPageCopyHint, 0, 0);
  insertGroup(p, kGroupEnd, nullptr);

  insertInfoBox(p, texts::kInfoDescription, texts::kInfoExtra, "", 0, nullptr, true);
  insertGroup(p, kGroupEnd, nullptr);
}

void insertInfoBox(std::uint32_t parent, const char* description, const char* extra,
                   const char* imageAddress, std::uint16_t height, const char* name, bool grouped) {
  if (grouped) insertGroup(parent, kGroupStart, "");

  // The header of the tip: this plug-in's display name as the host knows it,
  // followed (unless the host's state is 1) by the text of a host value.
  std::string header;
  if (name == nullptr) {
    HostMessage query{};
    query.size = kHostMessageSize;
    query.id = msg::kDisplayNameQuery;
    const int answer = host::SendToPlugin(host::GetPluginId(), query);
    const char* answered = valuePtr<const char>(static_cast<std::uint32_t>(answer));
    if (answered != nullptr) header = answered;

    char buffer[52];
    std::memset(buffer, 0, sizeof buffer);
    const int value = host::GetPluginValue(host::GetPluginId());
    host::ValueToText(value, buffer);
    buffer[sizeof buffer - 1] = '\0';  // a host that fills it whole cannot run us past it
    if (host::GetHostState() != 1) {
      header += texts::kBlank;
      header += buffer;
    }
  } else {
    header = name;
  }

  if (!header.empty()) header = texts::kBoldOpen + header + texts::kBoldCloseBreak;
  if (extra != nullptr) header += extra;

  std::string params;
  if (imageAddress != nullptr) {
    params = setControlParam(params, texts::kParamImageUrl, imageAddress);
    if (!hasControlParam(params, texts::kParamIconSize)) {
      params = setControlParam(params, texts::kParamIconSize, texts::kInfoIconSize);
    }
  }
  params = setControlParam(params, texts::kParamTipRich, header);
  params = setControlParam(params, texts::kParamTipWidth, texts::kInfoTipWidth);

  Insertion image;
  image.parent = parent;
  image.status = kInfoImage;
  image.text = params.c_str();
  image.width = 40;
  image.height = 40;
  image.form = ActionForm::Short74;
  host::InsertAction(image);

  Insertion text;
  text.parent = parent;
  text.status = kInfoText;
  text.text = description;
  text.width = 300;
  text.height = height;
  text.form = ActionForm::Long78;
  host::InsertAction(text);

  if (grouped) insertGroup(parent, kGroupEnd, nullptr);
}

void handleConfigControl(const ActionNotify& event, const LinkSettings& settings) {
  if (!isConfigControl(event.id)) return;
  const std::uint32_t number = controlNumber(event.id);
  const host::ActionTarget self{event.id, event.parent, event.cnt};

  switch (number) {
    case column::kSubmenuForSingleLink:
      if (event.code == notify::kActivate) {
        const bool off = startsWithZero(host::GetActionValue(self, /*withHostFlag=*/true));
        setDisabled(pageControl(column::kShowSingleLinkName), !off);
      }
      break;
    case column::kShowSingleLinkName:
      if (event.code == notify::kRefresh) {
        const bool off =
            startsWithZero(host::GetActionValue(pageControl(column::kSubmenuForSingleLink), true));
        setDisabled(self, !off);
      }
      break;
    case column::kExtraCharsDefaultButton:
      if (event.code == notify::kActivate) {
        host::SetActionValue(pageControl(column::kExtraChars), texts::kDefaultExtraChars, true);
      }
      break;
    case column::kRegexDefaultButton:
      if (event.code == notify::kPrepare) {
        setMethodControls(settings.useRegex);
      } else if (event.code == notify::kActivate) {
        host::SetActionValue(pageControl(column::kRegexSource), texts::kDefaultRegex, true);
      }
      break;
    case column::kRegexMethod:
      if (event.code == notify::kActivate) {
        host::SetActionValue(pageControl(column::kAuthorMethod), texts::kRadioNotChosen, true);
        setMethodControls(true);
      }
      break;
    case column::kAuthorMethod:
      if (event.code == notify::kActivate) {
        host::SetActionValue(pageControl(column::kRegexMethod), texts::kRadioNotChosen, true);
        setMethodControls(false);
      }
      break;
    default:
      break;
  }
}

void setMethodControls(bool regexChosen) {
  // The extra characters belong to the author's scanner, the expression to
  // the regular-expression method: only the chosen method's pair is active.
  setDisabled(pageControl(column::kExtraChars), regexChosen);
  setDisabled(pageControl(column::kExtraCharsDefaultButton), regexChosen);
  setDisabled(pageControl(column::kRegexSource), !regexChosen);
  setDisabled(pageControl(column::kRegexDefaultButton), !regexChosen);
}

}  // namespace brisko
