#include "links/regex_program.h"

#include <map>
#include <string>

namespace brisko::regex {

namespace {

class Emitter {
 public:
  explicit Emitter(Program& program)
      : code(program.code), stepSet(program.stepSet), sets(program.sets), word(program.word) {}

  std::vector<Inst>& code;
  std::vector<std::uint32_t>& stepSet;
  std::vector<ByteSet>& sets;
  ByteSet& word;

  // The word bytes (for \b and \B), also the set of "\w".
  bool init() {
    if (!boostByteSet("\\w", word)) return false;
    setNumbers_.emplace("\\w", static_cast<std::uint32_t>(sets.size()));
    sets.push_back(word);
    return true;
  }

  bool emit(const Node& node, unsigned depth) {
    switch (node.kind) {
      case Node::kEmpty:
        return true;
      case Node::kAtom: {
        std::uint32_t set = 0;
        if (!setOf(node, set)) return false;
        Inst step;
        step.op = Op::kStep;
        step.x = static_cast<std::uint32_t>(stepSet.size());
        stepSet.push_back(set);
        return add(step, depth);
      }
      case Node::kAssert: {
        // Boost decides whether to enter a repeat at the end of the text by
        // what it computed in advance, and for a body that reaches "$" it
        // can compute that wrongly; such repeats are left to Boost.
        if (node.assertion == Assertion::kLineEnd && repeats_ > 0) return false;
        Inst test;
        test.op = Op::kAssert;
        test.arg = static_cast<std::uint8_t>(node.assertion);
        return add(test, depth);
      }
      case Node::kConcat:
        for (const Node& child : node.children) {
          if (!emit(child, depth)) return false;
        }
        return true;
      case Node::kAlternation:
        return alternation(node, depth);
      case Node::kRepeat:
        return repeat(node, depth);
    }
    return false;
  }

 private:
  bool add(Inst inst, unsigned depth) {
    if (code.size() >= kMaxInstructions) return false;
    inst.depth = static_cast<std::uint8_t>(depth);
    code.push_back(inst);
    return true;
  }
  std::uint32_t here() const { return static_cast<std::uint32_t>(code.size()); }

  bool setOf(const Node& node, std::uint32_t& set) {
    const auto known = setNumbers_.find(node.atom);
    if (known != setNumbers_.end()) {
      set = known->second;
      return true;
    }
    ByteSet bytes{};
    if (node.literal) {
      bytes[static_cast<unsigned char>(node.atom[0])] = 1;
    } else if (!boostByteSet(node.atom, bytes)) {
      return false;
    }
    set = static_cast<std::uint32_t>(sets.size());
    sets.push_back(bytes);
    setNumbers_.emplace(node.atom, set);
    return true;
  }

  bool alternation(const Node& node, unsigned depth) {
    std::vector<std::uint32_t> jumps;
    for (std::size_t i = 0; i + 1 < node.children.size(); ++i) {
      const std::uint32_t split = here();
      Inst inst;
      inst.op = Op::kSplit;
      inst.x = split + 1;
      if (!add(inst, depth) || !emit(node.children[i], depth)) return false;
      jumps.push_back(here());
      Inst jump;
      jump.op = Op::kJump;
      if (!add(jump, depth)) return false;
      code[split].y = here();
    }
    if (!emit(node.children.back(), depth)) return false;
    for (const std::uint32_t jump : jumps) code[jump].x = here();
    return true;
  }

  // One iteration of a repeat's body. `checked`: an empty iteration leaves
  // the repeat (through a kIterEnd whose exit is patched via `exits`).
  bool iteration(const Node& body, unsigned depth, bool checked,
                 std::vector<std::uint32_t>& exits) {
    if (!checked) return emit(body, depth);
    if (depth >= kMaxEmptyDepth) return false;
    Inst start;
    start.op = Op::kIterStart;
    start.arg = static_cast<std::uint8_t>(depth);
    if (!add(start, depth) || !emit(body, depth + 1)) return false;
    exits.push_back(here());
    Inst end;
    end.op = Op::kIterEnd;
    end.arg = static_cast<std::uint8_t>(depth);
    return add(end, depth + 1);
  }

  // A split between another iteration and the exit (patched via `exits`),
  // in the order the repeat prefers.
  bool choice(bool greedy, unsigned depth, std::vector<std::uint32_t>& exits,
              std::vector<std::uint32_t>& exitsAsOther) {
    Inst split;
    split.op = Op::kSplit;
    if (greedy) {
      split.x = here() + 1;
      exitsAsOther.push_back(here());
    } else {
      split.y = here() + 1;
      exits.push_back(here());  // x is the exit
    }
    return add(split, depth);
  }

  bool repeat(const Node& node, unsigned depth) {
    ++repeats_;
    const bool done = repeatBody(node, depth);
    --repeats_;
    return done;
  }

  bool repeatBody(const Node& node, unsigned depth) {
    const Node& body = node.children.front();
    // A lazy repeat of one byte class with a maximum (2 or more) that comes
    // first in the expression makes Boost pass over some start positions.
    if (!node.greedy && body.kind == Node::kAtom && node.max >= 2 && node.max > node.min) {
      return false;
    }
    const bool empty = canBeEmpty(body);
    std::vector<std::uint32_t> exits;         // instructions whose x is the exit
    std::vector<std::uint32_t> exitsAsOther;  // splits whose y is the exit
    for (int i = 1; i <= node.min; ++i) {
      const bool last = node.max == i;
      if (!iteration(body, depth, empty && !last, exits)) return false;
    }
    if (node.max == -1) {
      const std::uint32_t loop = here();
      if (!choice(node.greedy, depth, exits, exitsAsOther) ||
          !iteration(body, depth, empty, exits)) {
        return false;
      }
      Inst jump;
      jump.op = Op::kJump;
      jump.x = loop;
      if (!add(jump, depth)) return false;
    } else {
      for (int i = node.min + 1; i <= node.max; ++i) {
        if (!choice(node.greedy, depth, exits, exitsAsOther) ||
            !iteration(body, depth, empty && i < node.max, exits)) {
          return false;
        }
      }
    }
    for (const std::uint32_t at : exits) code[at].x = here();
    for (const std::uint32_t at : exitsAsOther) code[at].y = here();
    return true;
  }

  std::map<std::string, std::uint32_t> setNumbers_;
  int repeats_ = 0;  // repeats around the node being emitted
};

}  // namespace

bool emitProgram(const Node& root, Program& program) {
  program = Program();
  Emitter emitter(program);
  if (!emitter.init() || !emitter.emit(root, 0)) return false;
  if (program.code.size() >= kMaxInstructions) return false;
  program.code.emplace_back();  // Op::kMatch
  return program.stepSet.size() < 0xFFFF;
}

}  // namespace brisko::regex
