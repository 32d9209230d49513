// Shared by the fuzz targets: how an input's first bytes choose the settings,
// and the run of a finder with the checks every finder's result must pass. A
// failed check aborts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "links/author_scanner.h"
#include "links/finder_settings.h"
#include "links/found_links.h"
#include "links/link_forms.h"

namespace brisko::fuzz {

// The input split into settings and status.
//   byte 0: analysedLength = (signed byte) * 37 (0 keeps the whole status)
//   byte 1: maximum count = (signed byte)
//   byte 2: a selector whose meaning belongs to the target
//   the rest: the target's own setting bytes (as its selector says), then
//   the status.
// Inputs shorter than 3 bytes are a status with the defaults.
struct Input {
  std::int32_t analysedLength = 0;
  std::int32_t maxCount = 10;
  bool hasSelector = false;
  std::uint8_t selector = 0;
  std::string_view rest;
};

inline Input splitInput(const std::uint8_t* data, std::size_t size) {
  Input input;
  input.rest = std::string_view(reinterpret_cast<const char*>(data), size);
  if (size < 3) return input;
  input.analysedLength = static_cast<std::int8_t>(data[0]) * 37;
  input.maxCount = static_cast<std::int8_t>(data[1]);
  input.hasSelector = true;
  input.selector = data[2];
  input.rest.remove_prefix(3);
  return input;
}

// Takes up to `count` bytes off the front of `rest`.
inline std::string_view takeFront(std::string_view& rest, std::size_t count) {
  const std::string_view front = rest.substr(0, count);
  rest.remove_prefix(front.size());
  return front;
}

// The part of `status` a finder looks at.
inline std::string_view analysedPart(std::string_view status, std::int32_t analysedLength) {
  if (analysedLength > 0 && status.size() > static_cast<std::size_t>(analysedLength)) {
    return status.substr(0, static_cast<std::size_t>(analysedLength));
  }
  return status;
}

// Finds each of `pieces` in `text`, in order and without overlap.
inline bool occurInOrder(std::string_view text, const std::vector<std::string>& pieces) {
  std::size_t from = 0;
  for (const std::string& piece : pieces) {
    const std::size_t at = text.find(piece, from);
    if (at == std::string_view::npos) return false;
    from = at + piece.size();
  }
  return true;
}

[[noreturn]] inline void fail(const char* what, const std::string& detail) {
  std::fprintf(stderr, "invariant violated: %s [%s]\n", what, detail.c_str());
  std::abort();
}

inline void check(bool ok, const char* what, const std::string& detail = std::string()) {
  if (!ok) fail(what, detail);
}

inline bool startsWithFolded(std::string_view text, std::string_view lowerPrefix) {
  return detail::hasFoldedPrefix(text.data(), text.size(), lowerPrefix);
}

// The checks shared by both finders. `limited` is the result of findLinks with
// the input's maximum, `full` with no practical maximum, `first` the result of
// findFirstLink. `maxKind` is the highest kind digit the finder may produce.
inline void checkCommon(const FoundLinks& limited, const FoundLinks& full, const std::string& first,
                        std::int32_t maxCount, char maxKind) {
  const std::vector<std::string>& display = limited.displayLinks;
  const std::vector<std::string>& open = limited.openLinks;
  const std::vector<std::string>& fullDisplay = full.displayLinks;
  const std::vector<std::string>& fullOpen = full.openLinks;
  check(display.size() == open.size(), "lists of equal length");
  check(fullDisplay.size() == fullOpen.size(), "lists of equal length (no maximum)");
  const std::size_t limit = maxCount > 0 ? static_cast<std::size_t>(maxCount) : 0;
  check(display.size() <= limit, "at most the maximum count");
  // The first entries do not depend on the maximum.
  check(display.size() == (fullDisplay.size() < limit ? fullDisplay.size() : limit),
        "the maximum keeps the first links");
  for (std::size_t j = 0; j < display.size(); ++j) {
    check(display[j] == fullDisplay[j] && open[j] == fullOpen[j], "same first links");
  }
  // The first link is the first entry stored.
  check(first == (fullOpen.empty() ? std::string() : fullOpen.front()), "first link", first);

  for (std::size_t j = 0; j < fullDisplay.size(); ++j) {
    const std::string& candidate = fullDisplay[j];
    const std::string& address = fullOpen[j];
    check(candidate.size() >= 2, "no empty link body", candidate);
    check(candidate[0] >= '0' && candidate[0] <= maxKind, "kind digit", candidate);
    check(startsWithFolded(address, "http://") || startsWithFolded(address, "http:\\\\") ||
              startsWithFolded(address, "https://"),
          "open form scheme", address);
    // Every menu text is a prefix put back before the body, and cutting both
    // prefixes leaves the body alone. (A body may itself read like the error
    // text: a user's expression can match any word.)
    const std::string_view body = std::string_view(candidate).substr(1);
    for (const bool cutHttp : {false, true}) {
      for (const bool cutWww : {false, true}) {
        const std::string text = displayFormOf(candidate, cutHttp, cutWww);
        check(text.size() >= body.size() &&
                  std::string_view(text).substr(text.size() - body.size()) == body,
              "menu text ends with the body", candidate);
      }
    }
    check(displayFormOf(candidate, true, true) == body, "both cuts leave the body", candidate);
    // A LinkCandidate holds no upper-case ASCII letter.
    check(toLowerAscii(candidate) == candidate, "lower-case candidate", candidate);
  }
}

// What a finder gave for one input (see checkCommon).
struct FinderRun {
  const FoundLinks& limited;
  FoundLinks full;
  std::string first;
};

// Runs the one Finder of the whole run on `status`: findLinks with `maxCount`
// into the run's one `limited`, findLinks with no maximum, findFirstLink; then
// checkCommon. Finder and lists live on from input to input, as the plug-in
// keeps them: each call replaces what the previous one left, and the finder
// keeps or rebuilds what it prepared (a table of link characters, a compiled
// expression) as the inputs' settings change.
template <typename Finder>
FinderRun runFinder(const FinderSettings& settings, const std::string& status,
                    std::int32_t maxCount, char maxKind) {
  static Finder finder;
  static FoundLinks limited;
  FinderRun run{limited, FoundLinks(), std::string()};
  finder.findLinks(settings, status, maxCount, limited);
  finder.findLinks(settings, status, std::numeric_limits<std::int32_t>::max(), run.full);
  run.first = finder.findFirstLink(settings, status);
  checkCommon(limited, run.full, run.first, maxCount, maxKind);
  return run;
}

// Calls `pieceOf(candidate, address)` for each link of `full` in order (it
// checks the link and returns the text it was found as), then checks that
// those texts occur in that order in the analysed part of `status`.
template <typename PieceOf>
void checkEachLink(const FoundLinks& full, std::string_view status, std::int32_t analysedLength,
                   const char* what, const PieceOf& pieceOf) {
  std::vector<std::string> pieces;
  for (std::size_t j = 0; j < full.displayLinks.size(); ++j) {
    pieces.push_back(pieceOf(full.displayLinks[j], full.openLinks[j]));
  }
  check(occurInOrder(analysedPart(status, analysedLength), pieces), what);
}

}  // namespace brisko::fuzz
