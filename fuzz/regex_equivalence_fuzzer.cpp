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
// position, each start taken as the beginning of the text; positions where
// Boost gives up (its complexity or stack limit) are not compared.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

#include <boost/regex.hpp>

#include "fuzz/fuzz_input.h"
#include "links/linear_regex.h"
#include "settings/texts.h"

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
// Constructs the matcher refuses; they must never make it differ from Boost.
const char* const kUnsupported[] = {"(?=a)", "(?!b)", "(?<=a)",  "(?i)a",   "\\1",         "(?>a+)",
                                    "a++",   "\\A",   "\\z",     "\\Q.\\E", "[[:alpha:]]", "\\<",
                                    "\\h",   "a{,2}", "\\x{41}", "(?#c)",   "\\G"};

void expression(Choices& in, std::string& out, int depth);

void atom(Choices& in, std::string& out, int depth) {
  const unsigned kind = in.next(16);
  if (kind < 8 || depth > 4) {
    out += kAtoms[in.next(sizeof kAtoms / sizeof kAtoms[0])];
  } else if (kind < 10) {
    out += kAssertions[in.next(4)];
    return;  // not to be quantified
  } else if (kind < 14) {
    out += kind < 12 ? "(" : "(?:";
    expression(in, out, depth + 1);
    out += ")";
  } else if (kind == 14) {
    out += kUnsupported[in.next(sizeof kUnsupported / sizeof kUnsupported[0])];
    return;
  } else {
    return;  // nothing
  }
  const unsigned quantifier = in.next(16);
  static const char* const kQuantifiers[] = {"*", "+", "?", "{2}", "{0,2}", "{1,}", "{0}", "{1,3}"};
  if (quantifier < 8) {
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
  static const char kAlphabet[] = "ab x@.:/-_\r\n\f\t0<>A\xb9\xe6\x80\xff";
  std::string text;
  text.reserve(size);
  for (std::size_t i = 0; i < size; ++i) {
    const std::uint8_t b = data[i];
    text += b < 0x80 ? kAlphabet[b % (sizeof kAlphabet - 1)] : static_cast<char>(b);
  }
  return text;
}

std::string describe(const std::string& source, const std::string& text, std::size_t start) {
  return "expression \"" + source + "\" text \"" + text + "\" from " + std::to_string(start);
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
    return 0;
  }
  if (!linear) return 0;

  const char* const begin = text.data();
  const char* const end = begin + text.size();
  for (std::size_t start = 0; start <= text.size(); ++start) {
    boost::cmatch match;
    bool found = false;
    try {
      found = boost::regex_search(begin + start, end, match, expression);
    } catch (const std::runtime_error&) {
      continue;  // Boost gave up here
    }
    const char* matchBegin = nullptr;
    const char* matchEnd = nullptr;
    const bool linearFound = linear->search(begin + start, end, &matchBegin, &matchEnd);
    check(linearFound == found, "both find a match or neither", describe(source, text, start));
    if (found) {
      check(matchBegin == match[0].first && matchEnd == match[0].second, "same match bounds",
            describe(source, text, start) + " boost [" + std::to_string(match[0].first - begin) +
                "," + std::to_string(match[0].second - begin) + ") linear [" +
                std::to_string(matchBegin - begin) + "," + std::to_string(matchEnd - begin) + ")");
    }
  }
  return 0;
}
