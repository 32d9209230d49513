// Texts the entry point fuzzer's host answers with: heap copies that end
// exactly at their terminator, the pieces statuses are made of, and status
// descriptions drawn from the input.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "fuzz/fuzz_draw.h"
#include "settings/texts.h"

namespace brisko::fuzz {

// Texts. nullopt is a null pointer.
using Text = std::optional<std::string>;

// Bytes on the heap, exactly as many as asked for, so that AddressSanitizer
// catches a read past their end. Allocated as the host's, never the plug-in's.
class HeapBytes {
 public:
  HeapBytes() = default;
  explicit HeapBytes(std::size_t size);
  HeapBytes(HeapBytes&& other) noexcept : bytes_(other.bytes_) { other.bytes_ = nullptr; }
  HeapBytes& operator=(HeapBytes&& other) noexcept {
    std::swap(bytes_, other.bytes_);
    return *this;
  }
  HeapBytes(const HeapBytes&) = delete;
  HeapBytes& operator=(const HeapBytes&) = delete;
  ~HeapBytes() { std::free(bytes_); }
  char* get() const { return bytes_; }

 private:
  char* bytes_ = nullptr;
};

// A zero-terminated copy of a text that ends exactly at its terminator.
HeapBytes exactText(const std::string& text);

namespace pieces {

// Pieces that statuses are made of: every prefix the finders know, in
// several letter cases, and the bytes around and inside links.
inline constexpr const char* kStatus[] = {"http://",
                                          "http:\\\\",
                                          "https://",
                                          "www.",
                                          "WWW.",
                                          "HTTP://",
                                          "hTtP://wWw.",
                                          "http://www.",
                                          "https://www.",
                                          "ftp://",
                                          "example",
                                          "Onet",
                                          ".pl",
                                          ".com",
                                          ".org",
                                          "/",
                                          "\\",
                                          " ",
                                          "\t",
                                          ".",
                                          "_",
                                          "@",
                                          "x@",
                                          "user@host.pl",
                                          "a",
                                          "Z9",
                                          ",",
                                          "%",
                                          "&",
                                          "=",
                                          "-",
                                          "$",
                                          "?",
                                          "<",
                                          ">",
                                          ":",
                                          "\x85",
                                          "\xB9\xEA",
                                          "\xFF",
                                          "http",
                                          "www",
                                          "w",
                                          "h",
                                          "//",
                                          "://",
                                          "1.2.3.4",
                                          ":8080",
                                          "?q=1&r=2",
                                          "<b>",
                                          "\n",
                                          "http://http://",
                                          "www.www.",
                                          "x.pl ",
                                          "mailto:a@b.pl",
                                          "HTTPS://WWW.",
                                          "http:/",
                                          "www",
                                          "ww.",
                                          "http:\\",
                                          "\x1A",
                                          "\x04"};

// Units that a 64 KiB status repeats. Chosen so that every finder stays
// linear on them (the regular-expression finder is quadratic on some long
// texts, e.g. "x@x@x@...", a cost of its method, not a fault).
inline constexpr const char* kLongUnit[] = {"a",    " ",     "http://www.", "http://", ".",
                                            "\x85", "x.pl ", "hhhh",        "ab/_",    "http:\\\\"};

inline constexpr const char* kRegex[] = {
    texts::kDefaultRegex,
    "www\\.[a-z]+",
    "https?://\\S+",
    "[a-z]+\\.pl",
    "x*",
    "\\b",
    "(?=w)",
    "",
    "(",
    "[",
    "a{2,1}",
    "(?i)HTTP://\\S+",
    "\\S+",
    "\\w+@\\w+\\.\\w+",
    "http:\\\\\\\\\\S*",
    "(www\\.)+",
    "https://",
    "[^ ]*",
    "\\\\",
    "(?<=w)w\\.\\S+",
};

inline constexpr const char* kExtraChars[] = {texts::kDefaultExtraChars,
                                              texts::kRegisteredExtraChars,
                                              "",
                                              ":",
                                              ",",
                                              "\x85\xB9",
                                              "@",
                                              " ",
                                              "<>",
                                              "\xFF"};

inline constexpr const char* kNumber[] = {"0",    "1",    "10",    "11",   "99", "999",
                                          "1000", "9999", "10000", "0009", "-1", "",
                                          "12a",  "\xB9", " 5",    "00",   "4",  "0010"};

inline constexpr const char* kFlag[] = {"1", "0", "", "1x", "-1", "01", "\xB9", "2"};

}  // namespace pieces

// Raw bytes, none of them zero (the text would end there).
std::string rawBytes(Draw& draw, std::size_t count);

std::string fromPieces(Draw& draw, std::size_t count);

constexpr std::size_t kLongText = 65536;

std::string longText(Draw& draw);

// The status of an ordinary contact: links of every kind the finders know.
inline constexpr char kOrdinaryStatus[] =
    "Zobacz www.Example.pl/a, http://www.test.com/b?x=1 i https://www.secure.pl/ "
    "oraz HTTP://host.org/c lub x@y.com";

// A status description, or any text the host has: an ordinary one, a
// contact that does not exist (null), none at all, pieces of links, raw
// bytes, a pile of prefixes, 64 KiB.
Text statusText(Draw& draw);

}  // namespace brisko::fuzz
