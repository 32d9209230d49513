#include "links/linear_regex.h"

#include <array>
#include <cstddef>
#include <cstring>
#include <map>
#include <utility>

#include <boost/regex.hpp>

namespace brisko {

namespace {

// Limits of what is compiled here; larger expressions are left to Boost.
constexpr std::size_t kMaxInstructions = 2000;
constexpr std::size_t kMaxFollow = std::size_t{1} << 20;  // entries of all follow lists
constexpr std::size_t kMaxClosureWork = 8u << 20;         // instructions visited to make them
constexpr int kMaxCount = 1000;                           // n and m of {n,m}
constexpr int kMaxNesting = 64;                           // groups within groups
// Repeats whose body can match the empty string, one within another.
constexpr unsigned kMaxEmptyDepth = 4;

// ---------------------------------------------------------------------------
// The expression as a tree.

enum class Assertion : std::uint8_t { kWordBoundary, kNotWordBoundary, kLineStart, kLineEnd };

struct Node {
  enum Kind { kEmpty, kAtom, kAssert, kConcat, kAlternation, kRepeat };
  Kind kind = kEmpty;
  std::string atom;      // kAtom: its source text, or the byte itself when literal
  bool literal = false;  // kAtom: a plain byte that stands for itself
  Assertion assertion = Assertion::kWordBoundary;
  std::vector<Node> children;  // kConcat, kAlternation; kRepeat: the body
  int min = 0;
  int max = 0;  // -1: no upper bound
  bool greedy = true;
};

bool isHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Punctuation that an escape turns into the character itself. ("\<", "\>",
// "\`" and "\'" are assertions in this syntax and are not among them.)
bool isLiteralEscape(char c) {
  return c != '\0' && std::strchr(".\\-/()[]{}*+?|^$@:#%&=!,;~\"_ ", c) != nullptr;
}

// Parses the supported subset of Perl syntax. Anything else, or anything
// whose meaning in this syntax is in doubt, fails the parse.
class Parser {
 public:
  explicit Parser(const std::string& source) : s_(source) {}

  bool parse(Node& root) { return alternation(root, 0) && pos_ == s_.size(); }

 private:
  bool more(std::size_t ahead = 0) const { return pos_ + ahead < s_.size(); }
  char at(std::size_t ahead = 0) const { return s_[pos_ + ahead]; }

  bool alternation(Node& out, int nesting) {
    if (nesting > kMaxNesting) return false;
    Node first;
    if (!concatenation(first, nesting)) return false;
    if (!more() || at() != '|') {
      out = std::move(first);
      return true;
    }
    out = Node();
    out.kind = Node::kAlternation;
    out.children.push_back(std::move(first));
    while (more() && at() == '|') {
      ++pos_;
      Node next;
      if (!concatenation(next, nesting)) return false;
      out.children.push_back(std::move(next));
    }
    return true;
  }

  bool concatenation(Node& out, int nesting) {
    out = Node();
    out.kind = Node::kConcat;
    while (more() && at() != '|' && at() != ')') {
      Node item;
      bool quantifiable = true;
      if (!atom(item, nesting, quantifiable)) return false;
      if (more() && isQuantifier(at())) {
        if (!quantifiable) return false;
        Node repeat;
        repeat.kind = Node::kRepeat;
        if (!quantifier(repeat)) return false;
        repeat.children.push_back(std::move(item));
        item = std::move(repeat);
        if (more() && isQuantifier(at())) return false;
      }
      out.children.push_back(std::move(item));
    }
    if (out.children.size() == 1) {
      Node only = std::move(out.children.front());
      out = std::move(only);  // so that "(?:a)" is the atom itself
    }
    return true;
  }

  static bool isQuantifier(char c) { return c == '*' || c == '+' || c == '?' || c == '{'; }

  bool number(int& value) {
    if (!more() || at() < '0' || at() > '9') return false;
    value = 0;
    while (more() && at() >= '0' && at() <= '9') {
      value = value * 10 + (at() - '0');
      if (value > kMaxCount) return false;
      ++pos_;
    }
    return true;
  }

  bool quantifier(Node& repeat) {
    const char c = at();
    ++pos_;
    if (c == '*') {
      repeat.min = 0;
      repeat.max = -1;
    } else if (c == '+') {
      repeat.min = 1;
      repeat.max = -1;
    } else if (c == '?') {
      repeat.min = 0;
      repeat.max = 1;
    } else {  // {n} {n,} {n,m}, nothing looser
      if (!number(repeat.min)) return false;
      repeat.max = repeat.min;
      if (more() && at() == ',') {
        ++pos_;
        repeat.max = -1;
        if (more() && at() != '}' && !number(repeat.max)) return false;
      }
      if (!more() || at() != '}') return false;
      ++pos_;
      if (repeat.max != -1 && repeat.max < repeat.min) return false;
    }
    if (more() && at() == '?') {
      repeat.greedy = false;
      ++pos_;
    } else if (more() && at() == '+') {
      return false;  // possessive
    }
    return true;
  }

  // Length of the escape at pos_ + ahead (a backslash) when it stands for a
  // byte or a class of bytes, else 0.
  std::size_t byteEscapeLength(std::size_t ahead) const {
    if (!more(ahead + 1)) return 0;
    const char c = at(ahead + 1);
    if (std::strchr("wWsSdDnrtfae", c) != nullptr && c != '\0') return 2;
    if (c == 'x') {
      return more(ahead + 3) && isHexDigit(at(ahead + 2)) && isHexDigit(at(ahead + 3)) ? 4 : 0;
    }
    return isLiteralEscape(c) ? 2 : 0;
  }

  bool atom(Node& out, int nesting, bool& quantifiable) {
    const char c = at();
    switch (c) {
      case '(': {
        ++pos_;
        if (more() && at() == '?') {
          if (!more(1) || at(1) != ':') return false;  // only (?:...)
          pos_ += 2;
        } else if (more() && at() == '*') {
          return false;
        }
        if (!alternation(out, nesting + 1)) return false;
        if (!more() || at() != ')') return false;
        ++pos_;
        return true;
      }
      case '[':
        return bracket(out);
      case '.':
        ++pos_;
        out.kind = Node::kAtom;
        out.atom = ".";
        return true;
      case '^':
      case '$':
        ++pos_;
        out.kind = Node::kAssert;
        out.assertion = c == '^' ? Assertion::kLineStart : Assertion::kLineEnd;
        quantifiable = false;
        return true;
      case '\\': {
        if (more(1) && (at(1) == 'b' || at(1) == 'B')) {
          out.kind = Node::kAssert;
          out.assertion = at(1) == 'b' ? Assertion::kWordBoundary : Assertion::kNotWordBoundary;
          pos_ += 2;
          quantifiable = false;
          return true;
        }
        const std::size_t length = byteEscapeLength(0);
        if (length == 0) return false;
        out.kind = Node::kAtom;
        out.atom = s_.substr(pos_, length);
        pos_ += length;
        return true;
      }
      case '*':
      case '+':
      case '?':
      case '{':
      case '}':
      case ']':
      case ')':
        return false;
      default:
        ++pos_;
        out.kind = Node::kAtom;
        out.atom = std::string(1, c);
        out.literal = true;
        return true;
    }
  }

  // "[...]" or "[^...]"; "]" first stands for itself. Its meaning is left to
  // Boost; here only its end is found, so named classes, equivalence classes
  // and collating elements ("[:", "[=", "[.") are refused.
  bool bracket(Node& out) {
    std::size_t i = 1;
    if (more(i) && at(i) == '^') ++i;
    if (more(i) && at(i) == ']') ++i;
    for (;;) {
      if (!more(i)) return false;
      const char c = at(i);
      if (c == ']') break;
      if (c == '\\') {
        const std::size_t length = byteEscapeLength(i);
        if (length == 0) return false;
        i += length;
      } else if (c == '[' && more(i + 1) &&
                 (at(i + 1) == ':' || at(i + 1) == '=' || at(i + 1) == '.')) {
        return false;
      } else {
        ++i;
      }
    }
    out.kind = Node::kAtom;
    out.atom = s_.substr(pos_, i + 1);
    pos_ += i + 1;
    return true;
  }

  const std::string& s_;
  std::size_t pos_ = 0;
};

bool canBeEmpty(const Node& node) {
  switch (node.kind) {
    case Node::kAtom:
      return false;
    case Node::kConcat:
      for (const Node& child : node.children) {
        if (!canBeEmpty(child)) return false;
      }
      return true;
    case Node::kAlternation:
      for (const Node& child : node.children) {
        if (canBeEmpty(child)) return true;
      }
      return false;
    case Node::kRepeat:
      return node.min == 0 || canBeEmpty(node.children.front());
    case Node::kEmpty:
    case Node::kAssert:
      return true;
  }
  return true;
}

using ByteSet = std::array<std::uint8_t, 256>;

// The expression in the default syntax, with status() non-zero instead of
// an exception when Boost refuses it.
boost::regex compileQuietly(const std::string& source) {
  return boost::regex(source, boost::regex::perl | boost::regex::no_except);
}

// Which single bytes the expression `atom` matches, as Boost.Regex itself
// decides with the platform's default traits. Fails when Boost refuses it or
// when it matches the empty string (it would be no single-byte atom).
bool boostByteSet(const std::string& atom, ByteSet& set) {
  const boost::regex expression = compileQuietly(atom);
  if (expression.status() != 0) return false;
  const char none = '\0';
  if (boost::regex_match(&none, &none, expression)) return false;
  for (unsigned c = 0; c < 256; ++c) {
    const char byte = static_cast<char>(c);
    set[c] = boost::regex_match(&byte, &byte + 1, expression) ? 1 : 0;
  }
  return true;
}

// ---------------------------------------------------------------------------
// The program: the tree as instructions of a nondeterministic machine.
//
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

class Emitter {
 public:
  std::vector<Inst> code;
  std::vector<std::uint32_t> stepSet;  // set number of each step
  std::vector<ByteSet> sets;
  ByteSet word{};

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

// Fills a LinearRegex from the program.
class LinearRegexBuilder {
 public:
  static std::unique_ptr<const LinearRegex> build(const Emitter& emitter) {
    static_assert(LinearRegex::kWordBoundary == kAtWordBoundary &&
                  LinearRegex::kLineStart == kAtLineStart && LinearRegex::kLineEnd == kAtLineEnd);
    std::unique_ptr<LinearRegex> regex(new LinearRegex());
    LinearRegex& r = *regex;
    const std::vector<Inst>& code = emitter.code;
    r.steps_ = static_cast<std::uint32_t>(emitter.stepSet.size());

    r.member_.reserve(emitter.sets.size() * 256);
    for (const ByteSet& set : emitter.sets)
      r.member_.insert(r.member_.end(), set.begin(), set.end());
    for (const std::uint32_t set : emitter.stepSet) r.setRow_.push_back(set * 256);

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
        if (kind != kOther) return nullptr;
        kind = kWord;
      }
      r.byteKind_[c] = kind;
    }
    for (unsigned before = 0; before < LinearRegex::kByteKinds; ++before) {
      for (unsigned after = 0; after < LinearRegex::kByteKinds; ++after) {
        const bool atStart = before == LinearRegex::kNoByte;
        const bool atEnd = after == LinearRegex::kNoByte;
        const bool separatorBefore =
            before == kReturn || before == kNewline || before == kSeparator;
        const bool separatorAfter = after == kReturn || after == kNewline || after == kSeparator;
        const bool insideCrLf = before == kReturn && after == kNewline;
        unsigned context = 0;
        if ((before == kWord) != (after == kWord)) context |= LinearRegex::kWordBoundary;
        if (atStart || (separatorBefore && !insideCrLf)) context |= LinearRegex::kLineStart;
        if (atEnd || (separatorAfter && !insideCrLf)) context |= LinearRegex::kLineEnd;
        r.context_[before * LinearRegex::kByteKinds + after] = static_cast<std::uint8_t>(context);
      }
    }

    // The follow lists: from the start (origin 0) and from after each step.
    std::vector<std::uint32_t> origins(r.steps_ + 1, 0);
    for (std::uint32_t pc = 0; pc < code.size(); ++pc) {
      if (code[pc].op == Op::kStep) origins[code[pc].x] = pc + 1;
    }
    origins[r.steps_] = 0;
    r.next_.assign(static_cast<std::size_t>(r.steps_ + 1) * LinearRegex::kContexts * 2, 0);
    Closure closure(code, r.steps_);
    for (std::uint32_t origin = 0; origin <= r.steps_; ++origin) {
      bool dependsOnContext = true;
      for (unsigned context = 0; context < LinearRegex::kContexts; ++context) {
        const std::size_t slot =
            (static_cast<std::size_t>(origin) * LinearRegex::kContexts + context) * 2;
        if (context > 0 && !dependsOnContext) {
          r.next_[slot] = r.next_[slot - 2];
          r.next_[slot + 1] = r.next_[slot - 1];
          continue;
        }
        r.next_[slot] = static_cast<std::uint32_t>(r.follow_.size());
        dependsOnContext = closure.run(origins[origin], context, r.follow_);
        r.next_[slot + 1] = static_cast<std::uint32_t>(r.follow_.size());
        if (r.follow_.size() > kMaxFollow || closure.work() > kMaxClosureWork) return nullptr;
      }
    }

    // Where a search may begin.
    r.startByte_.assign(LinearRegex::kContexts * 256, 0);
    for (unsigned context = 0; context < LinearRegex::kContexts; ++context) {
      const std::size_t slot =
          (static_cast<std::size_t>(r.steps_) * LinearRegex::kContexts + context) * 2;
      for (std::uint32_t i = r.next_[slot]; i < r.next_[slot + 1]; ++i) {
        const std::uint32_t step = r.follow_[i];
        if (step == r.steps_) {
          r.startMatch_[context] = 1;
          continue;
        }
        for (unsigned c = 0; c < 256; ++c) {
          if (r.member_[r.setRow_[step] + c]) r.startByte_[context * 256 + c] = 1;
        }
      }
    }
    return regex;
  }
};

LinearRegex::LinearRegex() = default;
LinearRegex::~LinearRegex() = default;

std::unique_ptr<const LinearRegex> LinearRegex::compile(const std::string& source) {
  if (compileQuietly(source).status() != 0) return nullptr;  // Boost refuses it; so does this
  Node root;
  Parser parser(source);
  if (!parser.parse(root)) return nullptr;
  Emitter emitter;
  if (!emitter.init() || !emitter.emit(root, 0)) return nullptr;
  if (emitter.code.size() >= kMaxInstructions) return nullptr;
  emitter.code.emplace_back();  // Op::kMatch
  if (emitter.stepSet.size() >= 0xFFFF) return nullptr;
  return LinearRegexBuilder::build(emitter);
}

bool LinearRegex::search(const char* begin, const char* end, const char** matchBegin,
                         const char** matchEnd) const {
  struct Thread {
    std::uint32_t step;
    const unsigned char* start;
  };
  // Two lists of threads (at the current and at the next position), each
  // with an index from step to place for the test "already listed".
  std::vector<Thread> threads(static_cast<std::size_t>(steps_) * 2 + 2);
  std::vector<std::uint32_t> places(static_cast<std::size_t>(steps_) * 2 + 2, 0);
  Thread* current = threads.data();
  Thread* following = current + steps_ + 1;
  std::uint32_t* currentPlace = places.data();
  std::uint32_t* followingPlace = currentPlace + steps_ + 1;
  std::uint32_t currentSize = 0;

  const auto* const first = reinterpret_cast<const unsigned char*>(begin);
  const auto* const last = reinterpret_cast<const unsigned char*>(end);
  const unsigned char* p = first;
  bool matched = false;
  const unsigned char* found = nullptr;
  const unsigned char* foundEnd = nullptr;

  std::uint8_t kindBefore = kNoByte;
  std::uint8_t kindAt = p < last ? byteKind_[*p] : kNoByte;
  unsigned context = context_[kindBefore * kByteKinds + kindAt];
  for (;;) {
    if (!matched) {
      if (currentSize == 0) {
        // No thread alive: move on to where a match may begin.
        while (p < last && !startMatch_[context] && !startByte_[context * 256 + *p]) {
          ++p;
          kindBefore = kindAt;
          kindAt = p < last ? byteKind_[*p] : kNoByte;
          context = context_[kindBefore * kByteKinds + kindAt];
        }
      }
      // A match beginning here is the least preferred of all.
      const std::size_t slot = (static_cast<std::size_t>(steps_) * kContexts + context) * 2;
      for (std::uint32_t i = next_[slot]; i < next_[slot + 1]; ++i) {
        const std::uint32_t step = follow_[i];
        if (step == steps_) {
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
    const std::uint8_t kindAfter = p + 1 < last ? byteKind_[p[1]] : kNoByte;
    const unsigned nextContext = context_[kindAt * kByteKinds + kindAfter];
    std::uint32_t followingSize = 0;
    for (std::uint32_t t = 0; t < currentSize; ++t) {
      const Thread thread = current[t];
      if (!member_[setRow_[thread.step] + c]) continue;
      const std::size_t slot =
          (static_cast<std::size_t>(thread.step) * kContexts + nextContext) * 2;
      const std::uint32_t listEnd = next_[slot + 1];
      bool cut = false;
      for (std::uint32_t i = next_[slot]; i < listEnd; ++i) {
        const std::uint32_t step = follow_[i];
        if (step == steps_) {
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
  if (!matched) return false;
  *matchBegin = reinterpret_cast<const char*>(found);
  *matchEnd = reinterpret_cast<const char*>(foundEnd);
  return true;
}

}  // namespace brisko
