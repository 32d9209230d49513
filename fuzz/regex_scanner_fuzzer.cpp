// Fuzz target: the regular-expression finder on any bytes and settings.
//   selector below 0xC0: the default expression;
//   selector 0xC0 and up: an expression of (selector - 0xC0) bytes (0..63)
//   that follow it, compiled or refused as the user's would be.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_input.h"
#include "links/author_scanner.h"
#include "links/link_forms.h"
#include "links/regex_scanner.h"
#include "settings/link_settings.h"
#include "settings/texts.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace brisko;
  using fuzz::check;
  fuzz::Input input = fuzz::splitInput(data, size);
  LinkSettings settings;
  settings.analysedLength = input.analysedLength;
  settings.regexSource = texts::kDefaultRegex;
  if (input.hasSelector && input.selector >= 0xC0) {
    settings.regexSource = std::string(fuzz::takeFront(input.rest, input.selector - 0xC0u));
  }
  const std::string status(input.rest);

  const fuzz::FinderRun run = fuzz::runFinder<RegexScanner>(settings, status, input.maxCount, '3');

  // Each link: recover the match M from the open form by its kind, and check
  // that the candidate is the kind digit and the lower-cased body of M.
  const auto matchOf = [](const std::string& candidate, const std::string& address) {
    const bool httpOpen =
        fuzz::startsWithFolded(address, "http://") || fuzz::startsWithFolded(address, "http:\\\\");
    std::string match;
    std::size_t prefix = 0;
    switch (candidate[0]) {
      case '0':
      case '2':
        check(httpOpen, "kinds 0 and 2 open as the match", address);
        match = address;
        prefix = candidate[0] == '0' ? 7 : 11;
        check(fuzz::startsWithFolded(std::string_view(address).substr(7), "www.") ==
                  (candidate[0] == '2'),
              "www after http decides kind 2", address);
        break;
      case '1':
        check(address.compare(0, 7, "http://") == 0, "kind 1 opens with http://", address);
        match = address.substr(7);
        check(fuzz::startsWithFolded(match, "www."), "kind 1 match begins www.", address);
        prefix = 4;
        break;
      default:
        if (fuzz::startsWithFolded(address, "https://") && address.compare(0, 7, "http://") != 0) {
          match = address;  // an https match opens as it stands
        } else {
          check(address.compare(0, 7, "http://") == 0, "kind 3 opens with http://", address);
          match = address.substr(7);
          check(!fuzz::startsWithFolded(match, "https://"), "https opens as the match", address);
        }
        check(!fuzz::startsWithFolded(match, "http://") &&
                  !fuzz::startsWithFolded(match, "http:\\\\") &&
                  !fuzz::startsWithFolded(match, "www."),
              "kind 3 has no prefix", address);
        break;
    }
    check(match.size() > prefix, "match is more than its prefixes", address);
    check(candidate.substr(1) == toLowerAscii(match.substr(prefix)), "candidate body", candidate);
    return match;
  };
  fuzz::checkEachLink(run.full, status, settings.analysedLength,
                      "matches occur in the analysed text in order", matchOf);
  return 0;
}
