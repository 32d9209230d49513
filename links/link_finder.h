// The one interface of both link finders: settings and a status in, the two
// lists (or the first link) out.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "links/finder_settings.h"
#include "links/found_links.h"

namespace brisko {

class LinkFinder {
 public:
  // Open form of the first link of the analysed part of `status`, or "".
  virtual std::string findFirstLink(const FinderSettings& settings, std::string_view status) = 0;

  // Refills `found` with the links of the analysed part of `status`, in text
  // order, at most `maxCount` of them (none when maxCount <= 0).
  virtual void findLinks(const FinderSettings& settings, std::string_view status,
                         std::int32_t maxCount, FoundLinks& found) = 0;

 protected:
  LinkFinder() = default;
  LinkFinder(const LinkFinder&) = default;
  LinkFinder& operator=(const LinkFinder&) = default;
  ~LinkFinder() = default;  // never deleted through this type
};

}  // namespace brisko
