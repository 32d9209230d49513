// brisko-soak: the plug-in module driven through many events of a realistic
// mix by the host emulator, with the heap's live blocks reported at intervals.
//
//   brisko-soak [EVENTS [REPORTS]]      defaults: 1000000 events, 20 reports
//
// The mix, drawn from a fixed seed: contact menus opened and an item chosen
// (opened, or copied with Shift), chat buttons shown and clicked, chat
// windows opened and closed, status changes (message 24011 with the nested
// refresh of the open chat windows), and configuration page sessions: shown,
// fields edited, the method switched, applied. Statuses come from the
// benchmarks' corpus (10 bytes to 4 KiB, links of every form).
//
// Live blocks are counted by this program's global operator new and delete,
// which the module's allocations go through too; so the figure is the whole
// process's: the plug-in's blocks and the emulator's model of the host. The
// emulator's record of calls, of opened links and the clipboard are emptied
// after every event, so what remains is the state both sides keep. A leak
// shows as a count that keeps growing from report to report after the first.
// Exits 1 when a start-up message is not answered 1 or the plug-in reports an
// error to the host.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "bench/status_corpus.h"
#include "emulator/host_emulator.h"
#include "settings/columns.h"

namespace {

std::size_t liveBlocks = 0;
std::size_t liveBytes = 0;

}  // namespace

// Each block carries its size in front of it, so that delete can count it.
void* operator new(std::size_t size) {
  auto* block = static_cast<std::size_t*>(std::malloc(size + sizeof(std::max_align_t)));
  if (block == nullptr) throw std::bad_alloc();
  *block = size;
  ++liveBlocks;
  liveBytes += size;
  return reinterpret_cast<char*>(block) + sizeof(std::max_align_t);
}
void operator delete(void* pointer) noexcept {
  if (pointer == nullptr) return;
  char* block = static_cast<char*>(pointer) - sizeof(std::max_align_t);
  --liveBlocks;
  liveBytes -= *reinterpret_cast<std::size_t*>(block);
  std::free(block);
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete[](void* pointer) noexcept { operator delete(pointer); }
void operator delete(void* pointer, std::size_t) noexcept { operator delete(pointer); }
void operator delete[](void* pointer, std::size_t) noexcept { operator delete(pointer); }

namespace {

using brisko::emu::HostEmulator;
using brisko::emu::PluginModule;
namespace column = brisko::column;

class Draw {
 public:
  explicit Draw(std::uint64_t seed) : state_(seed) {}
  std::uint32_t below(std::uint32_t bound) {  // xorshift64*
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return static_cast<std::uint32_t>((state_ * 2685821657736338717ull) >> 33) % bound;
  }

 private:
  std::uint64_t state_;
};

constexpr std::int32_t kContacts = 40;

// One configuration page session: shown, one to three fields edited, applied.
void editPage(HostEmulator& host, Draw& draw) {
  host.showPage();
  const int edits = 1 + static_cast<int>(draw.below(3));
  for (int i = 0; i < edits; ++i) {
    switch (draw.below(6)) {
      case 0:
        host.setControlValue(column::kLinkCount, std::to_string(draw.below(12)));
        break;
      case 1:
        host.setControlValue(column::kDisplayLength, std::to_string(draw.below(60)));
        break;
      case 2:
        host.clickControl(draw.below(2) != 0 ? column::kRegexMethod : column::kAuthorMethod);
        break;
      case 3:
        host.clickControl(column::kSubmenuForSingleLink);
        break;
      case 4:
        host.setControlValue(column::kAnalysedLength, std::to_string(draw.below(3) * 500));
        break;
      default:
        host.clickControl(column::kCutWww);
        break;
    }
  }
  host.applyPage();
}

}  // namespace

int main(int argc, char** argv) {
  const long events = argc > 1 ? std::atol(argv[1]) : 1000000;
  const long reports = argc > 2 ? std::atol(argv[2]) : 20;
  if (events <= 0 || reports <= 0) {
    std::fprintf(stderr, "usage: brisko-soak [EVENTS [REPORTS]]\n");
    return 2;
  }
  std::string error;
  auto module = PluginModule::loadBeside(&error);
  if (!module) {
    std::fprintf(stderr, "brisko-soak: %s\n", error.c_str());
    return 1;
  }
  const std::vector<std::string> statuses = brisko::bench::makeStatusCorpus();
  Draw draw(20261209);
  HostEmulator host(module->proc(), module->handle());
  for (std::int32_t c = 1; c <= kContacts; ++c) {
    host.addContact(c, statuses[draw.below(static_cast<std::uint32_t>(statuses.size()))]);
  }
  if (!host.startUp()) {
    std::fprintf(stderr, "brisko-soak: start-up not answered 1\n");
    return 1;
  }
  for (std::int32_t c = 1; c <= kContacts; c += 4) host.openChat(c);

  const auto started = std::chrono::steady_clock::now();
  const auto report = [&](long event) {
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("%10ld %12zu %12zu %10.1f\n", event, liveBlocks, liveBytes, seconds);
    std::fflush(stdout);
  };
  std::printf("%10s %12s %12s %10s\n", "events", "live blocks", "live bytes", "seconds");
  report(0);
  const long interval = (events + reports - 1) / reports;
  long kinds[5] = {};
  long opened = 0;
  long copied = 0;
  for (long event = 1; event <= events; ++event) {
    const std::int32_t contact = 1 + static_cast<std::int32_t>(draw.below(kContacts));
    const std::uint32_t kind = draw.below(100);
    ++kinds[kind < 35 ? 0 : kind < 55 ? 1 : kind < 85 ? 2 : kind < 95 ? 3 : 4];
    if (kind < 35) {  // a contact's menu, and often a choice from it
      const auto menu = host.contactMenu(contact);
      if (draw.below(2) == 0) {
        const bool shift = draw.below(4) == 0;
        if (!menu.itemIds.empty()) {
          const auto item =
              menu.itemIds[draw.below(static_cast<std::uint32_t>(menu.itemIds.size()))];
          host.chooseMenuItem(contact, item, shift);
        } else if (menu.singleShown) {
          host.chooseMenuItem(contact, brisko::action::kSingleLinkItem, shift);
        }
      }
    } else if (kind < 55) {  // a chat window's button, clicked now and then
      if (host.chatOpen(contact) && host.chatButton(contact).shown && draw.below(3) == 0) {
        host.clickChatButton(contact, draw.below(4) == 0);
      }
    } else if (kind < 85) {  // a status change, with the refresh it brings
      host.changeStatus(contact, statuses[draw.below(static_cast<std::uint32_t>(statuses.size()))]);
    } else if (kind < 95) {  // a chat window opened or closed
      if (host.chatOpen(contact)) {
        host.closeChat(contact);
      } else {
        host.openChat(contact);
      }
    } else {
      editPage(host, draw);
    }
    opened += static_cast<long>(host.shellOpens().size());
    if (!host.clipboardBytes().empty()) ++copied;
    host.clearCalls();
    host.clearOpenedLinks();
    host.clearClipboard();
    if (event % interval == 0 || event == events) report(event);
  }
  const int errors = host.errorCount();
  host.shutDown();
  std::printf(
      "menus %ld, chat buttons %ld, status changes %ld, chat windows %ld, page "
      "sessions %ld; links opened %ld, copied %ld; errors the plug-in reported: %d\n",
      kinds[0], kinds[1], kinds[2], kinds[3], kinds[4], opened, copied, errors);
  return errors == 0 ? 0 : 1;
}
