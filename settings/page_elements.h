// The elements of a configuration page, as the host reads them from the
// status word an element is inserted with: bits 16..23 are its kind, the
// other bits its layout. The page's own status words are here too.
#pragma once

#include <cstdint>

namespace brisko::page {

// Kinds of page elements (bits 16..23 of the inserted status word).
enum class ElementKind : std::uint32_t {
  LineBreak = 0x01,
  CheckBox = 0x06,
  Explanation = 0x08,
  Label = 0x09,
  TextField = 0x0B,
  Button = 0x0E,
  GroupStart = 0x0F,
  GroupEnd = 0x10,
  Formatted = 0x18,
  Radio = 0x19,
  Image = 0x1C,
};

constexpr ElementKind kindOf(std::uint32_t insertedStatus) {
  return static_cast<ElementKind>((insertedStatus >> 16) & 0xFFu);
}

// Layout bit: the next element stays on this element's line.
constexpr std::uint32_t kSameLine = 0x00000040;

// Status words of the page and its elements, as the plug-in inserts them.
constexpr std::uint32_t kPageStatus = 0x04000010;
constexpr std::uint32_t kGroupStart = 0x000F0000;
constexpr std::uint32_t kGroupEnd = 0x00100000;
constexpr std::uint32_t kCheckBox = 0x00060000;
constexpr std::uint32_t kCheckBoxWide = 0x00060040;
constexpr std::uint32_t kCheckBoxSubmenu = 0x20060000;
constexpr std::uint32_t kCheckBoxDependent = 0x02060000;
constexpr std::uint32_t kLabel = 0x00090000;
constexpr std::uint32_t kLabelSized = 0x00090040;
constexpr std::uint32_t kTextField = 0x000B0000;
constexpr std::uint32_t kTextFieldWide = 0x000B0040;
constexpr std::uint32_t kButton = 0x000E0000;
constexpr std::uint32_t kButtonLast = 0x010E0000;
constexpr std::uint32_t kRadioFirst = 0x03193040;
constexpr std::uint32_t kRadio = 0x03193000;
constexpr std::uint32_t kExplanation = 0x00080000;
constexpr std::uint32_t kLineBreak = 0x00010000;
constexpr std::uint32_t kInfoImage = 0x001C0040;
constexpr std::uint32_t kInfoText = 0x00180080;

static_assert(kindOf(kGroupStart) == ElementKind::GroupStart);
static_assert(kindOf(kGroupEnd) == ElementKind::GroupEnd);
static_assert(kindOf(kCheckBoxSubmenu) == ElementKind::CheckBox);
static_assert(kindOf(kCheckBoxDependent) == ElementKind::CheckBox);
static_assert(kindOf(kLabelSized) == ElementKind::Label);
static_assert(kindOf(kTextFieldWide) == ElementKind::TextField);
static_assert(kindOf(kButtonLast) == ElementKind::Button);
static_assert(kindOf(kRadioFirst) == ElementKind::Radio);
static_assert(kindOf(kExplanation) == ElementKind::Explanation);
static_assert(kindOf(kLineBreak) == ElementKind::LineBreak);
static_assert(kindOf(kInfoImage) == ElementKind::Image);
static_assert(kindOf(kInfoText) == ElementKind::Formatted);

}  // namespace brisko::page
