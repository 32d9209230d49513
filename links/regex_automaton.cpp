#include "links/regex_automaton.h"

namespace brisko::regex {

namespace {

// The context of a position: which assertions hold there.
constexpr unsigned kAtWordBoundary = 1;
constexpr unsigned kAtLineStart = 2;
constexpr unsigned kAtLineEnd = 4;

bool holds(Assertion assertion, unsigned context) {
  switch (assertion) {
    case Assertion::kWordBoundary:
      return (context & kAtWordBoundary) != 0;
    case Assertion::kNotWordBoundary:
      return (context & kAtWordBoundary) == 0;
    case Assertion::kLineStart:
      return (context & kAtLineStart) != 0;
    case Assertion::kLineEnd:
      return (context & kAtLineEnd) != 0;
  }
  return false;
}

class Closure {
 public:
  Closure(const std::vector<Inst>& code, std::uint32_t steps)
      : code_(code),
        steps_(steps),
        seen_(code.size() << kMaxEmptyDepth, 0),
        listed_(steps + 1, 0) {}

  // Instructions visited so far, by all runs.
  std::size_t work() const { return work_; }

  // Returns whether the result depends on the context.
  bool run(std::uint32_t origin, unsigned context, std::vector<std::uint16_t>& out) {
    ++stamp_;
    bool usedContext = false;
    stack_.clear();
    stack_.push_back({origin, 0});
    while (!stack_.empty()) {
      const Item item = stack_.back();
      stack_.pop_back();
      ++work_;
      const Inst& inst = code_[item.pc];
      const unsigned flags = item.flags & ((1u << inst.depth) - 1);
      std::uint32_t& seen = seen_[(item.pc << kMaxEmptyDepth) | flags];
      if (seen == stamp_) continue;
      seen = stamp_;
      switch (inst.op) {
        case Op::kStep:
          if (listed_[inst.x] != stamp_) {
            listed_[inst.x] = stamp_;
            out.push_back(static_cast<std::uint16_t>(inst.x));
          }
          break;
        case Op::kMatch:
          out.push_back(static_cast<std::uint16_t>(steps_));
          return usedContext;
        case Op::kJump:
          stack_.push_back({inst.x, flags});
          break;
        case Op::kSplit:
          stack_.push_back({inst.y, flags});
          stack_.push_back({inst.x, flags});
          break;
        case Op::kAssert:
          usedContext = true;
          if (holds(static_cast<Assertion>(inst.arg), context)) {
            stack_.push_back({item.pc + 1, flags});
          }
          break;
        case Op::kIterStart:
          stack_.push_back({item.pc + 1, flags | (1u << inst.arg)});
          break;
        case Op::kIterEnd:
          if (flags & (1u << inst.arg)) {
            stack_.push_back({inst.x, flags});  // an empty iteration ends the repeat
          } else {
            stack_.push_back({item.pc + 1, flags});
          }
          break;
      }
    }
    return usedContext;
  }

 private:
  struct Item {
    std::uint32_t pc;
    unsigned flags;
  };
  const std::vector<Inst>& code_;
  std::uint32_t steps_;
  std::vector<std::uint32_t> seen_;
  std::vector<std::uint32_t> listed_;
  std::vector<Item> stack_;
  std::uint32_t stamp_ = 0;
  std::size_t work_ = 0;
};

}  // namespace

bool buildAutomaton(const Program& program, Automaton& automaton, const AutomatonLimits& limits) {
  static_assert(Automaton::kWordBoundary == kAtWordBoundary &&
                Automaton::kLineStart == kAtLineStart && Automaton::kLineEnd == kAtLineEnd);
  Automaton& r = automaton;
  r = Automaton();
  const Program& emitter = program;
  const std::vector<Inst>& code = emitter.code;
  r.steps = static_cast<std::uint32_t>(emitter.stepSet.size());

  r.member.reserve(emitter.sets.size() * 256);
  for (const ByteSet& set : emitter.sets) r.member.insert(r.member.end(), set.begin(), set.end());
  for (const std::uint32_t set : emitter.stepSet) r.setRow.push_back(set * 256);

  // Byte kinds for the context, and the context of each pair of kinds.
  enum : std::uint8_t { kWord, kReturn, kNewline, kSeparator, kOther };
  for (unsigned c = 0; c < 256; ++c) {
    std::uint8_t kind = kOther;
    if (c == '\r') {
      kind = kReturn;
    } else if (c == '\n') {
      kind = kNewline;
    } else if (c == '\f') {
      kind = kSeparator;
    }
    // A line separator that is also a word byte would need kinds of its own.
    if (emitter.word[c]) {
      if (kind != kOther) return false;
      kind = kWord;
    }
    r.byteKind[c] = kind;
  }
  for (unsigned before = 0; before < Automaton::kByteKinds; ++before) {
    for (unsigned after = 0; after < Automaton::kByteKinds; ++after) {
      const bool atStart = before == Automaton::kNoByte;
      const bool atEnd = after == Automaton::kNoByte;
      const bool separatorBefore = before == kReturn || before == kNewline || before == kSeparator;
      const bool separatorAfter = after == kReturn || after == kNewline || after == kSeparator;
      const bool insideCrLf = before == kReturn && after == kNewline;
      unsigned context = 0;
      if ((before == kWord) != (after == kWord)) context |= Automaton::kWordBoundary;
      if (atStart || (separatorBefore && !insideCrLf)) context |= Automaton::kLineStart;
      if (atEnd || (separatorAfter && !insideCrLf)) context |= Automaton::kLineEnd;
      r.context[before * Automaton::kByteKinds + after] = static_cast<std::uint8_t>(context);
    }
  }

  // The follow lists: from the start (origin 0) and from after each step.
  std::vector<std::uint32_t> origins(r.steps + 1, 0);
  for (std::uint32_t pc = 0; pc < code.size(); ++pc) {
    if (code[pc].op == Op::kStep) origins[code[pc].x] = pc + 1;
  }
  origins[r.steps] = 0;
  r.next.assign(static_cast<std::size_t>(r.steps + 1) * Automaton::kContexts * 2, 0);
  Closure closure(code, r.steps);
  for (std::uint32_t origin = 0; origin <= r.steps; ++origin) {
    bool dependsOnContext = true;
    for (unsigned context = 0; context < Automaton::kContexts; ++context) {
      const std::size_t slot =
          (static_cast<std::size_t>(origin) * Automaton::kContexts + context) * 2;
      if (context > 0 && !dependsOnContext) {
        r.next[slot] = r.next[slot - 2];
        r.next[slot + 1] = r.next[slot - 1];
        continue;
      }
      r.next[slot] = static_cast<std::uint32_t>(r.follow.size());
      dependsOnContext = closure.run(origins[origin], context, r.follow);
      r.next[slot + 1] = static_cast<std::uint32_t>(r.follow.size());
      r.buildWork = closure.work();
      if (r.follow.size() > limits.follow || closure.work() > limits.closureWork) return false;
    }
  }

  // Where a search may begin.
  r.startByte.assign(Automaton::kContexts * 256, 0);
  for (unsigned context = 0; context < Automaton::kContexts; ++context) {
    const std::size_t slot =
        (static_cast<std::size_t>(r.steps) * Automaton::kContexts + context) * 2;
    for (std::uint32_t i = r.next[slot]; i < r.next[slot + 1]; ++i) {
      const std::uint32_t step = r.follow[i];
      if (step == r.steps) {
        r.startMatch[context] = 1;
        continue;
      }
      for (unsigned c = 0; c < 256; ++c) {
        if (r.member[r.setRow[step] + c]) r.startByte[context * 256 + c] = 1;
      }
    }
  }
  return true;
}

}  // namespace brisko::regex
