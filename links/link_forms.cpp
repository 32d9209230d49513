#include "links/link_forms.h"

namespace brisko {

std::string toLowerAscii(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) c = foldAscii(c);
  return folded;
}

std::string displayFormOf(std::string_view candidate, bool cutHttp, bool cutWww) {
  if (candidate.empty()) return kMalformedLinkText;
  const std::string_view body = candidate.substr(1);
  std::string_view prefix;
  switch (candidate.front()) {
    case kindDigit(LinkKind::kHttp):
      prefix = cutHttp ? std::string_view() : kHttpPrefix;
      break;
    case kindDigit(LinkKind::kWww):
      prefix = cutWww ? std::string_view() : kWwwPrefix;
      break;
    case kindDigit(LinkKind::kHttpWww):
      if (!cutHttp && !cutWww) {
        prefix = kHttpWwwPrefix;
      } else if (!cutWww) {
        prefix = kWwwPrefix;
      } else if (!cutHttp) {
        prefix = kHttpPrefix;
      }
      break;
    case kindDigit(LinkKind::kOther):
      break;
    default:
      return kMalformedLinkText;
  }
  std::string text;
  text.reserve(prefix.size() + body.size());
  text.append(prefix);
  text.append(body);
  return text;
}

}  // namespace brisko
