// The regular expressions run with the C library's character classification
// (c_regex_traits, set in cmake/ModuleSize.cmake: the C++ locale's traits
// would link all of libstdc++'s locale facets into the module). In the "C"
// locale both classify every byte alike, so the finder behaves as with the
// C++ traits; this checks it byte by byte for every class an expression can
// name, for the case folding of (?i) and for digit values.
#include <gtest/gtest.h>

#include <boost/regex.hpp>
#include <string>
#include <type_traits>

namespace brisko {
namespace {

using CTraits = boost::c_regex_traits<char>;
using CppTraits = boost::cpp_regex_traits<char>;

TEST(RegexTraits, TheLibraryUsesTheCLibrarysClassification) {
  EXPECT_TRUE((std::is_base_of<CTraits, boost::regex::traits_type>::value));
}

TEST(RegexTraits, EveryByteIsClassifiedAsByTheCppLocaleTraits) {
  const CTraits c;
  const CppTraits cpp;
  const char* const classes[] = {"alnum", "alpha", "blank", "cntrl", "d",     "digit", "graph",
                                 "h",     "l",     "lower", "print", "punct", "s",     "space",
                                 "u",     "upper", "v",     "w",     "word",  "xdigit"};
  for (const char* name : classes) {
    const std::string n(name);
    const CTraits::char_class_type cClass = c.lookup_classname(n.data(), n.data() + n.size());
    const CppTraits::char_class_type cppClass = cpp.lookup_classname(n.data(), n.data() + n.size());
    ASSERT_NE(cClass, 0u) << name;
    ASSERT_NE(cppClass, 0u) << name;
    for (int byte = 0; byte < 256; ++byte) {
      const char ch = static_cast<char>(byte);
      EXPECT_EQ(c.isctype(ch, cClass), cpp.isctype(ch, cppClass))
          << "class " << name << ", byte 0x" << std::hex << byte;
    }
  }
}

TEST(RegexTraits, CaseFoldingAndDigitValuesAgreeForEveryByte) {
  const CTraits c;
  const CppTraits cpp;
  for (int byte = 0; byte < 256; ++byte) {
    const char ch = static_cast<char>(byte);
    EXPECT_EQ(c.translate_nocase(ch), cpp.translate_nocase(ch)) << "byte 0x" << std::hex << byte;
    EXPECT_EQ(c.value(ch, 16), cpp.value(ch, 16)) << "byte 0x" << std::hex << byte;
  }
}

}  // namespace
}  // namespace brisko
