// What both link finders are checked for alike: the lists and the first
// link one status gives, a table row of expected lists, the rules of the
// analysed length and of the maximum count, and the reuse of the lists.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "links/finder_settings.h"
#include "links/found_links.h"
#include "links/link_finder.h"

namespace brisko::test {

using Strings = std::vector<std::string>;

// What a finder made of one status: findLinks' two lists and findFirstLink.
struct Found {
  Strings display;
  Strings open;
  std::string first;
};

// One status and the lists expected of it.
struct FinderCase {
  const char* name;
  std::string status;
  Strings display;  // expected LinkCandidates
  Strings open;     // expected open forms
};

inline void expectCase(const FinderCase& c, const Found& found) {
  EXPECT_EQ(found.display, c.display) << c.name;
  EXPECT_EQ(found.open, c.open) << c.name;
  // The first link is the open form of the first entry findLinks stores.
  EXPECT_EQ(found.first, c.open.empty() ? std::string() : c.open.front()) << c.name;
}

// A status cut to an analysed length.
struct LengthCase {
  const char* name;
  std::string status;
  std::int32_t analysedLength;
  Strings display;
  Strings open;
};

// `find` (status, analysed length) against each row.
template <std::size_t N>
void expectLengthCases(const LengthCase (&cases)[N],
                       const std::function<Found(const std::string&, std::int32_t)>& find) {
  for (const LengthCase& c : cases) {
    expectCase({c.name, c.status, c.display, c.open}, find(c.status, c.analysedLength));
  }
}

// A maximum count and how many of the status's links it stores.
struct MaxCase {
  std::int32_t maxCount;
  std::size_t stored;
};

// `find` (maximum count) on one status whose links are `display`/`open` in
// full: each maximum keeps the first `stored` of them, and the first link
// does not depend on the maximum.
template <std::size_t N>
void expectMaxCases(const MaxCase (&cases)[N], const Strings& display, const Strings& open,
                    const std::function<Found(std::int32_t)>& find) {
  for (const MaxCase& c : cases) {
    const Found found = find(c.maxCount);
    EXPECT_EQ(found.display, Strings(display.begin(), display.begin() + c.stored))
        << "max " << c.maxCount;
    EXPECT_EQ(found.open, Strings(open.begin(), open.begin() + c.stored)) << "max " << c.maxCount;
    EXPECT_EQ(found.first, open.front()) << "max " << c.maxCount;
  }
}

// What `finder` does with the lists it is given: each call replaces them
// whatever they held, and the strings of removed entries wait in the spare
// list to be reused, without trace of what they held, and the spare list
// stays bounded. `one` has one link and `four` four; "nothing" has none.
inline void expectListsReused(LinkFinder& finder, const FinderSettings& settings,
                              const FinderCase& one, const FinderCase& four) {
  FoundLinks found;
  Strings& display = found.displayLinks;
  Strings& open = found.openLinks;
  Strings& spare = found.spareStrings;
  display = {"stale"};
  open = {"stale", "more"};
  finder.findLinks(settings, one.status, 10, found);
  EXPECT_EQ(display, one.display);
  EXPECT_EQ(open, one.open);
  for (std::int32_t maxCount : {10, 0}) {
    finder.findLinks(settings, maxCount == 0 ? one.status : "nothing", maxCount, found);
    EXPECT_TRUE(display.empty()) << "max " << maxCount;
    EXPECT_TRUE(open.empty()) << "max " << maxCount;
  }

  display = {std::string(40, 'x'), std::string(40, 'y'), std::string(40, 'z')};
  open = display;
  spare = {std::string(100, 'q'), "r"};
  finder.findLinks(settings, one.status, 10, found);
  EXPECT_EQ(display, one.display);
  EXPECT_EQ(open, one.open);
  EXPECT_EQ(spare.size(), 2u + 4u);  // two entries removed from each list

  finder.findLinks(settings, four.status, 10, found);
  EXPECT_EQ(display, four.display);
  EXPECT_EQ(open, four.open);
  EXPECT_EQ(spare.size(), 0u);

  finder.findLinks(settings, "nothing", 10, found);
  EXPECT_TRUE(display.empty());
  EXPECT_TRUE(open.empty());
  EXPECT_EQ(spare.size(), 8u);

  // Long strings are not kept, and the spare list does not grow without end.
  display.assign(200, std::string(20, 'm'));
  open.assign(200, std::string(20, 'n'));
  open[199] = std::string(1000, 'l');
  finder.findLinks(settings, "", 10, found);
  EXPECT_TRUE(display.empty());
  EXPECT_TRUE(open.empty());
  EXPECT_LE(spare.size(), 64u);
  for (const std::string& kept : spare) EXPECT_LE(kept.capacity(), 256u);
}

}  // namespace brisko::test
