// Decoding of HSRP version 1 hello datagrams and the texts of their fields.
//
// The layout as it travels on the wire (all single bytes but the last two
// fields):
//
//   0 version   1 op code   2 state    3 hello time   4 hold time
//   5 priority  6 group     7 reserved 8..15 authentication  16..19 virtual IP
//
// Version, op code and reserved byte are not read; nothing is validated.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace standora {

// Wire offsets, and the size of a full message.
enum HsrpOffset : std::size_t {
  kStateOffset = 2,
  kHelloOffset = 3,
  kHoldOffset = 4,
  kPriorityOffset = 5,
  kGroupOffset = 6,
  kAuthOffset = 8,
  kAuthSize = 8,
  kVirtualIpOffset = 16,
  kHsrpMessageSize = 20,
};

struct HsrpMessage {
  std::uint8_t state = 0;
  std::uint8_t helloTime = 0;
  std::uint8_t holdTime = 0;
  std::uint8_t priority = 0;
  std::uint8_t group = 0;
  std::array<std::uint8_t, kAuthSize> authData{};
  // Network byte order: the four bytes exactly as they arrived.
  std::uint32_t virtualIp = 0;
  // How many of the message's bytes the datagram carried (0 to 20). A field
  // it did not carry whole holds zero and is shown as empty text.
  std::size_t length = 0;

  // True when the datagram carried every byte of the field at `offset`.
  bool Covers(std::size_t offset, std::size_t width = 1) const {
    return length >= offset + width;
  }
};

// Reads the message from the first `length` bytes of `bytes`; only the first
// 20 are looked at. A datagram may be shorter than a message: the fields it
// did not carry are zero and marked as not covered.
HsrpMessage DecodeHsrp(const std::uint8_t* bytes, std::size_t length);

// "initial", "learn", "listen", "speak", "standby" or "active"; any other
// code gives the empty text.
std::string StateName(std::uint8_t code);

// The value in decimal, with " sec." appended when `withUnit`.
std::string TimerText(std::uint8_t seconds, bool withUnit);

// Plain decimal of a byte (priority, group).
std::string ByteText(std::uint8_t value);

// The field's bytes up to the first zero byte, at most all eight, as they
// arrived (single-byte code page; turning them into screen text is the
// window's job).
std::string AuthText(const std::array<std::uint8_t, kAuthSize>& authData);

// Dotted decimal of an address held in network byte order, first number from
// the first byte on the wire, as inet_ntoa writes it.
std::string AddressText(std::uint32_t networkOrder);

}  // namespace standora
