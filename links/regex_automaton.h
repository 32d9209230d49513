// The automaton the linear-time matcher runs: for each consuming step of a
// program, the bytes it takes and, for each context of the next position,
// where the search may continue, in order of preference.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "links/regex_program.h"

namespace brisko::regex {

// Limits of what is built; larger automata are left to Boost.
inline constexpr std::size_t kMaxFollow = std::size_t{1} << 20;  // entries of all follow lists
inline constexpr std::size_t kMaxClosureWork = 8u << 20;  // instructions visited to make them

struct AutomatonLimits {
  std::size_t follow = kMaxFollow;
  std::size_t closureWork = kMaxClosureWork;
};

struct Automaton {
  // Where a search may go after position p depends on the bytes around p
  // only through these three facts (the context of p).
  static constexpr unsigned kWordBoundary = 1;  // \b holds at p
  static constexpr unsigned kLineStart = 2;     // ^ holds at p
  static constexpr unsigned kLineEnd = 4;       // $ holds at p
  static constexpr unsigned kContexts = 8;

  // What a byte is for the context: a word byte, "\r", "\n", another line
  // separator, anything else; kNoByte stands for the ends of the text.
  static constexpr unsigned kByteKinds = 6;
  static constexpr std::uint8_t kNoByte = 5;

  // The consuming steps, numbered 0..steps-1. Step s takes byte c when
  // member[setRow[s] + c] is 1. "Step" steps stands for the start of the
  // expression, and, in a follow list, for its end (a match).
  std::uint32_t steps = 0;
  std::vector<std::uint32_t> setRow;
  std::vector<std::uint8_t> member;

  // Where the search may continue after step s took a byte (or from the
  // start, s = steps), when the context of the new position is x: the steps
  // in order of preference, follow[next[(s * kContexts + x) * 2] ..
  // next[... + 1]). The value `steps` in a list is a match; nothing follows it.
  std::vector<std::uint32_t> next;
  std::vector<std::uint16_t> follow;

  // Context of a position from the kinds of the bytes before and after it.
  std::uint8_t byteKind[256] = {};
  std::uint8_t context[kByteKinds * kByteKinds] = {};
  // A search may begin at a position of context x before byte c only when
  // startByte[x * 256 + c]; it matches there at once when startMatch[x].
  std::vector<std::uint8_t> startByte;
  std::uint8_t startMatch[kContexts] = {};

  // Instructions visited to make the follow lists.
  std::size_t buildWork = 0;

  unsigned contextOf(std::uint8_t kindBefore, std::uint8_t kindAfter) const {
    return context[kindBefore * kByteKinds + kindAfter];
  }
  bool takes(std::uint32_t step, unsigned char c) const { return member[setRow[step] + c] != 0; }
  // The follow list of `origin` (a step, or `steps` for the start) in `ctx`.
  std::size_t listSlot(std::uint32_t origin, unsigned ctx) const {
    return (static_cast<std::size_t>(origin) * kContexts + ctx) * 2;
  }
};

// Fills `automaton` from `program`. Fails when a line separator is also a
// word byte (the contexts would not tell them apart) or when the follow lists
// or the work of making them exceed `limits`; that work is bounded by
// about the limit, however the program is made.
bool buildAutomaton(const Program& program, Automaton& automaton,
                    const AutomatonLimits& limits = AutomatonLimits());

}  // namespace brisko::regex
