#include "hsrp_message.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <ostream>
#include <vector>

namespace standora {
namespace {

TEST(StateName, NamesExactlyTheSixStatesAndNothingElse) {
  const std::map<int, std::string> named = {
      {0, "initial"}, {1, "learn"},   {2, "listen"},
      {4, "speak"},   {8, "standby"}, {16, "active"},
  };
  for (int code = 0; code <= 255; ++code) {
    const auto it = named.find(code);
    const std::string expected = it == named.end() ? "" : it->second;
    EXPECT_EQ(StateName(static_cast<std::uint8_t>(code)), expected)
        << "code " << code;
  }
}

struct TimerCase {
  int seconds;
  bool withUnit;
  const char* text;
};

void PrintTo(const TimerCase& c, std::ostream* os) {
  *os << c.seconds << (c.withUnit ? "_withUnit" : "_bare");
}

class TimerTextTest : public testing::TestWithParam<TimerCase> {};

TEST_P(TimerTextTest, Decimal) {
  const TimerCase& c = GetParam();
  EXPECT_EQ(TimerText(static_cast<std::uint8_t>(c.seconds), c.withUnit),
            c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TimerTextTest,
    testing::Values(TimerCase{3, true, "3 sec."}, TimerCase{0, true, "0 sec."},
                    TimerCase{10, true, "10 sec."},
                    TimerCase{255, true, "255 sec."}, TimerCase{0, false, "0"},
                    TimerCase{9, false, "9"}, TimerCase{100, false, "100"},
                    TimerCase{255, false, "255"}));

TEST(ByteText, PlainDecimalWithoutLeadingZeros) {
  const std::vector<std::pair<int, std::string>> table = {
      {0, "0"}, {7, "7"}, {10, "10"}, {99, "99"}, {100, "100"}, {255, "255"}};
  for (const auto& [value, text] : table) {
    EXPECT_EQ(ByteText(static_cast<std::uint8_t>(value)), text);
  }
}

struct AuthCase {
  const char* name;
  std::array<std::uint8_t, 8> field;
  std::string text;
};

class AuthTextTest : public testing::TestWithParam<AuthCase> {};

TEST_P(AuthTextTest, UpToFirstZeroAtMostEight) {
  EXPECT_EQ(AuthText(GetParam().field), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, AuthTextTest,
    testing::Values(
        AuthCase{"FiveLettersThenZeros",
                 {'c', 'i', 's', 'c', 'o', 0, 0, 0},
                 "cisco"},
        AuthCase{"EightNonZero",
                 {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H'},
                 "ABCDEFGH"},
        AuthCase{"LeadingZero", {0, 'a', 'b', 'c', 'd', 'e', 'f', 'g'}, ""},
        AuthCase{"ZeroInTheMiddle", {'a', 'b', 0, 'c', 'd', 0, 0, 0}, "ab"},
        AuthCase{
            "HighByteKeptAsIs", {0xE4, 'x', 0xFF, 0, 0, 0, 0, 0}, "\xE4x\xFF"},
        AuthCase{"ControlAndAmpersand",
                 {'a', '&', 'b', '\n', 0x7F, 0, 0, 0},
                 "a&b\n\x7F"}),
    [](const testing::TestParamInfo<AuthCase>& info) {
      return info.param.name;
    });

std::uint32_t WireAddress(std::uint8_t a, std::uint8_t b, std::uint8_t c,
                          std::uint8_t d) {
  const std::uint8_t wire[4] = {a, b, c, d};
  std::uint32_t v;
  std::memcpy(&v, wire, sizeof v);
  return v;
}

TEST(AddressText, FirstNumberFromFirstWireByte) {
  EXPECT_EQ(AddressText(WireAddress(192, 168, 0, 1)), "192.168.0.1");
  EXPECT_EQ(AddressText(WireAddress(10, 0, 0, 5)), "10.0.0.5");
  EXPECT_EQ(AddressText(WireAddress(0, 0, 0, 0)), "0.0.0.0");
  EXPECT_EQ(AddressText(WireAddress(255, 255, 255, 255)), "255.255.255.255");
  EXPECT_EQ(AddressText(WireAddress(1, 20, 100, 0)), "1.20.100.0");
}

TEST(DecodeHsrp, ReadsEveryFieldAtItsOffset) {
  const std::uint8_t wire[20] = {0,   3,   16,  3, 10, 120, 7,   0xEE, 'c', 'i',
                                 's', 'c', 'o', 0, 0,  0,   192, 168,  0,   1};
  const HsrpMessage m = DecodeHsrp(wire, sizeof wire);
  EXPECT_EQ(m.state, 16);
  EXPECT_EQ(m.helloTime, 3);
  EXPECT_EQ(m.holdTime, 10);
  EXPECT_EQ(m.priority, 120);
  EXPECT_EQ(m.group, 7);
  EXPECT_EQ(AuthText(m.authData), "cisco");
  EXPECT_EQ(AddressText(m.virtualIp), "192.168.0.1");
  EXPECT_EQ(m.virtualIp, WireAddress(192, 168, 0, 1));
  EXPECT_EQ(m.length, 20u);
}

TEST(DecodeHsrp, VersionOpCodeAndReservedAreIgnored) {
  std::uint8_t a[20] = {0, 0, 8, 3, 10, 100, 1, 0};
  std::uint8_t b[20];
  std::memcpy(b, a, sizeof a);
  b[0] = 9;
  b[1] = 2;
  b[7] = 0x55;
  const HsrpMessage ma = DecodeHsrp(a, 20);
  const HsrpMessage mb = DecodeHsrp(b, 20);
  EXPECT_EQ(ma.state, mb.state);
  EXPECT_EQ(ma.group, mb.group);
  EXPECT_EQ(ma.priority, mb.priority);
}

// Bytes past the datagram's end must never show up in the message, whatever
// the buffer holds there.
TEST(DecodeHsrp, FieldsBeyondTheDatagramAreZeroAndUncovered) {
  std::uint8_t buffer[256];
  std::memset(buffer, 0xAB, sizeof buffer);
  const struct {
    std::size_t length;
    bool state, group, auth, vip;
  } table[] = {
      {0, false, false, false, false}, {2, false, false, false, false},
      {3, true, false, false, false},  {7, true, true, false, false},
      {15, true, true, false, false},  {16, true, true, true, false},
      {19, true, true, true, false},   {20, true, true, true, true},
      {255, true, true, true, true},
  };
  for (const auto& c : table) {
    SCOPED_TRACE(c.length);
    const HsrpMessage m = DecodeHsrp(buffer, c.length);
    EXPECT_EQ(m.length, std::min<std::size_t>(c.length, 20));
    EXPECT_EQ(m.Covers(kStateOffset), c.state);
    EXPECT_EQ(m.Covers(kGroupOffset), c.group);
    EXPECT_EQ(m.Covers(kAuthOffset, kAuthSize), c.auth);
    EXPECT_EQ(m.Covers(kVirtualIpOffset, 4), c.vip);
    EXPECT_EQ(m.state, c.state ? 0xAB : 0);
    EXPECT_EQ(m.group, c.group ? 0xAB : 0);
    EXPECT_EQ(m.virtualIp, c.vip ? 0xABABABABu : 0u);
    EXPECT_EQ(AuthText(m.authData), c.auth ? std::string(8, '\xAB') : "");
  }
}

}  // namespace
}  // namespace standora
