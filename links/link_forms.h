// The vocabulary of a found link, shared by both finders and the menus.
//
// A LinkCandidate is one kind digit followed by the lower-cased link body
// (the link without the prefixes the finder recognised). The open form is the
// complete address that is opened or copied.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace brisko {

// The kind digit: which prefixes stood in front of the body.
enum class LinkKind : char {
  kHttp = '0',     // "http://" or "http:\\", not followed by "www."
  kWww = '1',      // "www." without an http prefix
  kHttpWww = '2',  // "http://" or "http:\\" followed by "www."
  kOther = '3',    // neither; the body is the whole match (regular expression only)
};

constexpr char kindDigit(LinkKind kind) { return static_cast<char>(kind); }

inline constexpr std::string_view kHttpPrefix = "http://";
inline constexpr std::string_view kWwwPrefix = "www.";
inline constexpr std::string_view kHttpWwwPrefix = "http://www.";
inline constexpr std::string_view kHttpsPrefix = "https://";
inline constexpr std::string_view kHttpsWwwPrefix = "https://www.";
inline constexpr std::size_t kHttpPrefixLength = 7;   // "http://" and "http:\\"
inline constexpr std::size_t kWwwPrefixLength = 4;    // "www."
inline constexpr std::size_t kHttpsPrefixLength = 8;  // "https://"

// The menu text of a candidate that is no LinkCandidate.
inline constexpr char kMalformedLinkText[] = "blad!";

// The menu text of a candidate: the kind's prefixes put back in lower case
// unless cut, or kMalformedLinkText for a candidate whose first byte is no
// kind digit.
std::string displayFormOf(std::string_view candidate, bool cutHttp, bool cutWww);

// ASCII letter-case folding of one byte: "A".."Z" to "a".."z", all else kept.
constexpr char foldAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

// A copy of `text` with "A".."Z" turned into "a".."z"; every other byte,
// the Windows-1250 letters from 0x80 up among them, is kept. The only case
// folding of the plug-in.
std::string toLowerAscii(std::string_view text);

namespace detail {

// True when the bytes at `s` (with `available` bytes left) begin with
// `lowerPrefix` once folded. `lowerPrefix` holds no upper-case letter.
inline bool hasFoldedPrefix(const char* s, std::size_t available, std::string_view lowerPrefix) {
  if (available < lowerPrefix.size()) return false;
  for (std::size_t i = 0; i < lowerPrefix.size(); ++i) {
    if (foldAscii(s[i]) != lowerPrefix[i]) return false;
  }
  return true;
}

// "http://" or "http:\\" in any letter case.
inline bool hasHttpPrefix(const char* s, std::size_t available) {
  return hasFoldedPrefix(s, available, "http://") || hasFoldedPrefix(s, available, "http:\\\\");
}

// "www." in any letter case.
inline bool hasWwwPrefix(const char* s, std::size_t available) {
  return hasFoldedPrefix(s, available, kWwwPrefix);
}

// "https://" in any letter case.
inline bool hasHttpsPrefix(const char* s, std::size_t available) {
  return hasFoldedPrefix(s, available, kHttpsPrefix);
}

}  // namespace detail
}  // namespace brisko
