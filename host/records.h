// Binary records exchanged with the host.
//
// Every record is little-endian and packed (IconRecord alone keeps a 2-byte
// gap after its size). Pointers travel as 32-bit integers: the plug-in is a
// 32-bit module on every target, and the static_asserts below pin each
// field's offset so that a change of compiler or target cannot move a byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace brisko {

// Pointers inside records are 32-bit values.
static_assert(sizeof(void*) == 4, "the plug-in is 32-bit code on every target");

inline std::uint32_t ptrValue(const void* p) {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(p));
}
template <typename T>
inline T* valuePtr(std::uint32_t v) {
  return reinterpret_cast<T*>(static_cast<std::uintptr_t>(v));
}

// A record of type T read from `size` bytes at `bytes` (a copy of one as it
// travelled): at most sizeof(T) of them are used, the fields past them are
// zero. Packed fields are to be read by value.
template <typename T>
T recordFrom(const void* bytes, std::size_t size) {
  T record{};
  std::memcpy(&record, bytes, size < sizeof(T) ? size : sizeof(T));
  return record;
}

#pragma pack(push, 1)

// The record passed for every call in both directions (30 bytes).
struct HostMessage {
  std::uint16_t size;
  std::uint32_t id;
  std::uint32_t hdr1;
  std::uint32_t hdr2;
  std::uint32_t hdr3;
  std::uint32_t hdr4;
  std::uint32_t p1;
  std::uint32_t p2;
};

// The 34-byte form the host sends with a contact's status change.
struct HostMessageEx {
  HostMessage base;
  std::uint32_t p3;
};

// Registration of one configuration column (message 1102); the whole record
// is the message.
struct ConfigColumnRecord {
  std::uint16_t size;
  std::uint32_t id;
  std::uint32_t hdr1;
  std::uint32_t hdr2;
  std::uint32_t hdr3;
  std::uint32_t hdr4;
  std::uint8_t table;
  std::uint32_t columnId;
  std::uint32_t columnType;
  std::uint32_t defaultValue;  // the integer, or a pointer to the default text
  std::uint32_t name;          // pointer to the key text
};

// The value record of a table read.
struct ConfigValue {
  std::uint16_t type;  // 0 integer wanted, 1 text wanted
  std::uint32_t value;
  std::uint32_t bufferSize;
};

// One user-interface action: insertion (78 or 74 bytes), read or change (74).
struct ActionInfo {
  std::uint16_t size;
  std::uint32_t id;
  std::uint32_t parent;
  std::int32_t cnt;  // the contact whose instance is meant; kNoContact for none
  std::int32_t position;
  std::uint32_t reserved18;
  std::uint32_t reserved22;
  std::uint32_t reserved26;
  std::uint32_t mask;
  std::uint32_t status;
  std::uint32_t statusMask;
  std::uint32_t reserved42;
  std::uint32_t reserved46;
  std::uint32_t text;
  std::uint32_t textSize;
  std::uint32_t reserved58;
  std::uint32_t param;
  std::uint32_t reserved66;
  std::uint16_t width;
  std::uint16_t height;
  std::uint16_t extra74;  // extended form only
  std::uint16_t extra76;  // extended form only
};

// Reference to one instance of an action (message 10117).
struct ActionRef {
  std::uint32_t id;
  std::uint32_t parent;
  std::int32_t cnt;  // the contact whose instance is meant; kNoContact for none
};

// An event on an action (message 22200 from the host, 10103 from us).
struct ActionNotify {
  std::uint16_t size;
  std::uint32_t id;
  std::uint32_t parent;
  std::int32_t cnt;  // the contact whose instance is meant; kNoContact for none
  std::uint32_t code;
  std::uint32_t reserved18;
  std::uint32_t p1;
  std::uint32_t p2;
};

#pragma pack(pop)

// Icon registration (message 10130). Not packed: a 2-byte gap follows size.
struct IconRecord {
  std::uint16_t size;
  std::uint16_t gap;
  std::uint32_t iconId;
  std::uint32_t iconKind;
  std::uint32_t zero12;
  std::uint32_t one16;
  std::uint32_t module;
  std::uint32_t resourceId;
  std::uint32_t zero28;
  std::uint32_t zero32;
};

// Sizes of the records as they travel.
constexpr std::uint16_t kHostMessageSize = 30;
constexpr std::uint16_t kHostMessageExSize = 34;
constexpr std::uint16_t kConfigColumnRecordSize = 39;
constexpr std::uint16_t kConfigValueSize = 10;
constexpr std::uint16_t kActionInfoSize = 74;
constexpr std::uint16_t kActionInfoExSize = 78;
constexpr std::uint16_t kActionRefSize = 12;
constexpr std::uint16_t kActionNotifySize = 30;
constexpr std::uint16_t kIconRecordSize = 36;

static_assert(sizeof(HostMessage) == kHostMessageSize);
static_assert(offsetof(HostMessage, size) == 0);
static_assert(offsetof(HostMessage, id) == 2);
static_assert(offsetof(HostMessage, hdr1) == 6);
static_assert(offsetof(HostMessage, hdr2) == 10);
static_assert(offsetof(HostMessage, hdr3) == 14);
static_assert(offsetof(HostMessage, hdr4) == 18);
static_assert(offsetof(HostMessage, p1) == 22);
static_assert(offsetof(HostMessage, p2) == 26);

static_assert(sizeof(HostMessageEx) == kHostMessageExSize);
static_assert(offsetof(HostMessageEx, p3) == 30);

static_assert(sizeof(ConfigColumnRecord) == kConfigColumnRecordSize);
static_assert(offsetof(ConfigColumnRecord, hdr4) == 18);
static_assert(offsetof(ConfigColumnRecord, table) == 22);
static_assert(offsetof(ConfigColumnRecord, columnId) == 23);
static_assert(offsetof(ConfigColumnRecord, columnType) == 27);
static_assert(offsetof(ConfigColumnRecord, defaultValue) == 31);
static_assert(offsetof(ConfigColumnRecord, name) == 35);

static_assert(sizeof(ConfigValue) == kConfigValueSize);
static_assert(offsetof(ConfigValue, value) == 2);
static_assert(offsetof(ConfigValue, bufferSize) == 6);

static_assert(sizeof(ActionInfo) == kActionInfoExSize);
static_assert(offsetof(ActionInfo, id) == 2);
static_assert(offsetof(ActionInfo, parent) == 6);
static_assert(offsetof(ActionInfo, cnt) == 10);
static_assert(offsetof(ActionInfo, position) == 14);
static_assert(offsetof(ActionInfo, reserved18) == 18);
static_assert(offsetof(ActionInfo, reserved22) == 22);
static_assert(offsetof(ActionInfo, reserved26) == 26);
static_assert(offsetof(ActionInfo, mask) == 30);
static_assert(offsetof(ActionInfo, status) == 34);
static_assert(offsetof(ActionInfo, statusMask) == 38);
static_assert(offsetof(ActionInfo, reserved42) == 42);
static_assert(offsetof(ActionInfo, reserved46) == 46);
static_assert(offsetof(ActionInfo, text) == 50);
static_assert(offsetof(ActionInfo, textSize) == 54);
static_assert(offsetof(ActionInfo, reserved58) == 58);
static_assert(offsetof(ActionInfo, param) == 62);
static_assert(offsetof(ActionInfo, reserved66) == 66);
static_assert(offsetof(ActionInfo, width) == 70);
static_assert(offsetof(ActionInfo, height) == 72);
static_assert(offsetof(ActionInfo, extra74) == 74);
static_assert(offsetof(ActionInfo, extra76) == 76);

static_assert(sizeof(ActionRef) == kActionRefSize);
static_assert(offsetof(ActionRef, parent) == 4);
static_assert(offsetof(ActionRef, cnt) == 8);

static_assert(sizeof(ActionNotify) == kActionNotifySize);
static_assert(offsetof(ActionNotify, id) == 2);
static_assert(offsetof(ActionNotify, parent) == 6);
static_assert(offsetof(ActionNotify, cnt) == 10);
static_assert(offsetof(ActionNotify, code) == 14);
static_assert(offsetof(ActionNotify, reserved18) == 18);
static_assert(offsetof(ActionNotify, p1) == 22);
static_assert(offsetof(ActionNotify, p2) == 26);

static_assert(sizeof(IconRecord) == kIconRecordSize);
static_assert(offsetof(IconRecord, iconId) == 4);
static_assert(offsetof(IconRecord, iconKind) == 8);
static_assert(offsetof(IconRecord, zero12) == 12);
static_assert(offsetof(IconRecord, one16) == 16);
static_assert(offsetof(IconRecord, module) == 20);
static_assert(offsetof(IconRecord, resourceId) == 24);
static_assert(offsetof(IconRecord, zero28) == 28);
static_assert(offsetof(IconRecord, zero32) == 32);

}  // namespace brisko
