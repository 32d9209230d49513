#include "links/regex_byte_sets.h"

namespace brisko::regex {

boost::regex compileQuietly(const std::string& source) {
  return boost::regex(source, boost::regex::perl | boost::regex::no_except);
}

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

}  // namespace brisko::regex
