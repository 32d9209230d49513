// One input's run of a link finder as both finder fuzzers make it, and the
// walk over its links. A failed check aborts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "links/finder_settings.h"
#include "links/found_links.h"
#include "links/link_finder.h"

namespace brisko::fuzz {

// What a finder gave for one input: `limited` by findLinks with the input's
// maximum count, `full` by findLinks with no practical maximum, `first` by
// findFirstLink.
struct FinderRun {
  const FoundLinks& limited;
  FoundLinks full;
  std::string first;
};

// Runs `finder` on `status` in that order, into `limited` (the caller's lists,
// which live on from input to input as the plug-in's do, so that each call
// replaces what the previous one left), and passes the results through
// checkCommon with the finder's highest kind digit `maxKind`.
inline FinderRun runFinder(LinkFinder& finder, const FinderSettings& settings,
                           const std::string& status, std::int32_t maxCount, FoundLinks& limited,
                           char maxKind) {
  FinderRun run{limited, FoundLinks(), std::string()};
  finder.findLinks(settings, status, maxCount, limited);
  finder.findLinks(settings, status, std::numeric_limits<std::int32_t>::max(), run.full);
  run.first = finder.findFirstLink(settings, status);
  checkCommon(limited.displayLinks, limited.openLinks, run.full.displayLinks, run.full.openLinks,
              run.first, maxCount, maxKind);
  return run;
}

// Calls `pieceOf(candidate, address)` for each link of `full` in order (it
// checks the link and returns the piece of text it stands for), then checks
// that the pieces occur in that order in the part of `status` the finder
// looks at; `what` names that check.
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
