// The author's scanning rules written out plainly, one byte per step, with
// no attention to speed: the folded copy of the text, the prefix tests on it,
// the two flags and the link start. The fuzz target and the unit tests
// compare AuthorScanner with it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace brisko::reference {

struct AuthorScanResult {
  std::vector<std::string> displayLinks;
  std::vector<std::string> openLinks;
  std::string firstLink;
};

inline AuthorScanResult authorScan(const std::string& status, std::int32_t analysedLength,
                                   const std::string& extraChars, std::int32_t maxCount) {
  // Preparing: cut, then fold.
  std::string text = status;
  if (analysedLength > 0 && text.size() > static_cast<std::size_t>(analysedLength)) {
    text.resize(static_cast<std::size_t>(analysedLength));
  }
  std::string folded = text;
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  const std::size_t n = text.size();

  auto isLinkChar = [&](char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '.' ||
           c == '_' || c == '/' || c == '\\' || extraChars.find(c) != std::string::npos;
  };
  auto foldedAt = [&](std::size_t at, const char* word) {
    return folded.compare(at, std::char_traits<char>::length(word), word) == 0;
  };

  AuthorScanResult result;
  bool firstFound = false;
  std::int32_t stored = 0;
  bool stopped = false;
  bool httpSeen = false;
  bool wwwSeen = false;
  std::size_t wwwAt = 0;
  std::size_t linkStart = 0;

  // Delivers the link [linkStart, end) to both operations.
  auto deliver = [&](std::size_t end) {
    std::string openPrefix;
    char kind;
    if (httpSeen && wwwSeen) {
      kind = '2';
      openPrefix = "http://www.";
    } else if (httpSeen) {
      kind = '0';
      openPrefix = "http://";
    } else {
      kind = '1';
      openPrefix = (wwwAt >= 8 && foldedAt(wwwAt - 8, "https://")) ? "https://www." : "http://www.";
    }
    const std::string open = openPrefix + text.substr(linkStart, end - linkStart);
    if (!firstFound) {
      result.firstLink = open;
      firstFound = true;
    }
    if (stopped) return;
    if (stored >= maxCount) {
      stopped = true;
      return;
    }
    ++stored;
    result.displayLinks.push_back(kind + folded.substr(linkStart, end - linkStart));
    result.openLinks.push_back(open);
  };

  std::size_t position = 0;
  while (position < n) {
    if (!httpSeen && !wwwSeen) {
      if (foldedAt(position, "http://") || foldedAt(position, "http:\\\\")) {
        httpSeen = true;
        position += 7;
      }
      if (foldedAt(position, "www.")) {
        wwwSeen = true;
        wwwAt = position;
        position += 4;
      }
      if (httpSeen || wwwSeen) {
        linkStart = position;  // the byte at position is examined next
      } else {
        ++position;
      }
      continue;
    }
    if (isLinkChar(text[position])) {
      ++position;
      continue;
    }
    if (linkStart != position) deliver(position);
    httpSeen = false;
    wwwSeen = false;
    ++position;  // the byte that ended the link is not searched again
  }
  if ((httpSeen || wwwSeen) && linkStart < n) deliver(n);
  return result;
}

}  // namespace brisko::reference
