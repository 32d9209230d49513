// Helpers of the settings and configuration-page tests.
//
// - cp1250(): the Windows-1250 bytes of a UTF-8 text, written independently of
//   settings/texts.h so that the two can be checked against each other.
// - ScriptedHost: a minimal host interface object whose answers a test sets
//   one by one, for what the emulator does not do: null text pointers, a
//   value buffer filled to its last byte, a named plug-in answer.
// - Record helpers that build the expected bytes of the records the plug-in
//   sends.
#pragma once

#include <cstdint>
#include <cstring>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/host_calls.h"
#include "host/host_interface.h"
#include "host/ids.h"
#include "host/records.h"

namespace brisko::test {

// Windows-1250 bytes of `utf8`. Covers ASCII, the Polish letters and "…";
// anything else is a fault of the test itself and throws.
inline std::string cp1250(const std::string& utf8) {
  static const std::map<std::uint32_t, unsigned char> kTable = {
      {0x0105, 0xB9}, {0x0107, 0xE6}, {0x0119, 0xEA}, {0x0142, 0xB3}, {0x0144, 0xF1},
      {0x00F3, 0xF3}, {0x015B, 0x9C}, {0x017A, 0x9F}, {0x017C, 0xBF}, {0x0104, 0xA5},
      {0x0106, 0xC6}, {0x0118, 0xCA}, {0x0141, 0xA3}, {0x0143, 0xD1}, {0x00D3, 0xD3},
      {0x015A, 0x8C}, {0x0179, 0x8F}, {0x017B, 0xAF}, {0x2026, 0x85}};
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    std::uint32_t cp = 0;
    std::size_t n = 0;
    if (b < 0x80) {
      cp = b;
      n = 1;
    } else if ((b & 0xE0) == 0xC0) {
      cp = b & 0x1Fu;
      n = 2;
    } else if ((b & 0xF0) == 0xE0) {
      cp = b & 0x0Fu;
      n = 3;
    } else {
      throw std::invalid_argument("cp1250: unsupported UTF-8 lead byte");
    }
    if (i + n > utf8.size()) throw std::invalid_argument("cp1250: cut UTF-8 sequence");
    for (std::size_t k = 1; k < n; ++k) {
      cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3Fu);
    }
    i += n;
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else {
      const auto it = kTable.find(cp);
      if (it == kTable.end()) throw std::invalid_argument("cp1250: character not in the table");
      out += static_cast<char>(it->second);
    }
  }
  return out;
}

// Little-endian writer for expected record bytes.
class Bytes {
 public:
  Bytes& u8(std::uint8_t v) {
    data_.push_back(v);
    return *this;
  }
  Bytes& u16(std::uint16_t v) {
    for (int i = 0; i < 2; ++i) data_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    return *this;
  }
  Bytes& u32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) data_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    return *this;
  }
  Bytes& i32(std::int32_t v) { return u32(static_cast<std::uint32_t>(v)); }
  const std::vector<std::uint8_t>& data() const { return data_; }

 private:
  std::vector<std::uint8_t> data_;
};

// Reads a little-endian 32-bit field of recorded bytes.
inline std::uint32_t u32At(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
  if (offset + 4 > bytes.size()) throw std::out_of_range("u32At past the record");
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | bytes[offset + static_cast<std::size_t>(i)];
  return v;
}

// Copy of `bytes` with the 4 bytes at `offset` zeroed (a pointer field whose
// value the test cannot know).
inline std::vector<std::uint8_t> maskPointer(std::vector<std::uint8_t> bytes, std::size_t offset) {
  for (std::size_t i = 0; i < 4 && offset + i < bytes.size(); ++i) bytes[offset + i] = 0;
  return bytes;
}

// A host interface object with scripted answers. It records what it is sent.
class ScriptedHost : public IHost {
 public:
  struct Sent {
    std::uint32_t messageId = 0;
    ActionInfo info{};                // for 10101, 10106, 10108, 10110 (the first `size` bytes)
    std::optional<std::string> text;  // the text the record points to, if any
  };

  // Configuration table: integers, and texts (nullopt: answered with a null pointer).
  std::map<int, std::int32_t> configInts;
  std::map<int, std::optional<std::string>> configTexts;
  // Page control values by action id (nullopt or missing: a null pointer).
  std::map<std::uint32_t, std::optional<std::string>> controlValues;

  int pluginId = 77;
  int hostState = 0;
  int pluginValue = 4242;
  std::optional<std::string> displayName;    // answer to 30016; nullopt: null pointer
  std::vector<std::uint8_t> valueTextBytes;  // written into the ValueToText buffer as they are
  std::size_t valueBufferSize = 52;          // how many bytes the host may write

  std::vector<Sent> sent;
  std::vector<int> readColumns;
  std::vector<HostMessage> pluginMessages;  // SendToPlugin
  std::vector<int> pluginMessageTargets;
  std::vector<std::uint32_t> valueToTextArgs;
  int getHostStateCalls = 0;

  int GetPluginId() override { return pluginId; }
  int GetPluginInstance() override { return 0; }
  int GetHostState() override {
    ++getHostStateCalls;
    return hostState;
  }
  void SetError(int) override {}
  int SendToHost(HostMessage* message) override {
    Sent record;
    record.messageId = message->id;
    switch (message->id) {
      case msg::kInsertAction:
      case msg::kGetActionValue:
      case msg::kSetAction:
      case msg::kSetActionValue: {
        const auto* info = valuePtr<const ActionInfo>(message->p1);
        std::memcpy(&record.info, info, info->size <= sizeof(ActionInfo) ? info->size : 0);
        if (info->text != 0) record.text = std::string(valuePtr<const char>(info->text));
        sent.push_back(record);
        const std::uint32_t id = info->id;  // a packed field: copied before use
        if (message->id == msg::kGetActionValue) {
          const auto it = controlValues.find(id);
          if (it == controlValues.end() || !it->second) return 0;
          answered_ = *it->second;
          return static_cast<int>(ptrValue(answered_.c_str()));
        }
        if (message->id == msg::kSetActionValue && info->text != 0) {
          controlValues[id] = std::string(valuePtr<const char>(info->text));
        }
        return 0;
      }
      case msg::kGetPluginValue:
        sent.push_back(record);
        return pluginValue;
      case msg::kValueToText: {
        sent.push_back(record);
        const std::uint32_t valueArg = message->p1;  // a packed field: copy it first
        valueToTextArgs.push_back(valueArg);
        char* buffer = valuePtr<char>(message->p2);
        const std::size_t n =
            valueTextBytes.size() < valueBufferSize ? valueTextBytes.size() : valueBufferSize;
        if (n > 0) std::memcpy(buffer, valueTextBytes.data(), n);
        return 1;
      }
      default:
        sent.push_back(record);
        return 0;  // GetContactCount 0: no contacts
    }
  }
  int SendToPlugin(int target, HostMessage* message) override {
    pluginMessageTargets.push_back(target);
    pluginMessages.push_back(*message);
    if (!displayName) return 0;
    return static_cast<int>(ptrValue(displayName->c_str()));
  }
  int GetRowId(int, int) override { return -1; }
  int GetValue(int table, int, int column, ConfigValue* value) override {
    readColumns.push_back(column);
    if (table != kConfigTable) return 0;
    if (value->type == 0) {
      value->value = static_cast<std::uint32_t>(configInts[column]);
    } else {
      const auto it = configTexts.find(column);
      if (it == configTexts.end() || !it->second) {
        value->value = 0;
      } else {
        answeredConfig_ = *it->second;
        value->value = ptrValue(answeredConfig_.c_str());
      }
    }
    return 0;
  }

  std::vector<Sent> sentWith(std::uint32_t messageId) const {
    std::vector<Sent> out;
    for (const Sent& s : sent) {
      if (s.messageId == messageId) out.push_back(s);
    }
    return out;
  }

 private:
  std::string answered_;
  std::string answeredConfig_;
};

// Makes `host` the current host for the scope; no host again afterwards.
class CurrentHostScope {
 public:
  explicit CurrentHostScope(IHost* h) { host::setCurrent(h); }
  ~CurrentHostScope() { host::setCurrent(nullptr); }
  CurrentHostScope(const CurrentHostScope&) = delete;
  CurrentHostScope& operator=(const CurrentHostScope&) = delete;
};

}  // namespace brisko::test
