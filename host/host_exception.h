// Errors of the host interface layer. Plain data, thrown by value; they never
// leave IMessageProc, which answers such a message 0.
#pragma once

#include <cstdint>

namespace brisko {

struct HostMessage;

class cTException {
 public:
  explicit cTException(std::int32_t code) : code_(code) {}
  std::int32_t code() const { return code_; }

 private:
  std::int32_t code_;
};

// A record too short for its message.
class cTException_Msg : public cTException {
 public:
  cTException_Msg(std::int32_t code, const HostMessage* message)
      : cTException(code), message_(message) {}
  const HostMessage* message() const { return message_; }

 private:
  const HostMessage* message_;
};

}  // namespace brisko
