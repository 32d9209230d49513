// Fuzz target: the plug-in's own link scanner on any bytes and settings.
//   selector: length (0..24) of the extra characters that follow it; a
//   selector of 255 keeps the registered default "-@$?&%=".
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_input.h"
#include "fuzz/reference_author_scanner.h"
#include "links/author_scanner.h"
#include "links/link_forms.h"
#include "settings/link_settings.h"
#include "settings/texts.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace brisko;
  using fuzz::check;
  fuzz::Input input = fuzz::splitInput(data, size);
  LinkSettings settings;
  settings.analysedLength = input.analysedLength;
  settings.extraChars = texts::kRegisteredExtraChars;
  if (input.hasSelector && input.selector != 255) {
    settings.extraChars = std::string(fuzz::takeFront(input.rest, input.selector % 25));
  }
  const std::string status(input.rest);

  const fuzz::FinderRun run = fuzz::runFinder<AuthorScanner>(settings, status, input.maxCount, '2');
  const LinkChars linkChars(settings.extraChars);

  // Exactly what the rules give when followed one byte at a time.
  const reference::AuthorScanResult expected =
      reference::authorScan(status, settings.analysedLength, settings.extraChars, input.maxCount);
  check(run.limited.displayLinks == expected.displayLinks, "display links as the plain rules give");
  check(run.limited.openLinks == expected.openLinks, "open links as the plain rules give");
  check(run.first == expected.firstLink, "first link as the plain rules give", run.first);

  // Each link: its open prefix by kind, its body of link characters, the
  // candidate's body the lower-cased open body, the bodies in text order.
  const auto bodyOf = [&](const std::string& candidate, const std::string& address) {
    std::size_t prefix = 0;
    switch (candidate[0]) {
      case '0':
        check(address.compare(0, 7, "http://") == 0, "kind 0 opens with http://", address);
        prefix = 7;
        break;
      case '1':
        if (address.compare(0, 12, "https://www.") == 0) {
          prefix = 12;
        } else {
          check(address.compare(0, 11, "http://www.") == 0, "kind 1 opens with www", address);
          prefix = 11;
        }
        break;
      default:
        check(address.compare(0, 11, "http://www.") == 0, "kind 2 opens with www", address);
        prefix = 11;
        break;
    }
    const std::string body = address.substr(prefix);
    check(!body.empty(), "non-empty body", address);
    for (const char c : body) check(linkChars.isLinkChar(c), "body of link characters", address);
    check(candidate.substr(1) == toLowerAscii(body), "candidate body", candidate);
    return body;
  };
  fuzz::checkEachLink(run.full, status, settings.analysedLength,
                      "bodies occur in the analysed text in order", bodyOf);
  return 0;
}
