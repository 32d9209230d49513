// Benchmarks of the link finders on a corpus of Polish statuses.
//
// Pairs to compare (the report gives ratios of their times per corpus):
//   ToLowerAsciiCopy       vs AuthorScannerFindLinks   (scanner: at most 2x)
//   RegexSearchLoop        vs RegexFinderFindLinks     (finder: at most 1.5x)
//   RegexSearchLoop        vs LinearSearchLoop         (the two matchers alone)
//   RegexFinderFindLinks/library vs /linear            (linear: at most 1.2x)
//   RegexSearchLoopCompile shows what keeping the compiled expression saves.
// The finder searches with the linear-time matcher whenever it takes the
// expression; "/library" runs it on the default expression followed by an
// empty comment "(?#)", which means the same to the library but which only
// the library takes, so the finder searches as it did with the library alone.
// Worst cases: "x@x@..." for the default expression (both ways; at most 30x
// a benign 4 KiB status, and 64 KiB at most 20x 4 KiB), the worst-case table
// of four kinds of expression (the hostile status at most 30x the benign one
// of the same size), and texts that make the scanner test a prefix, or store
// a link, at almost every byte.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include <boost/regex.hpp>

#include "bench/status_corpus.h"
#include "links/author_scanner.h"
#include "links/linear_regex.h"
#include "links/link_front.h"
#include "links/regex_scanner.h"
#include "settings/link_settings.h"
#include "settings/texts.h"

namespace brisko::bench {
namespace {

const std::vector<std::string>& corpus() {
  static const std::vector<std::string> statuses = makeStatusCorpus();
  return statuses;
}

// Statuses as they usually are: up to 256 bytes.
const std::vector<std::string>& typicalStatuses() {
  static const std::vector<std::string> statuses = shortStatuses(corpus(), 256);
  return statuses;
}

LinkSettings registeredSettings() {
  LinkSettings settings;
  settings.linkCount = 10;
  settings.extraChars = texts::kRegisteredExtraChars;
  settings.regexSource = texts::kDefaultRegex;
  return settings;
}

// The default expression as the finder searches it: 0 with the library alone
// (an empty comment only the library takes), 1 with the linear-time matcher.
LinkSettings finderSettings(std::int64_t linear) {
  LinkSettings settings = registeredSettings();
  if (linear == 0) settings.regexSource += "(?#)";
  return settings;
}

void setFinderLabel(benchmark::State& state, std::int64_t linear) {
  state.SetLabel(linear != 0 ? "linear" : "library");
}

void setCorpusCounters(benchmark::State& state, const std::vector<std::string>& statuses) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(totalBytes(statuses)));
  state.counters["statuses"] = static_cast<double>(statuses.size());
}

// findLinks over every status of `statuses`, up to 10 links a call; with
// `freshStrings` each call first drops the spare strings, so it frees the
// strings of the entries it removes and allocates afresh for new ones.
template <class Finder>
void findLinksOver(benchmark::State& state, Finder& finder, const LinkSettings& settings,
                   const std::vector<std::string>& statuses, bool freshStrings = false) {
  FoundLinks found;
  std::size_t links = 0;
  for (auto _ : state) {
    for (const std::string& status : statuses) {
      if (freshStrings) found.spareStrings.clear();
      finder.findLinks(settings, status, 10, found);
      links += found.displayLinks.size();
    }
  }
  benchmark::DoNotOptimize(links);
  setCorpusCounters(state, statuses);
  state.counters["links"] = static_cast<double>(links) / static_cast<double>(state.iterations());
}

// --- the author's scanner --------------------------------------------------

void ToLowerAsciiCopy(benchmark::State& state) {
  const auto& statuses = corpus();
  for (auto _ : state) {
    for (const std::string& status : statuses) {
      std::string folded = toLowerAscii(status);
      benchmark::DoNotOptimize(folded.data());
    }
  }
  setCorpusCounters(state, statuses);
}
BENCHMARK(ToLowerAsciiCopy);

void AuthorScannerFindLinks(benchmark::State& state) {
  AuthorScanner scanner;
  findLinksOver(state, scanner, registeredSettings(), corpus());
}
BENCHMARK(AuthorScannerFindLinks);

// The same without spare strings: each call frees the strings of the entries
// it removes and allocates afresh for new ones.
void AuthorScannerFindLinksNoSpare(benchmark::State& state) {
  AuthorScanner scanner;
  findLinksOver(state, scanner, registeredSettings(), corpus(), true);
}
BENCHMARK(AuthorScannerFindLinksNoSpare);

// Through the front, as the menu asks.
void CollectLinksAuthor(benchmark::State& state) {
  const auto& statuses = corpus();
  const LinkSettings settings = registeredSettings();
  LinkFront front;
  for (auto _ : state) {
    for (const std::string& status : statuses) {
      front.collectLinks(settings, status, settings.linkCount);
      benchmark::DoNotOptimize(front.found().displayLinks.data());
    }
  }
  setCorpusCounters(state, statuses);
}
BENCHMARK(CollectLinksAuthor);

void AuthorScannerFindFirstLink(benchmark::State& state) {
  const auto& statuses = corpus();
  const LinkSettings settings = registeredSettings();
  AuthorScanner scanner;
  for (auto _ : state) {
    for (const std::string& status : statuses) {
      std::string first = scanner.findFirstLink(settings, status);
      benchmark::DoNotOptimize(first.data());
    }
  }
  setCorpusCounters(state, statuses);
}
BENCHMARK(AuthorScannerFindFirstLink);

// --- the regular-expression finder ----------------------------------------

// The searches the finder makes, without classifying or storing anything:
// successive searches from the end of each match, at most `maxCount` matches.
std::size_t searchLoop(const boost::regex& expression, const std::string& text,
                       std::size_t maxCount) {
  const char* position = text.data();
  const char* const end = text.data() + text.size();
  boost::cmatch match;
  std::size_t found = 0;
  while (found < maxCount && boost::regex_search(position, end, match, expression)) {
    if (match[0].first == match[0].second) {
      if (match[0].second == end) break;
      position = match[0].second + 1;
      continue;
    }
    position = match[0].second;
    ++found;
  }
  return found;
}

void RegexSearchLoop(benchmark::State& state) {
  const auto& statuses = typicalStatuses();
  const boost::regex expression(texts::kDefaultRegex);
  std::size_t matches = 0;
  for (auto _ : state) {
    for (const std::string& status : statuses) matches += searchLoop(expression, status, 10);
  }
  benchmark::DoNotOptimize(matches);
  setCorpusCounters(state, statuses);
  state.counters["links"] = static_cast<double>(matches) / static_cast<double>(state.iterations());
}
BENCHMARK(RegexSearchLoop);

// The same searches with the linear-time matcher.
std::size_t linearSearchLoop(const LinearRegex& expression, const std::string& text,
                             std::size_t maxCount) {
  const char* position = text.data();
  const char* const end = text.data() + text.size();
  const char* matchBegin = nullptr;
  const char* matchEnd = nullptr;
  std::size_t found = 0;
  while (found < maxCount && expression.search(position, end, &matchBegin, &matchEnd)) {
    if (matchBegin == matchEnd) {
      if (matchEnd == end) break;
      position = matchEnd + 1;
      continue;
    }
    position = matchEnd;
    ++found;
  }
  return found;
}

void LinearSearchLoop(benchmark::State& state) {
  const auto& statuses = typicalStatuses();
  const auto expression = LinearRegex::compile(texts::kDefaultRegex);
  if (!expression) {
    state.SkipWithError("the default expression is not taken");
    return;
  }
  std::size_t matches = 0;
  for (auto _ : state) {
    for (const std::string& status : statuses) matches += linearSearchLoop(*expression, status, 10);
  }
  benchmark::DoNotOptimize(matches);
  setCorpusCounters(state, statuses);
  state.counters["links"] = static_cast<double>(matches) / static_cast<double>(state.iterations());
}
BENCHMARK(LinearSearchLoop);

// Compiling the default expression for the linear-time matcher (the finder
// does it once per change of the expression).
void LinearCompile(benchmark::State& state) {
  for (auto _ : state) {
    auto expression = LinearRegex::compile(texts::kDefaultRegex);
    benchmark::DoNotOptimize(expression.get());
  }
}
BENCHMARK(LinearCompile)->Unit(benchmark::kMicrosecond);

void RegexFinderFindLinks(benchmark::State& state) {
  RegexScanner scanner;
  findLinksOver(state, scanner, finderSettings(state.range(0)), typicalStatuses());
  setFinderLabel(state, state.range(0));
}
BENCHMARK(RegexFinderFindLinks)->Arg(0)->Arg(1);

// The same loop, compiling the expression for every status.
void RegexSearchLoopCompile(benchmark::State& state) {
  const auto& statuses = typicalStatuses();
  std::size_t matches = 0;
  for (auto _ : state) {
    for (const std::string& status : statuses) {
      const boost::regex expression(texts::kDefaultRegex);
      matches += searchLoop(expression, status, 10);
    }
  }
  benchmark::DoNotOptimize(matches);
  setCorpusCounters(state, statuses);
}
BENCHMARK(RegexSearchLoopCompile);

// The whole corpus, up to 4 KiB a status.
void RegexSearchLoopCorpus(benchmark::State& state) {
  const auto& statuses = corpus();
  const boost::regex expression(texts::kDefaultRegex);
  std::size_t matches = 0;
  for (auto _ : state) {
    for (const std::string& status : statuses) matches += searchLoop(expression, status, 10);
  }
  benchmark::DoNotOptimize(matches);
  setCorpusCounters(state, statuses);
}
BENCHMARK(RegexSearchLoopCorpus)->Unit(benchmark::kMillisecond);

void RegexFinderFindLinksCorpus(benchmark::State& state) {
  RegexScanner scanner;
  findLinksOver(state, scanner, finderSettings(state.range(0)), corpus(), true);
  setFinderLabel(state, state.range(0));
}
BENCHMARK(RegexFinderFindLinksCorpus)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// --- worst cases ------------------------------------------------------------

std::string repeated(const std::string& piece, std::size_t length) {
  std::string text;
  while (text.size() < length) text += piece;
  text.resize(length);
  return text;
}

// `finder` on one text, up to `maxCount` links a call; reports the bytes
// read and the links found.
template <class Finder>
void runFinder(benchmark::State& state, Finder& finder, const LinkSettings& settings,
               const std::string& text, std::int32_t maxCount = 10) {
  FoundLinks found;
  for (auto _ : state) {
    finder.findLinks(settings, text, maxCount, found);
    benchmark::DoNotOptimize(found.displayLinks.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(text.size()));
  state.counters["links"] = static_cast<double>(found.displayLinks.size());
}

void runRegexFinder(benchmark::State& state, const LinkSettings& settings,
                    const std::string& text) {
  RegexScanner scanner;
  runFinder(state, scanner, settings, text);
}

// The finder on one text; range(1) chooses the matcher (0 the library alone,
// 1 linear).
void findLinksIn(benchmark::State& state, const std::string& text) {
  const LinkSettings settings = finderSettings(state.range(1));
  runRegexFinder(state, settings, text);
  setFinderLabel(state, state.range(1));
}

// "x@x@...": the optional user part of the default expression is tried from
// every word boundary to every later "@". The library's searches are stopped
// by their work bound (and find nothing); the linear-time matcher reads the
// text once.
void RegexFinderWorstCase(benchmark::State& state) {
  findLinksIn(state, repeated("x@", static_cast<std::size_t>(state.range(0))));
}
BENCHMARK(RegexFinderWorstCase)
    ->Args({1024, 0})
    ->Args({1024, 1})
    ->Args({4096, 0})
    ->Args({4096, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(RegexFinderWorstCase)->Args({65536, 0})->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(RegexFinderWorstCase)->Args({65536, 1})->Unit(benchmark::kMillisecond);

// A benign status of 4 KiB: statuses of the corpus one after another.
void RegexFinderBenign4K(benchmark::State& state) {
  std::string text;
  for (const std::string& status : corpus()) {
    if (text.size() >= 4096) break;
    text += status;
    text += ' ';
  }
  text.resize(4096);
  findLinksIn(state, text);
}
BENCHMARK(RegexFinderBenign4K)->Args({0, 0})->Args({0, 1})->Unit(benchmark::kMillisecond);

// The worst-case table: one menu event (findLinks, at most 10 links) for four
// kinds of expression, each on a benign status (statuses of the corpus one
// after another) and on a hostile one, of 4 KiB and 64 KiB. The hostile case
// should cost at most 30 times the benign one of the same size and
// expression (the benign status is read to its end too). range(0) chooses
// the expression:
//   0 the default expression,
//   1 "(?i)" followed by the default expression,
//   2 an expression that matches the empty string, "(?:\S*@)?",
//   3 one the linear-time matcher leaves to the library (a look-ahead
//     before the default expression);
// range(1) the size, range(2) 0 benign, 1 hostile ("x@x@..." for 0, 1 and 3,
// "xxx..." for 2).
std::string tableExpression(std::int64_t which) {
  const std::string standard = texts::kDefaultRegex;
  switch (which) {
    case 1:
      return "(?i)" + standard;
    case 2:
      return "(?:\\S*@)?";
    case 3:
      return "(?=\\S)" + standard;
    default:
      return standard;
  }
}

// Ordinary text that a search must read to its end: statuses of the corpus
// one after another, with ".", "@" and ":" made spaces (no links) but in the
// last 512 bytes, which keep their links.
std::string benignStatus(std::size_t length) {
  std::string text;
  while (text.size() < length) {
    for (const std::string& status : corpus()) {
      if (text.size() >= length) break;
      text += status;
      text += ' ';
    }
  }
  text.resize(length);
  for (std::size_t i = 0; i + 512 < length; ++i) {
    if (text[i] == '.' || text[i] == '@' || text[i] == ':') text[i] = ' ';
  }
  return text;
}

void WorstCaseTable(benchmark::State& state) {
  static const char* const kNames[] = {"default", "(?i)default", "nullable", "library"};
  const auto which = state.range(0);
  const auto size = static_cast<std::size_t>(state.range(1));
  const bool hostile = state.range(2) != 0;
  const std::string text = hostile ? repeated(which == 2 ? "x" : "x@", size) : benignStatus(size);
  LinkSettings settings = registeredSettings();
  settings.regexSource = tableExpression(which);
  runRegexFinder(state, settings, text);
  state.SetLabel(std::string(kNames[which]) + (hostile ? " hostile" : " benign"));
}
BENCHMARK(WorstCaseTable)
    ->ArgsProduct({{0, 1, 2, 3}, {4096, 65536}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

// The scanner on 64 KiB texts: a prefix test at nearly every byte, an empty
// link at every eighth byte, and a stored link every six bytes with the
// maximum set to the largest stored value.
void AuthorScannerWorstCase(benchmark::State& state) {
  static const char* const kPieces[] = {"wwwhttp:/", "http:// ", "www.a "};
  const std::string text = repeated(kPieces[state.range(0)], 65536);
  const std::int32_t maxCount = state.range(0) == 2 ? std::numeric_limits<std::int32_t>::max() : 10;
  AuthorScanner scanner;
  runFinder(state, scanner, registeredSettings(), text, maxCount);
}
BENCHMARK(AuthorScannerWorstCase)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

// The copy the scanner is measured against, on a 64 KiB text.
void ToLowerAsciiCopy64K(benchmark::State& state) {
  const std::string text = repeated("wwwhttp:/", 65536);
  for (auto _ : state) {
    std::string folded = toLowerAscii(text);
    benchmark::DoNotOptimize(folded.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 65536);
}
BENCHMARK(ToLowerAsciiCopy64K)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace brisko::bench

BENCHMARK_MAIN();
