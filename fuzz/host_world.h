// The world the entry point fuzzer's host objects and system share: the
// answers drawn from the input, the model of what the plug-in holds, the
// counters of one message and the texts given out. It keeps to the letter of
// the host's contract and to nothing more, and checks each record the
// plug-in sends: a violation aborts.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "fuzz/fuzz_draw.h"
#include "fuzz/status_pieces.h"
#include "fuzz/text_origin.h"
#include "host/host_interface.h"
#include "host/records.h"

// The plug-in's one export (plugin/entry.cpp).
extern "C" __attribute__((stdcall)) int IMessageProc(brisko::HostMessage* message);

namespace brisko::fuzz {

// How often each check ran, over the whole process (printed at exit when the
// environment has BRISKO_FUZZ_STATS).
struct CheckCounts {
  std::size_t messages = 0;
  std::size_t menuTexts = 0;
  std::size_t chatButtonTexts = 0;
  std::size_t valuesWrittenBack = 0;
  std::size_t refreshes = 0;
  std::size_t reentries = 0;
  std::size_t opened = 0;
  std::size_t copied = 0;
  std::size_t shutdowns = 0;
};

CheckCounts& counts();

// What the plug-in's notification of a refreshed chat button must be.
struct ExpectedRefresh {
  bool statusChange = false;  // else a refresh after the settings were applied
  std::int32_t contact = 0;
  std::uint32_t text = 0;
};

// The world both host objects and the system share: the input's answers,
// the model of what the plug-in holds, the counters of one message, and the
// texts given out.
class HostWorld {
 public:
  HostWorld() = default;

  void startInput(FuzzBytes& bytes);
  void endInput();
  Draw& answers() { return *answers_; }
  TextLog& log() { return log_; }

  // The host reference the plug-in should hold (null: none).
  void expectHost(IHost* host) { expectedHost_ = host; }
  IHost* expectedHost() const { return expectedHost_; }

  // Counters of one top-level message, the host's re-entries included.
  void startMessage();
  int callOuts() const { return callOuts_; }
  int setErrors() const { return setErrors_; }
  // The 24011 being handled, whose notification CallAction must carry.
  void expectStatusChangeRefresh(std::int32_t contact, std::uint32_t text) {
    refresh_ = ExpectedRefresh{true, contact, text};
  }

  // --- the host interface ------------------------------------------------
  void enter(const IHost* self);

  int anyInteger();

  void setError(int code);

  // Answers with a text that stays valid until the next call-out.
  std::uint32_t answerText(const Text& text);

  int sendToPlugin(HostMessage* message);

  int getRowId(int table, int index);

  int getValue(int table, int row, int column, ConfigValue* value);

  int sendToHost(HostMessage* message);

 private:
  // A stored integer: zero draws the value registered for the column.
  int configInteger(std::uint32_t column);

  // A stored text: zero draws the text registered for the column.
  Text configText(std::uint32_t column);

  // A page control's value as the host holds it: zero draws what a user
  // would leave there.
  Text controlValue(std::uint32_t id);

  int contactCount();

  ActionInfo readActionInfo(std::uint32_t pointer, bool insertion);

  // The whole text a record points to (ASan checks it is readable and ends).
  static std::string textAt(std::uint32_t pointer);

  int registerColumn(const unsigned char* whole);

  void checkMenuText(std::uint32_t id, const std::string& text);

  int callAction(std::uint32_t pointer);

  std::optional<Draw> answers_;
  TextLog log_;
  IHost* expectedHost_ = nullptr;
  HeapBytes answer_;
  int callOuts_ = 0;
  int setErrors_ = 0;
  int lastContactCount_ = 0;
  std::map<std::int32_t, bool> chatWindowAnswers_;
  std::vector<std::int32_t> rowIds_;
  std::optional<ExpectedRefresh> refresh_;
};

// Calls the plug-in as the host does; nothing may come out of it.
int callPlugin(HostMessage* message);

}  // namespace brisko::fuzz
