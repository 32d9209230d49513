#include "links/regex_byte_sets.h"

#include <cstdint>
#include <limits>

#include "links/counted_iterator.h"

namespace brisko::regex {

boost::regex compileQuietly(const std::string& source) {
  return boost::regex(source, boost::regex::perl | boost::regex::no_except);
}

bool boostByteSet(const std::string& atom, ByteSet& set) {
  const boost::regex expression = compileQuietly(atom);
  if (expression.status() != 0) return false;
  // Through the iterator the finder's searches use (with no bound to speak
  // of), so that the module holds one instance of the library's matcher.
  WorkMeter meter(std::numeric_limits<std::uint64_t>::max());
  const MeterInUse inUse(meter);
  const auto matches = [&](const char* begin, const char* end) {
    return boost::regex_match(CountedIterator(begin), CountedIterator(end), expression);
  };
  const char none = '\0';
  if (matches(&none, &none)) return false;
  for (unsigned c = 0; c < 256; ++c) {
    const char byte = static_cast<char>(c);
    set[c] = matches(&byte, &byte + 1) ? 1 : 0;
  }
  return true;
}

}  // namespace brisko::regex
