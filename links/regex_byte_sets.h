// Classifying bytes as Boost.Regex does: the sets of bytes that a one-byte
// expression matches, decided by the library itself with its default traits.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include <boost/regex.hpp>

namespace brisko::regex {

using ByteSet = std::array<std::uint8_t, 256>;  // 1 for each byte in the set

// `source` in the default (Perl) syntax, with status() non-zero instead of an
// exception when the library refuses it.
boost::regex compileQuietly(const std::string& source);

// Fills `set` with the bytes that `atom` matches as a whole one-byte text.
// Fails when the library refuses `atom` or when it matches the empty text
// (it is then no one-byte atom).
bool boostByteSet(const std::string& atom, ByteSet& set);

}  // namespace brisko::regex
