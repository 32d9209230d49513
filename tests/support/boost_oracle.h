// The oracle of the linear-time matcher, shared by its unit test and its
// fuzz target: Boost.Regex itself, searched the same way, compared match by
// match. Each function returns "" when both agree, else a description of
// the first difference.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

#include <boost/regex.hpp>

#include "links/linear_matches.h"
#include "links/linear_regex.h"

namespace brisko::oracle {

inline std::string bounds(const char* text, const char* first, const char* last) {
  return "[" + std::to_string(first - text) + "," + std::to_string(last - text) + ")";
}

// One search from every start position of `text`, each start taken as the
// beginning of the text. Positions where Boost gives up (its complexity or
// stack limit) are passed over.
inline std::string differenceFromBoost(const LinearRegex& linear, const boost::regex& expression,
                                       const std::string& text) {
  const char* const begin = text.data();
  const char* const end = begin + text.size();
  for (std::size_t start = 0; start <= text.size(); ++start) {
    boost::cmatch match;
    bool boostFound = false;
    try {
      boostFound = boost::regex_search(begin + start, end, match, expression);
    } catch (const std::runtime_error&) {
      continue;
    }
    const char* first = nullptr;
    const char* last = nullptr;
    const bool linearFound = linear.search(begin + start, end, &first, &last);
    const std::string expected = boostFound ? bounds(begin, match[0].first, match[0].second) : "-";
    const std::string actual = linearFound ? bounds(begin, first, last) : "-";
    if (expected != actual) {
      return "from " + std::to_string(start) + ": Boost " + expected + ", linear " + actual;
    }
  }
  return "";
}

// The successive matches as the link finder takes them (each search from the
// end of the previous match, one byte further after an empty one), by
// LinearMatches with `readBudget` (see there) against Boost searched in that
// loop. Where Boost gives up, the matches before are compared.
inline std::string loopDifferenceFromBoost(const LinearRegex& linear,
                                           const boost::regex& expression, const std::string& text,
                                           std::size_t readBudget) {
  const char* const begin = text.data();
  const char* const end = begin + text.size();
  LinearMatches matches(linear, begin, end, readBudget);
  const char* position = begin;
  for (std::size_t n = 0;; ++n) {
    boost::cmatch match;
    bool boostFound = false;
    if (position != nullptr) {
      try {
        boostFound = boost::regex_search(position, end, match, expression);
      } catch (const std::runtime_error&) {
        return "";
      }
    }
    const char* first = nullptr;
    const char* last = nullptr;
    const bool linearFound = matches.next(&first, &last);
    const std::string expected = boostFound ? bounds(begin, match[0].first, match[0].second) : "-";
    const std::string actual = linearFound ? bounds(begin, first, last) : "-";
    if (expected != actual) {
      return "match " + std::to_string(n) + ": Boost " + expected + ", linear " + actual;
    }
    if (!boostFound) return "";
    if (match[0].first != match[0].second) {
      position = match[0].second;
    } else if (match[0].second == end) {
      position = nullptr;  // no search after an empty match at the end
    } else {
      position = match[0].second + 1;
    }
  }
}

// All of the above: every start, and the loop both ways (searching forward
// as far as the default budget allows, and from the table alone).
inline std::string allDifferencesFromBoost(const LinearRegex& linear,
                                           const boost::regex& expression,
                                           const std::string& text) {
  std::string difference = differenceFromBoost(linear, expression, text);
  if (!difference.empty()) return difference;
  difference =
      loopDifferenceFromBoost(linear, expression, text, LinearMatches::readBudgetFor(text.size()));
  if (!difference.empty()) return "forward, " + difference;
  difference = loopDifferenceFromBoost(linear, expression, text, 0);
  if (!difference.empty()) return "tabled, " + difference;
  return "";
}

}  // namespace brisko::oracle
