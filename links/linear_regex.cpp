#include "links/linear_regex.h"

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "links/regex_byte_sets.h"
#include "links/regex_program.h"
#include "links/regex_syntax.h"

namespace brisko {

LinearRegex::LinearRegex() = default;
LinearRegex::~LinearRegex() = default;

std::unique_ptr<const LinearRegex> LinearRegex::compile(const std::string& source) {
  // Boost refuses it; so does this.
  if (regex::compileQuietly(source).status() != 0) return nullptr;
  regex::Node root;
  if (!regex::parse(source, root)) return nullptr;
  regex::Program program;
  if (!regex::emitProgram(root, program)) return nullptr;
  std::unique_ptr<LinearRegex> compiled(new LinearRegex());
  if (!regex::buildAutomaton(program, compiled->automaton_)) return nullptr;
  return compiled;
}

bool LinearRegex::search(const char* begin, const char* end, const char** matchBegin,
                         const char** matchEnd) const {
  const char* stoppedAt = nullptr;
  return search(begin, end, matchBegin, matchEnd, &stoppedAt);
}

bool LinearRegex::search(const char* begin, const char* end, const char** matchBegin,
                         const char** matchEnd, const char** stoppedAt) const {
  const regex::Automaton& a = automaton_;
  const std::uint32_t steps = a.steps;
  constexpr unsigned kContexts = regex::Automaton::kContexts;
  constexpr unsigned kByteKinds = regex::Automaton::kByteKinds;
  constexpr std::uint8_t kNoByte = regex::Automaton::kNoByte;
  struct Thread {
    std::uint32_t step;
    const unsigned char* start;
  };
  // Two lists of threads (at the current and at the next position), each
  // with an index from step to place for the test "already listed".
  std::vector<Thread> threads(static_cast<std::size_t>(steps) * 2 + 2);
  std::vector<std::uint32_t> places(static_cast<std::size_t>(steps) * 2 + 2, 0);
  Thread* current = threads.data();
  Thread* following = current + steps + 1;
  std::uint32_t* currentPlace = places.data();
  std::uint32_t* followingPlace = currentPlace + steps + 1;
  std::uint32_t currentSize = 0;

  const auto* const first = reinterpret_cast<const unsigned char*>(begin);
  const auto* const last = reinterpret_cast<const unsigned char*>(end);
  const unsigned char* p = first;
  bool matched = false;
  const unsigned char* found = nullptr;
  const unsigned char* foundEnd = nullptr;

  std::uint8_t kindBefore = kNoByte;
  std::uint8_t kindAt = p < last ? a.byteKind[*p] : kNoByte;
  unsigned context = a.context[kindBefore * kByteKinds + kindAt];
  for (;;) {
    if (!matched) {
      if (currentSize == 0) {
        // No thread alive: move on to where a match may begin.
        while (p < last && !a.startMatch[context] && !a.startByte[context * 256 + *p]) {
          ++p;
          kindBefore = kindAt;
          kindAt = p < last ? a.byteKind[*p] : kNoByte;
          context = a.context[kindBefore * kByteKinds + kindAt];
        }
      }
      // A match beginning here is the least preferred of all.
      const std::size_t slot = (static_cast<std::size_t>(steps) * kContexts + context) * 2;
      for (std::uint32_t i = a.next[slot]; i < a.next[slot + 1]; ++i) {
        const std::uint32_t step = a.follow[i];
        if (step == steps) {
          matched = true;
          found = p;
          foundEnd = p;
          break;
        }
        const std::uint32_t place = currentPlace[step];
        if (place < currentSize && current[place].step == step) continue;
        currentPlace[step] = currentSize;
        current[currentSize++] = {step, p};
      }
    }
    if (currentSize == 0 || p == last) break;

    // Every thread takes the byte at p, in order of preference.
    const unsigned char c = *p;
    const std::uint8_t kindAfter = p + 1 < last ? a.byteKind[p[1]] : kNoByte;
    const unsigned nextContext = a.context[kindAt * kByteKinds + kindAfter];
    std::uint32_t followingSize = 0;
    for (std::uint32_t t = 0; t < currentSize; ++t) {
      const Thread thread = current[t];
      if (!a.member[a.setRow[thread.step] + c]) continue;
      const std::size_t slot =
          (static_cast<std::size_t>(thread.step) * kContexts + nextContext) * 2;
      const std::uint32_t listEnd = a.next[slot + 1];
      bool cut = false;
      for (std::uint32_t i = a.next[slot]; i < listEnd; ++i) {
        const std::uint32_t step = a.follow[i];
        if (step == steps) {
          // A match; every thread after this one is less preferred.
          matched = true;
          found = thread.start;
          foundEnd = p + 1;
          cut = true;
          break;
        }
        const std::uint32_t place = followingPlace[step];
        if (place < followingSize && following[place].step == step) continue;
        followingPlace[step] = followingSize;
        following[followingSize++] = {step, thread.start};
      }
      if (cut) break;
    }
    std::swap(current, following);
    std::swap(currentPlace, followingPlace);
    currentSize = followingSize;
    ++p;
    kindBefore = kindAt;
    kindAt = kindAfter;
    context = nextContext;
  }
  *stoppedAt = reinterpret_cast<const char*>(p);
  if (!matched) return false;
  *matchBegin = reinterpret_cast<const char*>(found);
  *matchEnd = reinterpret_cast<const char*>(foundEnd);
  return true;
}

}  // namespace brisko
