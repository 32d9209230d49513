// Building the program: an expression's tree as the instructions of a
// nondeterministic machine, with the byte sets its steps take.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "links/regex_byte_sets.h"
#include "links/regex_syntax.h"

namespace brisko::regex {

// A repeat whose body can match the empty string follows Boost's rule: an
// iteration that matched the empty string ends the repeat, even below its
// minimum count. Such an iteration is bracketed by kIterStart, which marks
// "began at this position" in a per-path flag, and kIterEnd, which leaves the
// repeat when the flag is still set (nothing was taken since). Flags are
// numbered by how many such iterations enclose the instruction ("depth"), so
// at most kMaxEmptyDepth of them are live on any path.
enum class Op : std::uint8_t { kStep, kSplit, kJump, kAssert, kIterStart, kIterEnd, kMatch };

struct Inst {
  Op op = Op::kMatch;
  std::uint8_t depth = 0;  // flags in force here: bits 0..depth-1
  std::uint8_t arg = 0;    // kAssert: the Assertion; kIterStart, kIterEnd: the flag bit
  std::uint32_t x = 0;     // kStep: the step number; kSplit (preferred), kJump, kIterEnd (exit)
  std::uint32_t y = 0;     // kSplit: the other branch
};

// Limits of what is built; larger expressions are left to Boost.
inline constexpr std::size_t kMaxInstructions = 2000;
// Repeats whose body can match the empty string, one within another.
inline constexpr unsigned kMaxEmptyDepth = 4;

struct Program {
  std::vector<Inst> code;              // starts at 0, ends with one kMatch
  std::vector<std::uint32_t> stepSet;  // the set number of each step (kStep's x)
  std::vector<ByteSet> sets;           // the distinct byte sets
  ByteSet word{};                      // the word bytes (for \b and \B); also set 0
};

// Fills `program` from `root`. Fails when an atom's set cannot be had from
// the library, when a construct is one whose meaning here is in doubt ("$"
// inside a repeat, a lazy bounded repeat of one class), or when the program
// grows beyond the limits.
bool emitProgram(const Node& root, Program& program);

}  // namespace brisko::regex
