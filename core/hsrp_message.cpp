#include "hsrp_message.h"

#include <algorithm>
#include <cstring>

namespace standora {
namespace {

struct StateEntry {
  std::uint8_t code;
  const char* name;
};

constexpr StateEntry kStates[] = {
    {0, "initial"}, {1, "learn"},   {2, "listen"},
    {4, "speak"},   {8, "standby"}, {16, "active"},
};

// Appends the decimal digits of `value` to `out`.
void AppendDecimal(std::string& out, unsigned value) {
  char digits[3];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  while (n > 0) out.push_back(digits[--n]);
}

}  // namespace

HsrpMessage DecodeHsrp(const std::uint8_t* bytes, std::size_t length) {
  std::uint8_t wire[kHsrpMessageSize] = {};
  const std::size_t covered = std::min<std::size_t>(length, kHsrpMessageSize);
  if (covered != 0) std::memcpy(wire, bytes, covered);

  HsrpMessage m;
  m.length = covered;
  m.state = wire[kStateOffset];
  m.helloTime = wire[kHelloOffset];
  m.holdTime = wire[kHoldOffset];
  m.priority = wire[kPriorityOffset];
  m.group = wire[kGroupOffset];
  std::memcpy(m.authData.data(), wire + kAuthOffset, kAuthSize);
  std::memcpy(&m.virtualIp, wire + kVirtualIpOffset, sizeof m.virtualIp);
  // A field cut short by the datagram's end is not a value at all.
  if (!m.Covers(kAuthOffset, kAuthSize)) m.authData.fill(0);
  if (!m.Covers(kVirtualIpOffset, sizeof m.virtualIp)) m.virtualIp = 0;
  return m;
}

std::string StateName(std::uint8_t code) {
  for (const StateEntry& e : kStates) {
    if (e.code == code) return e.name;
  }
  return {};
}

std::string TimerText(std::uint8_t seconds, bool withUnit) {
  std::string text = ByteText(seconds);
  if (withUnit) text += " sec.";
  return text;
}

std::string ByteText(std::uint8_t value) {
  std::string text;
  AppendDecimal(text, value);
  return text;
}

std::string AuthText(const std::array<std::uint8_t, kAuthSize>& authData) {
  const auto end = std::find(authData.begin(), authData.end(), 0);
  return std::string(authData.begin(), end);
}

std::string AddressText(std::uint32_t networkOrder) {
  std::uint8_t b[4];
  std::memcpy(b, &networkOrder, sizeof b);
  std::string text;
  text.reserve(15);
  for (int i = 0; i < 4; ++i) {
    if (i != 0) text.push_back('.');
    AppendDecimal(text, b[i]);
  }
  return text;
}

}  // namespace standora
