#include "links/regex_syntax.h"

#include <cstddef>
#include <cstring>
#include <utility>

namespace brisko::regex {

namespace {

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
        const Modifiers outer = mods_;
        if (more(1) && at(1) == '?') {
          const ModifierForm form = modifiers();
          if (form == ModifierForm::kRefused) return false;
          if (form == ModifierForm::kInline) {
            out = Node();  // the rest of the group reads the new modifiers
            quantifiable = false;
            return true;
          }
          if (form == ModifierForm::kNone) {
            if (!more(2) || at(2) != ':') return false;  // only (?:...)
            pos_ += 3;
          }
        } else {
          ++pos_;
          if (more() && at() == '*') return false;
        }
        const bool done = alternation(out, nesting + 1);
        mods_ = outer;
        if (!done || !more() || at() != ')') return false;
        ++pos_;
        return true;
      }
      case '[':
        return bracket(out);
      case '.':
        ++pos_;
        setAtom(out, ".");
        return true;
      case '^':
      case '$':
        if (!mods_.multiline) return false;  // the buffer's ends only: not taken
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
        setAtom(out, s_.substr(pos_, length));
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
        if (mods_.caseless) {
          setAtom(out, std::string(1, c));  // its cases as the library folds them
        } else {
          out.kind = Node::kAtom;
          out.atom = std::string(1, c);
          out.literal = true;
        }
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
    setAtom(out, s_.substr(pos_, i + 1));
    pos_ += i + 1;
    return true;
  }

  // The inline modifiers in force at pos_.
  struct Modifiers {
    bool caseless = false;  // i
    int dotAll = 0;         // s: 0 as the library's default, 1 on, -1 off
    bool multiline = true;  // m (on unless turned off)
  };

  // An atom that is not a plain byte: `text` as Boost.Regex reads it under
  // the modifiers in force.
  void setAtom(Node& out, const std::string& text) const {
    out.kind = Node::kAtom;
    out.literal = false;
    out.atom.clear();
    if (mods_.caseless) out.atom += "(?i)";
    if (text == "." && mods_.dotAll != 0) out.atom += mods_.dotAll > 0 ? "(?s)" : "(?-s)";
    out.atom += text;
  }

  // "(?" at pos_ followed by modifier letters: "(?i)" "(?-i)" "(?is-m)" ...
  // sets them up to the end of the enclosing group and returns kInline;
  // "(?i:" sets them and returns kScoped (the group follows); kNone when
  // there are none, kRefused for x or an empty list.
  enum class ModifierForm { kNone, kInline, kScoped, kRefused };
  ModifierForm modifiers() {
    std::size_t i = 2;  // after "(?"
    Modifiers changed = mods_;
    bool any = false;
    bool negate = false;
    bool afterMinus = false;
    for (; more(i); ++i) {
      const char c = at(i);
      if (c == '-') {
        if (negate) return ModifierForm::kRefused;
        negate = true;
        continue;
      }
      if (c == 'i') {
        changed.caseless = !negate;
      } else if (c == 's') {
        changed.dotAll = negate ? -1 : 1;
      } else if (c == 'm') {
        changed.multiline = !negate;
      } else if (c == 'x') {
        return ModifierForm::kRefused;
      } else {
        break;
      }
      any = true;
      afterMinus = negate;
    }
    if (!any && !negate) return ModifierForm::kNone;
    if (!any || (negate && !afterMinus) || !more(i)) return ModifierForm::kRefused;
    if (at(i) != ')' && at(i) != ':') return ModifierForm::kRefused;
    const bool scoped = at(i) == ':';
    pos_ += i + 1;
    mods_ = changed;
    return scoped ? ModifierForm::kScoped : ModifierForm::kInline;
  }

  const std::string& s_;
  std::size_t pos_ = 0;
  Modifiers mods_;
};

}  // namespace

bool parse(const std::string& source, Node& root) {
  Parser parser(source);
  return parser.parse(root);
}

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

}  // namespace brisko::regex
