#include "links/author_scanner.h"

#include <cstddef>
#include <utility>

#include "links/link_forms.h"

namespace brisko {

using detail::foldAscii;

std::string toLowerAscii(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) c = foldAscii(c);
  return folded;
}

AuthorScanner::AuthorScanner(const LinkSettings& settings)
    : analysedLength_(settings.analysedLength) {
  for (const char c : settings.extraChars) extra_[static_cast<unsigned char>(c)] = true;
  for (std::size_t b = 0; b < linkChar_.size(); ++b) {
    const bool fixed = (b >= '0' && b <= '9') || (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') ||
                       b == '.' || b == '_' || b == '/' || b == '\\';
    linkChar_[b] = fixed || extra_[b];
  }
}

std::string_view AuthorScanner::analysed(std::string_view status) const {
  // The cut is made on the raw bytes, before any folding.
  if (analysedLength_ > 0 && status.size() > static_cast<std::size_t>(analysedLength_)) {
    return status.substr(0, static_cast<std::size_t>(analysedLength_));
  }
  return status;
}

template <typename Deliver>
void AuthorScanner::scan(std::string_view text, Deliver&& deliver) const {
  const char* const s = text.data();
  const std::size_t n = text.size();
  std::size_t pos = 0;
  while (pos < n) {
    // Searching: only an "h" or a "w" (any case) can begin a prefix.
    const char first = foldAscii(s[pos]);
    if (first != 'h' && first != 'w') {
      ++pos;
      continue;
    }
    std::size_t at = pos;
    bool httpSeen = false;
    bool wwwSeen = false;
    if (detail::hasHttpPrefix(s + at, n - at)) {
      httpSeen = true;
      at += kHttpPrefixLength;
    }
    std::size_t wwwAt = at;
    if (detail::hasWwwPrefix(s + at, n - at)) {
      wwwSeen = true;
      at += kWwwPrefixLength;
    }
    if (!httpSeen && !wwwSeen) {
      ++pos;
      continue;
    }

    // Inside a link: run over the link characters.
    const std::size_t start = at;
    while (at < n && isLinkChar(s[at])) ++at;
    if (at > start) {
      LinkKind kind;
      std::string_view openPrefix;
      if (httpSeen && wwwSeen) {
        kind = LinkKind::kHttpWww;
        openPrefix = kHttpWwwPrefix;
      } else if (httpSeen) {
        kind = LinkKind::kHttp;
        openPrefix = kHttpPrefix;
      } else {
        kind = LinkKind::kWww;
        // "https://www." keeps its scheme when opened.
        const bool https = wwwAt >= kHttpsPrefixLength &&
                           detail::hasHttpsPrefix(s + wwwAt - kHttpsPrefixLength, kHttpsPrefixLength);
        openPrefix = https ? kHttpsWwwPrefix : kHttpWwwPrefix;
      }
      if (!deliver(kind, openPrefix, start, at)) return;
    }
    // An empty body is dropped. Either way the byte that ended the link (if
    // any) is passed over: it never begins a prefix.
    pos = at + 1;
  }
}

std::string AuthorScanner::findFirstLink(std::string_view status) const {
  const std::string_view text = analysed(status);
  std::string result;
  scan(text, [&](LinkKind, std::string_view openPrefix, std::size_t begin, std::size_t end) {
    result.reserve(openPrefix.size() + (end - begin));
    result.append(openPrefix);
    result.append(text.substr(begin, end - begin));
    return false;
  });
  return result;
}

void AuthorScanner::findLinks(std::string_view status, std::int32_t maxCount,
                              std::vector<std::string>& displayLinks,
                              std::vector<std::string>& openLinks) const {
  displayLinks.clear();
  openLinks.clear();
  if (maxCount <= 0) return;
  const std::string_view text = analysed(status);
  std::int32_t stored = 0;
  scan(text, [&](LinkKind kind, std::string_view openPrefix, std::size_t begin, std::size_t end) {
    const std::string_view body = text.substr(begin, end - begin);
    std::string candidate;
    candidate.reserve(1 + body.size());
    candidate.push_back(kindDigit(kind));
    for (const char c : body) candidate.push_back(foldAscii(c));
    std::string open;
    open.reserve(openPrefix.size() + body.size());
    open.append(openPrefix);
    open.append(body);
    displayLinks.push_back(std::move(candidate));
    openLinks.push_back(std::move(open));
    ++stored;
    return stored < maxCount;
  });
}

}  // namespace brisko
