// The vocabulary of a found link, shared by both finders and the menus.
//
// A LinkCandidate is one kind digit followed by the lower-cased link body
// (the link without the prefixes the finder recognised). The open form is the
// complete address that is opened or copied.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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

// The menu text of a candidate: the kind's prefixes put back in lower case
// unless cut, or "blad!" for a candidate whose first byte is no kind digit.
std::string displayFormOf(std::string_view candidate, bool cutHttp, bool cutWww);

namespace detail {

// ASCII letter-case folding of one byte: "A".."Z" to "a".."z", all else kept.
constexpr char foldAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

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

// Refills the two parallel link lists. The strings already in the lists are
// reused for the new entries, so a finder called again and again with the
// same lists does not allocate once they have grown. Entries left over from
// the previous call are removed when the writer ends, also when an exception
// (std::bad_alloc) leaves it early: the lists then hold exactly the entries
// appended, and always as many in each.
class LinkListWriter {
 public:
  // `spare`, when given, keeps the strings of entries removed from the lists
  // (short ones, up to kSpareStrings of them) for the next writer to reuse.
  LinkListWriter(std::vector<std::string>& displayLinks, std::vector<std::string>& openLinks,
                 std::vector<std::string>* spare = nullptr)
      : display_(displayLinks), open_(openLinks), spare_(spare) {
    if (spare_ != nullptr) spare_->reserve(kSpareStrings);
  }
  LinkListWriter(const LinkListWriter&) = delete;
  LinkListWriter& operator=(const LinkListWriter&) = delete;
  ~LinkListWriter() {
    trim(display_);
    trim(open_);
  }

  std::size_t count() const { return count_; }

  // Appends kind digit + folded body, and openPrefix + openBody.
  void append(LinkKind kind, std::string_view body, std::string_view openPrefix,
              std::string_view openBody) {
    std::string& candidate = slot(display_);
    candidate.resize(1 + body.size());
    char* out = &candidate[0];
    *out++ = kindDigit(kind);
    for (const char c : body) *out++ = foldAscii(c);
    std::string& open = slot(open_);
    open.resize(openPrefix.size() + openBody.size());
    openPrefix.copy(&open[0], openPrefix.size());
    openBody.copy(&open[openPrefix.size()], openBody.size());
    ++count_;
  }

 private:
  static constexpr std::size_t kSpareStrings = 64;
  static constexpr std::size_t kLongestSpare = 256;

  std::string& slot(std::vector<std::string>& list) {
    if (list.size() == count_) {
      if (spare_ != nullptr && !spare_->empty()) {
        list.push_back(std::move(spare_->back()));
        spare_->pop_back();
      } else {
        list.emplace_back();
      }
    }
    return list[count_];
  }

  // Removes the entries beyond count_ (no allocation, no exception).
  void trim(std::vector<std::string>& list) {
    while (list.size() > count_) {
      std::string& last = list.back();
      // Only into room already reserved: pushing never allocates here.
      if (spare_ != nullptr && spare_->size() < kSpareStrings &&
          spare_->size() < spare_->capacity() && last.capacity() <= kLongestSpare) {
        spare_->push_back(std::move(last));
      }
      list.pop_back();
    }
  }

  std::vector<std::string>& display_;
  std::vector<std::string>& open_;
  std::vector<std::string>* spare_;
  std::size_t count_ = 0;
};

}  // namespace detail
}  // namespace brisko
