#include "links/regex_scanner.h"

#include <cstddef>
#include <stdexcept>
#include <utility>

#include <boost/regex.hpp>

// Every build searches with the same Boost.Regex engine: its C++03 fallback
// matches differently in places (empty matches of "\B" at a text's ends).
#ifdef BOOST_REGEX_CXX03
#error "Boost.Regex is configured for its C++03 engine; see cmake/boost_win32_stdlib.hpp"
#endif

#include "links/bounded_search.h"
#include "links/linear_matches.h"
#include "links/linear_regex.h"
#include "links/link_forms.h"

namespace brisko {

struct RegexScanner::Compiled {
  std::string source;
  bool valid = false;
  boost::regex expression;
  // The same expression searched in linear time, when it can be.
  std::unique_ptr<const LinearRegex> linear;
};

RegexScanner::RegexScanner() = default;
RegexScanner::~RegexScanner() = default;

const RegexScanner::Compiled& RegexScanner::compiled(const std::string& source) {
  if (!compiled_ || compiled_->source != source) {
    auto fresh = std::make_unique<Compiled>();
    fresh->source = source;
    try {
      fresh->expression.assign(source);  // Perl syntax, letter case significant
      fresh->valid = true;
      fresh->linear = LinearRegex::compile(source);
    } catch (const std::runtime_error&) {
      // boost::regex_error: the expression finds nothing.
      fresh->valid = false;
    }
    compiled_ = std::move(fresh);
  }
  return *compiled_;
}

namespace {

// One match, classified by its prefixes.
struct Link {
  std::string_view match;  // M, in the letter case of the status
  LinkKind kind;
  std::size_t prefixLength;  // bytes of M before the body
  bool opensAsMatch;         // http or https: opened as M, else "http://" + M
};

Link classify(std::string_view m) {
  const bool http = detail::hasHttpPrefix(m.data(), m.size());
  const std::size_t wwwAt = http ? kHttpPrefixLength : 0;
  const bool www = detail::hasWwwPrefix(m.data() + wwwAt, m.size() - wwwAt);
  if (http && www) return {m, LinkKind::kHttpWww, kHttpPrefixLength + kWwwPrefixLength, true};
  if (http) return {m, LinkKind::kHttp, kHttpPrefixLength, true};
  if (www) return {m, LinkKind::kWww, kWwwPrefixLength, false};
  return {m, LinkKind::kOther, 0, detail::hasHttpsPrefix(m.data(), m.size())};
}

std::string openForm(const Link& link) {
  if (link.opensAsMatch) return std::string(link.match);
  std::string open;
  open.reserve(kHttpPrefix.size() + link.match.size());
  open.append(kHttpPrefix);
  open.append(link.match);
  return open;
}

// Calls onLink for each match that is taken, in order, until it returns
// false: `nextMatch` gives the successive matches (each search from the end
// of the previous match, or one byte further after an empty one); empty
// matches and matches that are nothing but their prefixes are passed over.
template <typename NextMatch, typename OnLink>
void takeLinks(NextMatch&& nextMatch, OnLink&& onLink) {
  const char* matchBegin = nullptr;
  const char* matchEnd = nullptr;
  while (nextMatch(&matchBegin, &matchEnd)) {
    if (matchBegin == matchEnd) continue;
    const Link link =
        classify(std::string_view(matchBegin, static_cast<std::size_t>(matchEnd - matchBegin)));
    if (link.match.size() == link.prefixLength) continue;  // nothing but its prefixes
    if (!onLink(link)) return;
  }
}

// Calls onLink for each link of `text`, as takeLinks. Each search sees only
// the rest of the text, from the end of the previous match, as a text of its
// own. Searches with `linear` when given (the same matches, in time linear
// in the text for all of them together), else with Boost under a bound on
// the work of all the searches (links/bounded_search.h); Boost's errors, and
// the bound's, are std::runtime_error and reach the caller.
template <typename OnLink>
void forEachLink(const boost::regex& expression, const LinearRegex* linear, std::string_view text,
                 OnLink&& onLink) {
  if (text.empty()) return;  // an empty match is never taken
  const char* const end = text.data() + text.size();
  if (linear) {
    LinearMatches matches(*linear, text.data(), end);
    takeLinks([&](const char** b, const char** e) { return matches.next(b, e); }, onLink);
    return;
  }
  BoundedSearch bounded(text.size());
  const char* position = text.data();
  bool done = false;
  takeLinks(
      [&](const char** b, const char** e) {
        if (done || !bounded.search(expression, position, end, b, e)) return false;
        if (*b != *e) {
          position = *e;
        } else if (*e == end) {
          done = true;
        } else {
          position = *e + 1;
        }
        return true;
      },
      onLink);
}

}  // namespace

std::string RegexScanner::findFirstLink(const FinderSettings& settings, std::string_view status) {
  const std::string_view text = analysedPart(settings, status);
  const Compiled& regex = compiled(settings.regexSource);
  if (!regex.valid) return std::string();
  std::string result;
  try {
    forEachLink(regex.expression, regex.linear.get(), text, [&](const Link& link) {
      result = openForm(link);
      return false;
    });
  } catch (const std::runtime_error&) {
    return std::string();
  }
  return result;
}

void RegexScanner::findLinks(const FinderSettings& settings, std::string_view status,
                             std::int32_t maxCount, FoundLinks& found) {
  LinkListWriter lists(found);
  const std::string_view text = analysedPart(settings, status);
  const Compiled& regex = compiled(settings.regexSource);
  if (!regex.valid || maxCount <= 0) return;
  const auto limit = static_cast<std::size_t>(maxCount);
  try {
    forEachLink(regex.expression, regex.linear.get(), text, [&](const Link& link) {
      lists.append(link.kind, link.match.substr(link.prefixLength),
                   link.opensAsMatch ? std::string_view() : kHttpPrefix, link.match);
      return lists.count() < limit;
    });
  } catch (const std::runtime_error&) {
    // A search the library gave up on ends the scan; what was stored stays.
  }
}

}  // namespace brisko
