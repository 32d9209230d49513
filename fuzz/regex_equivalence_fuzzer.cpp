// Fuzz target: the linear-time matcher against Boost.Regex.
//
// Input: byte 0 chooses how the expression is made:
//   below 0xE0: the next bytes drive a grammar of the supported constructs
//     (with now and then one that is not supported);
//   0xE0 to 0xEF: byte 1 is a length, and that many bytes are the expression;
//   0xF0 and up: the registered default expression.
// The rest is the text, its bytes mapped so that line breaks, word and
// non-word bytes, and bytes from 0x80 up all occur.
//
// An expression Boost refuses must be refused. For one the linear matcher
// compiles, both must report the same match (or none) from every start
// position, each start taken as the beginning of the text, and the same
// successive matches as the link finder takes them (each search from the end
// of the previous match), searched forward and from the backward table
// (tests/support/boost_oracle.h); positions where Boost gives up (its
// complexity or stack limit) are not compared.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>

#include <boost/regex.hpp>

#include "fuzz/fuzz_input.h"
#include "links/linear_regex.h"
#include "settings/texts.h"
#include "tests/support/boost_oracle.h"

namespace {

// Reads the choices that drive the grammar; when the bytes run out every
// choice is 0, which ends every list.
class Choices {
 public:
  Choices(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  unsigned next(unsigned range) { return pos_ < size_ ? data_[pos_++] % range : 0; }
  std::size_t used() const { return pos_; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

const char* const kAtoms[] = {
    "a",       "b",        "x",
    "@",       ".",        "\\.",
    ":",       "/",        "-",
    " ",       "\xb9",     "\xa3",
    "\\w",     "\\W",      "\\s",
    "\\S",     "\\d",      "\\D",
    "\\-",     "\\\\",     "\\n",
    "\\r",     "\\t",      "\\f",
    "\\x41",   "\\xb9",    "[ab]",
    "[^a]",    "[\\w\\-]", "[^\\s<]",
    "[^\\s>]", "[a-zA-Z]", "[\\x80-\\xff]",
    "[]a]",    "[^\\n]",   "[\\s\\d]",
    "[a-]",    "[^\\W_]",  "\\/",
    "\\@",     "\\:",      "_",
};
const char* const kAssertions[] = {"\\b", "\\B", "^", "$"};
// Inline modifiers, up to the end of the enclosing group, and the openings
// of scoped groups ("(?i:" ... ")").
const char* const kModifiers[] = {"(?i)",  "(?-i)",  "(?s)",   "(?-s)", "(?m)",
                                  "(?is)", "(?i-s)", "(?s-i)", "(?-m)", "(?x)"};
const char* const kScoped[] = {
    "(?i:", "(?-i:", "(?s:", "(?-s:", "(?is:", "(?i-s:", "(?m:", "(?-m:"};
// Constructs the matcher refuses; they must never make it differ from Boost.
const char* const kUnsupported[] = {"(?=a)", "(?!b)", "(?<=a)",  "[\\h]",   "\\1",         "(?>a+)",
                                    "a++",   "\\A",   "\\z",     "\\Q.\\E", "[[:alpha:]]", "\\<",
                                    "\\h",   "a{,2}", "\\x{41}", "(?#c)",   "\\G"};

void expression(Choices& in, std::string& out, int depth);

void atom(Choices& in, std::string& out, int depth) {
  const unsigned kind = in.next(19);
  if (kind < 8 || depth > 4) {
    out += kAtoms[in.next(sizeof kAtoms / sizeof kAtoms[0])];
  } else if (kind < 10) {
    out += kAssertions[in.next(4)];
    return;  // not to be quantified
  } else if (kind < 14) {
    out += kind < 12 ? "(" : "(?:";
    expression(in, out, depth + 1);
    out += ")";
  } else if (kind < 16) {
    out += kModifiers[in.next(sizeof kModifiers / sizeof kModifiers[0])];
    return;
  } else if (kind == 16) {
    out += kScoped[in.next(sizeof kScoped / sizeof kScoped[0])];
    expression(in, out, depth + 1);
    out += ")";
  } else if (kind == 17) {
    out += kUnsupported[in.next(sizeof kUnsupported / sizeof kUnsupported[0])];
    return;
  } else {
    return;  // nothing
  }
  const unsigned quantifier = in.next(18);
  static const char* const kQuantifiers[] = {"*",    "+",   "?",     "{2}",   "{0,2}",
                                             "{1,}", "{0}", "{1,3}", "{1,9}", "{9}"};
  if (quantifier < sizeof kQuantifiers / sizeof kQuantifiers[0]) {
    out += kQuantifiers[quantifier];
    if (in.next(3) == 0) out += "?";  // lazy
  }
}

void expression(Choices& in, std::string& out, int depth) {
  for (;;) {
    const unsigned items = in.next(4);
    for (unsigned i = 0; i < items; ++i) atom(in, out, depth);
    if (in.next(4) != 1) return;  // (0 when the bytes ran out)
    out += "|";
  }
}

std::string makeText(const std::uint8_t* data, std::size_t size) {
  static const char kAlphabet[] = "ab x@.:/-_\r\n\f\t0<>AB\xb9\xe6\x80\xff\xa5X";
  std::string text;
  text.reserve(size);
  for (std::size_t i = 0; i < size; ++i) {
    const std::uint8_t b = data[i];
    text += b < 0x80 ? kAlphabet[b % (sizeof kAlphabet - 1)] : static_cast<char>(b);
  }
  return text;
}

// How the inputs went, printed at exit when the environment has
// BRISKO_FUZZ_STATS: refused by Boost, left to Boost by the matcher,
// compared, and compared with an inline modifier in the expression.
std::size_t counts[4] = {};

void printCounts() {
  std::fprintf(stderr,
               "regex_equivalence: %zu refused by Boost, %zu left to Boost, %zu compared "
               "(%zu with inline modifiers)\n",
               counts[0], counts[1], counts[2], counts[3]);
}

void count(int which) {
  static const bool enabled = [] {
    if (std::getenv("BRISKO_FUZZ_STATS") == nullptr) return false;
    std::atexit(printCounts);
    return true;
  }();
  if (enabled) ++counts[which];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using brisko::fuzz::check;
  if (size < 1) return 0;
  std::string source;
  std::size_t used = 1;
  if (data[0] >= 0xF0) {
    source = brisko::texts::kDefaultRegex;
  } else if (data[0] >= 0xE0) {
    const std::size_t length = size > 1 ? std::min<std::size_t>(data[1], size - 2) : 0;
    source.assign(reinterpret_cast<const char*>(data + 2), length);
    used = 2 + length;
  } else {
    Choices in(data + 1, size - 1);
    expression(in, source, 0);
    used += in.used();
  }
  used = std::min(used, size);
  const std::string text = makeText(data + used, size - used);

  const std::unique_ptr<const brisko::LinearRegex> linear = brisko::LinearRegex::compile(source);
  // (Refusals without exceptions: under user-mode emulation the sanitizer
  // can lose track of the stack that a throw unwinds.)
  const boost::regex expression(source, boost::regex::perl | boost::regex::no_except);
  if (expression.status() != 0) {
    check(linear == nullptr, "an expression Boost refuses is refused", source);
    count(0);
    return 0;
  }
  if (!linear) {
    count(1);
    return 0;
  }
  count(2);
  if (source.find("(?i") != std::string::npos || source.find("(?s") != std::string::npos ||
      source.find("(?-") != std::string::npos || source.find("(?m") != std::string::npos) {
    count(3);
  }

  const std::string difference = brisko::oracle::allDifferencesFromBoost(*linear, expression, text);
  check(difference.empty(), "the same matches as Boost",
        "expression \"" + source + "\" text \"" + text + "\": " + difference);
  return 0;
}
