// The two parallel lists of found links, and the writer that refills them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "links/link_forms.h"

namespace brisko {

// Entry j of both lists is the same link.
struct FoundLinks {
  std::vector<std::string> displayLinks;  // LinkCandidate entries (kind digit + folded body)
  std::vector<std::string> openLinks;     // open forms: what is opened or copied

  // Strings of entries removed by a writer, kept for the next writer to reuse,
  // so that refilling the lists again and again seldom allocates.
  std::vector<std::string> spareStrings;
};

// Refills the lists of a FoundLinks. The strings already in the lists are
// reused for the new entries. Entries left over from the previous fill are
// removed when the writer ends, also when an exception (std::bad_alloc)
// leaves it early: the lists then hold exactly the entries appended, and
// always as many in each.
class LinkListWriter {
 public:
  explicit LinkListWriter(FoundLinks& found) : found_(found) {
    found_.spareStrings.reserve(kSpareStrings);
  }
  LinkListWriter(const LinkListWriter&) = delete;
  LinkListWriter& operator=(const LinkListWriter&) = delete;
  ~LinkListWriter() {
    trim(found_.displayLinks);
    trim(found_.openLinks);
  }

  std::size_t count() const { return count_; }

  // Appends kind digit + folded body, and openPrefix + openBody.
  void append(LinkKind kind, std::string_view body, std::string_view openPrefix,
              std::string_view openBody) {
    std::string& candidate = slot(found_.displayLinks);
    candidate.resize(1 + body.size());
    char* out = &candidate[0];
    *out++ = kindDigit(kind);
    for (const char c : body) *out++ = foldAscii(c);
    std::string& open = slot(found_.openLinks);
    open.resize(openPrefix.size() + openBody.size());
    openPrefix.copy(&open[0], openPrefix.size());
    openBody.copy(&open[openPrefix.size()], openBody.size());
    ++count_;
  }

 private:
  static constexpr std::size_t kSpareStrings = 64;
  static constexpr std::size_t kLongestSpare = 256;

  std::string& slot(std::vector<std::string>& list) {
    std::vector<std::string>& spare = found_.spareStrings;
    if (list.size() == count_) {
      if (!spare.empty()) {
        list.push_back(std::move(spare.back()));
        spare.pop_back();
      } else {
        list.emplace_back();
      }
    }
    return list[count_];
  }

  // Removes the entries beyond count_ (no allocation, no exception).
  void trim(std::vector<std::string>& list) {
    std::vector<std::string>& spare = found_.spareStrings;
    while (list.size() > count_) {
      std::string& last = list.back();
      // Only into room already reserved: pushing never allocates here.
      if (spare.size() < kSpareStrings && spare.size() < spare.capacity() &&
          last.capacity() <= kLongestSpare) {
        spare.push_back(std::move(last));
      }
      list.pop_back();
    }
  }

  FoundLinks& found_;
  std::size_t count_ = 0;
};

}  // namespace brisko
