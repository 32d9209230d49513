// What both link finders are checked for alike: the lists and the first
// link one status gives, a table row of expected lists, and the rules of the
// analysed length and of the maximum count.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

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

}  // namespace brisko::test
