#include "links/author_scanner.h"

#include <array>
#include <cstddef>
#include <cstdint>

#include "links/link_forms.h"

namespace brisko {

namespace {

// The fixed link characters: ASCII letters and digits, ". _ / \\".
constexpr std::array<bool, 256> fixedLinkChars() {
  std::array<bool, 256> table{};
  for (std::size_t b = 0; b < table.size(); ++b) {
    table[b] = (b >= '0' && b <= '9') || (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') ||
               b == '.' || b == '_' || b == '/' || b == '\\';
  }
  return table;
}

constexpr std::array<bool, 256> kFixedLinkChars = fixedLinkChars();

// Every prefix begins with "http" or "www." (any case), so the search for the
// next prefix looks at 4-byte windows and moves on by the window's last byte
// (Horspool's rule over both words): by 1 after a "t" or a "w", which may be
// the second or third byte of a word; by 3 after an "h", which may only be
// the first; and by 4 after any other byte. A window ending in "p" or "." is
// compared whole. The windows skipped hold neither word.
constexpr std::array<std::uint8_t, 256> prefixShifts() {
  std::array<std::uint8_t, 256> table{};
  for (auto& shift : table) shift = 4;
  table['t'] = table['T'] = table['w'] = table['W'] = 1;
  table['h'] = table['H'] = 3;
  table['p'] = table['P'] = table['.'] = 0;  // compare the window
  return table;
}

constexpr std::array<std::uint8_t, 256> kPrefixShifts = prefixShifts();

// The first position at or after `pos` where "http" or "www." begins in any
// letter case, or `n` when there is none.
std::size_t nextPrefixCandidate(const char* s, std::size_t n, std::size_t pos) {
  while (n - pos >= 4) {
    const std::uint8_t shift = kPrefixShifts[static_cast<unsigned char>(s[pos + 3])];
    if (shift != 0) {
      pos += shift;
    } else if (detail::hasFoldedPrefix(s + pos, 4, "http") ||
               detail::hasFoldedPrefix(s + pos, 4, kWwwPrefix)) {
      return pos;
    } else {
      pos += 4;  // "p" and "." are only ever the last byte of a word
    }
  }
  return n;
}

// Calls deliver(kind, open prefix, body begin, body end) for each link of
// `text` in order (offsets into `text`) until it returns false.
template <typename Deliver>
void scan(const LinkChars& chars, std::string_view text, Deliver&& deliver) {
  const char* const s = text.data();
  const std::size_t n = text.size();
  std::size_t pos = 0;
  while (pos < n) {
    // Searching.
    pos = nextPrefixCandidate(s, n, pos);
    if (pos == n) return;
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
    while (at < n && chars.isLinkChar(s[at])) ++at;
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
        const bool https =
            wwwAt >= kHttpsPrefixLength &&
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

}  // namespace

LinkChars::LinkChars(std::string_view extraChars) : linkChar_(kFixedLinkChars) {
  for (const char c : extraChars) {
    extra_[static_cast<unsigned char>(c)] = true;
    linkChar_[static_cast<unsigned char>(c)] = true;
  }
}

const LinkChars& AuthorScanner::linkChars(const std::string& extraChars) {
  if (extraChars != extraChars_) {
    linkChars_ = LinkChars(extraChars);
    extraChars_ = extraChars;
  }
  return linkChars_;
}

std::string AuthorScanner::findFirstLink(const FinderSettings& settings, std::string_view status) {
  const std::string_view text = analysedPart(settings, status);
  std::string result;
  scan(linkChars(settings.extraChars), text,
       [&](LinkKind, std::string_view openPrefix, std::size_t begin, std::size_t end) {
         result.reserve(openPrefix.size() + (end - begin));
         result.append(openPrefix);
         result.append(text.substr(begin, end - begin));
         return false;
       });
  return result;
}

void AuthorScanner::findLinks(const FinderSettings& settings, std::string_view status,
                              std::int32_t maxCount, FoundLinks& found) {
  LinkListWriter lists(found);
  if (maxCount <= 0) return;
  const auto limit = static_cast<std::size_t>(maxCount);
  const std::string_view text = analysedPart(settings, status);
  scan(linkChars(settings.extraChars), text,
       [&](LinkKind kind, std::string_view openPrefix, std::size_t begin, std::size_t end) {
         const std::string_view body = text.substr(begin, end - begin);
         lists.append(kind, body, openPrefix, body);
         return lists.count() < limit;
       });
}

}  // namespace brisko
