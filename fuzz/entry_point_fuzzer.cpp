// Fuzz target: the plug-in's whole entry point, IMessageProc, with a hostile
// host (fuzz/hostile_host.h).
//
// The input's front is a sequence of messages; its back holds the answers of
// the host and the system (see FuzzBytes), and an answer of zero is always the
// ordinary one. Each message:
//   op     which message: mostly the ids the plug-in knows, some it does not;
//          0 ends the messages (what follows is left to the answers)
//   flags  bit 0: random head words; bit 1: p2 a random integer or a text
//          pointer (else 0); bits 2..3: how p1 is
//          drawn for ids that do not read it; bits 4..6: the state of the
//          Shift key while the message is handled (0: not held); bit 7: a
//          byte follows the size whose low four bits make the system refuse
//          GlobalAlloc, GlobalLock, OpenClipboard, SetClipboardData
//   size   the record's size field: mostly its type's size, else anything
//          from 0 to past the largest record, or any 16-bit value
//   ...    the parameters the id calls for
// Unless the first byte's low two bits are both set, the input starts with
// the host's start-up (20001, 21001, 22000, 22100); it always ends with a
// closing 20002.
//
// A record is allocated exactly as large as its type or its size field says,
// whichever is larger, and the parameters it points to (notifications, texts)
// end exactly where they end. After each message: the answer and the host
// calls are what the dispatch table, the size rules and the failure rules
// give; the system holds no block and no open clipboard. After each 20002:
// the plug-in holds no heap block (fuzz/plugin_allocations.h).
#include <boost/regex.hpp>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "fuzz/fuzz_system.h"
#include "fuzz/host_world.h"
#include "fuzz/hostile_host.h"
#include "fuzz/plugin_allocations.h"
#include "host/ids.h"
#include "host/records.h"
#include "links/found_links.h"
#include "links/regex_scanner.h"
#include "plugin/version.h"
#include "settings/link_settings.h"
#include "settings/texts.h"
#include "system/system_api.h"

namespace brisko::fuzz {
namespace {

constexpr std::uint16_t kLargestRecord = kActionInfoExSize;
constexpr int kMostMessages = 64;

// BRISKO_FUZZ_TRACE in the environment: each message is written to stderr.
bool g_trace = false;

// Pointers the plug-in must never follow: p1 of a record too short to carry
// it, p1 of a notification too short to carry a text.
constexpr std::uint32_t kGarbagePointers[] = {0x10, 0x1234, 0xFFFFFFF0u, 0xDEADBEE0u};

struct Fixture {
  HostWorld world;
  HostileHost hostA{world};
  HostileHost hostB{world};
  FuzzSystem system{world};
  FuzzBytes bytes;
};

Fixture& fixture() {
  static Fixture* const instance = [] {
    HostCode hostCode;
    return new Fixture;
  }();
  return *instance;
}

// The one-time caches of the regular-expression library (its character
// traits) are filled before any allocation is counted.
void warmUp() {
  setAllocationTracking(false);
  RegexScanner scanner;
  LinkSettings settings;
  FoundLinks found;
  for (const char* expression : pieces::kRegex) {
    settings.regexSource = expression;
    scanner.findLinks(settings, "see http://www.Example.pl/a?b=1 x@y.com www.b.org HTTPS://c.d", 10,
                      found);
    scanner.findFirstLink(settings, "www.e.pl");
  }
  setAllocationTracking(true);
}

// Everything one message points to; freed when the message has been answered.
class Arena {
 public:
  char* bytes(std::size_t size) {
    blocks_.emplace_back(size);
    return blocks_.back().get();
  }
  std::uint32_t text(const Text& text) {
    if (!text) return 0;
    blocks_.push_back(exactText(*text));
    return ptrValue(blocks_.back().get());
  }

 private:
  std::vector<HeapBytes> blocks_;
};

// A status text drawn, put in `arena`, and logged as given to the plug-in when
// `delivered` (its record is long enough to carry it). Answers its address
// (0: no text).
std::uint32_t drawStatus(Draw& draw, Arena& arena, TextLog& log, bool delivered) {
  const Text status = statusText(draw);
  const std::uint32_t address = arena.text(status);
  if (status && delivered) log.addStatus(*status);
  return address;
}

// The size of the record message `id` is sent with.
std::uint16_t typeSizeOf(std::uint32_t id) {
  return id == msg::kStatusChange ? kHostMessageExSize : kHostMessageSize;
}

std::uint16_t drawSize(Draw& draw, std::uint16_t typeSize) {
  switch (draw.u8() % 8) {
    case 5:
      return draw.u8() % (kLargestRecord + 8);
    case 6:
      return static_cast<std::uint16_t>(typeSize - 1 - draw.u8() % 4);
    case 7:
      return draw.u16();
    default:
      return typeSize;
  }
}

std::uint32_t drawId(std::uint8_t op, Draw& draw) {
  static constexpr std::uint32_t kIds[] = {msg::kInit,
                                           msg::kInit,
                                           msg::kShutdown,
                                           msg::kStartQuery,
                                           msg::kRegisterColumns,
                                           msg::kBuildUserInterface,
                                           msg::kLoadSettings,
                                           msg::kSettingsLoaded,
                                           msg::kActionNotify,
                                           msg::kActionNotify,
                                           msg::kActionNotify,
                                           msg::kActionNotify,
                                           msg::kActionNotify,
                                           msg::kActionNotify,
                                           msg::kActionNotify,
                                           msg::kActionNotify,
                                           msg::kStatusChange,
                                           msg::kStatusChange,
                                           msg::kStatusChange,
                                           msg::kStatusChange,
                                           msg::kNetIdQuery,
                                           msg::kTypeQuery,
                                           msg::kVersionQuery,
                                           msg::kNameQuery,
                                           30014,
                                           30015,
                                           msg::kDisplayNameQuery,
                                           msg::kLastIdentityQuery,
                                           0,
                                           0,
                                           msg::kActionNotify,
                                           msg::kStatusChange};
  static constexpr std::uint32_t kUnknown[] = {0,     12345, 30018, 20003,      22201,
                                               24010, 10101, 21000, 0xFFFFFFFF, 22199};
  const std::uint32_t id = kIds[op % std::size(kIds)];
  if (id != 0) return id;
  return op % 2 == 0 ? draw.u32() : draw.pick(kUnknown);
}

std::int32_t drawContact(Draw& draw) {
  switch (draw.u8() % 4) {
    case 1:
      return kNoContact;
    case 2:
      return 0;
    case 3:
      return static_cast<std::int32_t>(draw.u32());
    default:
      return 1 + draw.u8() % 8;
  }
}

// The notification of a 22200: any action, any code, any size; p1 is a
// status text exactly when the record is long enough to carry one and p2 is
// the marker.
std::uint32_t buildNotify(Draw& draw, Arena& arena, TextLog& log) {
  static constexpr std::uint32_t kControls[] = {109110, 109111, 109112, 109113, 109114, 109115,
                                                109116, 109117, 109118, 109119, 109120, 109121,
                                                109122, 109123, 109128, 109129, 0,      109101};
  ActionNotify notify{};
  std::uint32_t parent = 0;
  switch (draw.u8() % 16) {
    case 0:
    case 1:
    case 2:
      notify.id = action::kLinksMenu;
      parent = group::kContactMenu;
      break;
    case 3:
      notify.id = action::kSingleLinkItem;
      parent = group::kContactMenu;
      break;
    case 4:
    case 5:
      notify.id = action::kLinkItemBase + draw.u8() % 12;
      parent = action::kLinksMenu;
      break;
    case 6:
    case 7:
    case 8:
      notify.id = action::kChatLinkButton;
      parent = group::kChatWindow;
      break;
    case 9:
      notify.id = action::kConfigPage;
      parent = group::kConfigPages;
      break;
    case 10:
    case 11:
    case 12:
      notify.id = controlId(draw.pick(kControls));
      parent = action::kConfigPage;
      break;
    case 13:
      notify.id = controlId(controlNumber(draw.u32()));
      parent = action::kConfigPage;
      break;
    case 14:
      notify.id = draw.u32();
      break;
    default:
      notify.id = action::kLinksMenu - 10 + draw.u8() % 48;
      break;
  }
  switch (draw.u8() % 4) {
    case 1:
      parent = 0;
      break;
    case 2:
      parent = draw.u32();
      break;
    default:
      break;
  }
  notify.parent = parent;
  notify.cnt = drawContact(draw);
  static constexpr std::uint32_t kCodes[] = {
      notify::kActivate, notify::kPrepare, notify::kRefresh, notify::kActivate,
      notify::kPrepare,  notify::kRefresh, notify::kApply,   0};
  notify.code = draw.pick(kCodes);
  if (notify.code == 0) notify.code = draw.u32();
  if (draw.rare(4)) notify.reserved18 = draw.u32();
  notify.size = drawSize(draw, kActionNotifySize);

  switch (draw.u8() % 4) {
    case 0:
      notify.p2 = notify::kStatusTextMarker;
      notify.p1 = drawStatus(draw, arena, log, notify.size >= kActionNotifySize);
      break;
    case 1:
      break;
    case 2:
      notify.p1 = draw.u32();
      notify.p2 = draw.u32();
      if (notify.p2 == notify::kStatusTextMarker) notify.p2 = 0;
      break;
    default:
      notify.p2 = notify::kStatusTextMarker;
      notify.p1 = notify.size < kActionNotifySize ? draw.pick(kGarbagePointers)
                                                  : drawStatus(draw, arena, log, true);
      break;
  }

  const std::size_t allocated = std::max<std::size_t>(kActionNotifySize, notify.size);
  char* record = arena.bytes(allocated);
  std::memset(record + kActionNotifySize, 0xA5, allocated - kActionNotifySize);
  std::memcpy(record, &notify, kActionNotifySize);
  return ptrValue(record);
}

void checkNothingLeft() {
  std::size_t live = livePluginBlocks();
  if (live == 0) return;
  // Blocks the regular-expression library keeps in its own cache for the
  // next search are the library's, not the plug-in's.
  std::vector<const void*> cached;
#if BOOST_REGEX_MAX_CACHE_BLOCKS != 0 && defined(BOOST_REGEX_MEM_BLOCK_CACHE_LOCK_FREE)
  auto& cache = boost::BOOST_REGEX_DETAIL_NS::mem_block_cache::instance();
  for (auto& slot : cache.cache) {
    if (void* block = slot.load()) cached.push_back(block);
  }
#endif
  std::string blocks;
  forEachLivePluginBlock([&](const void* block, std::size_t size) {
    if (std::find(cached.begin(), cached.end(), block) != cached.end()) {
      --live;
    } else {
      blocks += std::to_string(size) + " bytes at " + std::to_string(ptrValue(block)) + "; ";
    }
  });
  check(live == 0, "nothing the plug-in allocated is left after 20002", blocks);
}

// Sends one message and checks the answer, the host calls and the state.
// `scripted`: a message of the start-up, which draws nothing from the input.
void sendOne(Fixture& f, Draw& draw, std::uint32_t id, std::uint8_t flags, std::uint16_t size,
             bool scripted = false) {
  HostWorld& world = f.world;
  Arena arena;
  const std::uint16_t typeSize = typeSizeOf(id);
  const std::size_t allocated = std::max<std::size_t>(typeSize, size);
  const bool hasParameters = size >= kHostMessageSize;

  const std::uint8_t refusals = (flags & 0x80) != 0 ? draw.u8() : 0;
  HostMessageEx m{};
  m.base.size = size;
  m.base.id = id;
  if (flags & 1) {
    m.base.hdr1 = draw.u32();
    m.base.hdr2 = draw.u32();
    m.base.hdr3 = draw.u32();
    m.base.hdr4 = draw.u32();
  }
  if (flags & 2) {
    switch (draw.u8() % 3) {
      case 0:
        m.base.p2 = draw.u32();
        break;
      case 1:
        m.base.p2 = draw.u8();
        break;
      default:
        m.base.p2 = arena.text(statusText(draw));
        break;
    }
  }

  switch (id) {
    case msg::kInit: {
      const std::uint8_t which = scripted ? 0 : draw.u8() % 8;
      if (!hasParameters && which >= 6) {
        m.base.p1 = draw.pick(kGarbagePointers);
      } else if (which != 7) {
        m.base.p1 = ptrValue(which % 2 == 0 ? &f.hostA : &f.hostB);
      }
      break;
    }
    case msg::kActionNotify:
      if (!hasParameters && draw.rare(2)) {
        m.base.p1 = draw.pick(kGarbagePointers);
      } else if (!draw.rare(16)) {
        m.base.p1 = buildNotify(draw, arena, world.log());
      }
      break;
    case msg::kStatusChange:
      m.base.p1 = static_cast<std::uint32_t>(drawContact(draw));
      m.p3 = size < kHostMessageExSize && draw.rare(2)
                 ? draw.pick(kGarbagePointers)
                 : drawStatus(draw, arena, world.log(), size >= kHostMessageExSize);
      break;
    default:
      switch ((flags >> 2) & 3) {
        case 1:
          m.base.p1 = draw.u8();
          break;
        case 2:
          m.base.p1 = arena.text(statusText(draw));
          break;
        case 3:
          m.base.p1 = buildNotify(draw, arena, world.log());
          break;
        default:
          break;
      }
      break;
  }

  char* record = arena.bytes(allocated);
  std::memset(record, 0xA5, allocated);
  std::memcpy(record, &m, typeSize);
  auto* message = reinterpret_cast<HostMessage*>(record);

  // GetKeyState answers: not held; held as Windows reports it (the
  // sign-extended key-state byte 0x80); other bit patterns.
  static constexpr short kKeyStates[] = {0, -128, 0x80, static_cast<short>(0x8000),
                                         1, 0x7F, -1,   0x0100};
  f.system.setKeyState(kKeyStates[(flags >> 4) & 7]);
  f.system.setRefusals(refusals);

  ++counts().messages;
  IHost* const before = world.expectedHost();
  const bool running = before != nullptr;
  world.startMessage();
  f.hostA.clearCalls();  // the host model's record of one message
  f.hostB.clearCalls();
  if (id == msg::kStatusChange && size >= kHostMessageExSize) {
    world.expectStatusChangeRefresh(static_cast<std::int32_t>(m.base.p1), m.p3);
  }
  const int answer = callPlugin(message);
  const int calls = world.callOuts();
  const int errors = world.setErrors();
  if (g_trace) {
    std::fprintf(stderr, "message %u size %u p1 %#x: answer %d, %d call-outs\n", id, size,
                 m.base.p1, answer, calls);
  }
  auto expect = [&](bool ok, const char* rule) {
    require(ok, rule, [&] { return std::to_string(id) + "/" + std::to_string(size); });
  };
  auto quiet = [&](int expected) {
    expect(answer == expected, "answer");
    expect(calls == 0, "no host call");
  };
  auto answersText = [&](const char* text) {
    const char* answered = valuePtr<const char>(static_cast<std::uint32_t>(answer));
    expect(answered != nullptr && std::strcmp(answered, text) == 0, "answered text");
    expect(calls == 0, "no host call");
  };

  switch (id) {
    case msg::kInit:
      quiet(hasParameters && m.base.p1 != 0 ? 1 : 0);
      if (hasParameters && m.base.p1 != 0) world.expectHost(valuePtr<IHost>(m.base.p1));
      break;
    case msg::kShutdown:
      quiet(1);
      world.expectHost(nullptr);
      checkNothingLeft();
      ++counts().shutdowns;
      break;
    case msg::kStartQuery:
      quiet(2);
      break;
    case msg::kSettingsLoaded:
      quiet(1);
      break;
    case msg::kNetIdQuery:
      quiet(kNetId);
      break;
    case msg::kTypeQuery:
      quiet(20);
      break;
    case msg::kLastIdentityQuery:
      quiet(0);
      break;
    case msg::kVersionQuery:
      answersText(BRISKO_VERSION_TEXT);
      break;
    case msg::kNameQuery:
    case msg::kDisplayNameQuery:
      answersText(texts::kPluginName);
      break;
    case msg::kRegisterColumns:
    case msg::kBuildUserInterface:
    case msg::kLoadSettings:
      if (running) {
        expect(answer == 1 && errors == 0, "a running plug-in answers 1");
      } else {
        quiet(0);
      }
      break;
    case msg::kActionNotify:
      if (!running || !hasParameters || m.base.p1 == 0) {
        quiet(0);
      } else {
        expect(answer == 0 && errors == 0, "a notification is answered 0");
      }
      break;
    case msg::kStatusChange:
      if (!running) {
        quiet(0);
      } else if (size < kHostMessageExSize) {
        expect(answer == 0 && errors == 1 && calls == 1,
               "a short status change is answered 0 and reported once");
      } else if (m.p3 == 0 || m.base.p1 == 0) {
        quiet(0);
      } else {
        expect(answer == 0 && errors == 0, "a status change is answered 0");
      }
      break;
    default:
      expect(answer == 0, "an unknown message is answered 0");
      if (running) {
        expect(calls == 1 && errors == 1, "an unknown message is reported once");
      } else {
        expect(calls == 0, "before 20001 nothing is reported");
      }
      break;
  }
  f.system.checkSettled();
}

void printCounts() {
  const CheckCounts& c = counts();
  std::fprintf(stderr,
               "entry point checks: %zu messages, %zu menu texts, %zu chat button texts, "
               "%zu page values written back, %zu refreshes (%zu delivered back), "
               "%zu links opened, %zu copied, %zu shutdowns without leftovers\n",
               c.messages, c.menuTexts, c.chatButtonTexts, c.valuesWrittenBack, c.refreshes,
               c.reentries, c.opened, c.copied, c.shutdowns);
}

void sendPlain(Fixture& f, Draw& draw, std::uint32_t id) {
  sendOne(f, draw, id, 0, kHostMessageSize, /*scripted=*/true);
}

}  // namespace
}  // namespace brisko::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace brisko;
  using namespace brisko::fuzz;
  static const bool ready = [] {
    exchangeSystemApi(&fixture().system.standIn());
    warmUp();
    if (std::getenv("BRISKO_FUZZ_STATS") != nullptr) std::atexit(printCounts);
    g_trace = std::getenv("BRISKO_FUZZ_TRACE") != nullptr;
    return true;
  }();
  (void)ready;

  Fixture& f = fixture();
  f.bytes.reset(data, size);
  f.world.startInput(f.bytes);
  f.system.startInput();
  Draw messages(f.bytes, /*fromBack=*/false);

  if ((messages.u8() & 3) != 3) {
    for (const std::uint32_t id :
         {msg::kInit, msg::kRegisterColumns, msg::kBuildUserInterface, msg::kLoadSettings}) {
      sendPlain(f, messages, id);
    }
  }
  for (int n = 0; n < kMostMessages && !f.bytes.empty(); ++n) {
    const std::uint8_t op = messages.u8();
    if (op == 0) break;  // the rest are the answers
    const std::uint32_t id = drawId(op, messages);
    const std::uint8_t flags = messages.u8();
    sendOne(f, messages, id, flags, drawSize(messages, typeSizeOf(id)));
  }
  sendPlain(f, messages, msg::kShutdown);
  f.world.endInput();
  return 0;
}
