#include "monitor_state.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

namespace standora {
namespace {

constexpr std::uint8_t kSpeak = 4, kStandby = 8, kActive = 16;

std::uint32_t Address(std::uint8_t a, std::uint8_t b, std::uint8_t c,
                      std::uint8_t d) {
  const std::uint8_t wire[4] = {a, b, c, d};
  std::uint32_t v;
  std::memcpy(&v, wire, sizeof v);
  return v;
}

// A receive buffer holding one hello; the bytes past the message hold
// leftovers from some earlier, longer datagram.
struct Hello {
  std::array<std::uint8_t, 256> buffer;

  explicit Hello(std::uint8_t state, std::uint8_t group = 1) {
    buffer.fill(0x5A);
    const std::uint8_t head[20] = {0, 0,   state, 3,   10,  120, group,
                                   0, 'c', 'i',   's', 'c', 'o', 0,
                                   0, 0,   10,    1,   1,   254};
    std::memcpy(buffer.data(), head, sizeof head);
  }
  const std::uint8_t* data() const { return buffer.data(); }
};

const std::uint32_t kRouter = Address(10, 1, 1, 2);

class MonitorStateTest : public testing::Test {
 protected:
  DatagramEffect Feed(std::uint8_t state, const std::string& stamp = "t",
                      std::size_t length = 20) {
    return monitor.HandleDatagram(Hello(state).data(), length, kRouter, stamp);
  }
  void FillRows(std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) Feed(kActive, std::to_string(i));
  }
  // The buttons' sequences, as the main window drives them.
  void Start() {
    monitor.ClearPanel();
    monitor.ClearRows();
  }
  void Stop() { monitor.ResetCounter(); }

  MonitorState monitor;
};

TEST_F(MonitorStateTest, StartsEmptyInModeBoth) {
  EXPECT_EQ(monitor.mode(), ReportMode::Both);
  EXPECT_EQ(monitor.MsgCount(), 0);
  EXPECT_EQ(monitor.panel(), PanelTexts());
  EXPECT_TRUE(monitor.rows().empty());
}

TEST_F(MonitorStateTest, ReportedMessageFillsPanelRowAndCounter) {
  const DatagramEffect e = Feed(kActive, "09:05:07,045");
  EXPECT_TRUE(e.reported);
  EXPECT_FALSE(e.rowRemoved);

  PanelTexts expected;
  expected.stCycle = "1";
  expected.stSource = "10.1.1.2";
  expected.stState = "active";
  expected.stHello = "3 sec.";
  expected.stHold = "10 sec.";
  expected.stPrio = "120";
  expected.stGroup = "1";
  expected.stAuth = "cisco";
  expected.stVIP = "10.1.1.254";
  EXPECT_EQ(monitor.panel(), expected);

  ASSERT_EQ(monitor.rows().size(), 1u);
  EXPECT_EQ(monitor.rows()[0].caption, "09:05:07,045");
  EXPECT_EQ(monitor.rows()[0].subItems,
            (std::vector<std::string>{"10.1.1.2", "active", "3", "10", "120",
                                      "1", "cisco", "10.1.1.254"}));

  Feed(kStandby);
  EXPECT_EQ(monitor.MsgCount(), 2);
  EXPECT_EQ(monitor.panel().stCycle, "2");
  EXPECT_EQ(monitor.panel().stState, "standby");
}

TEST_F(MonitorStateTest, InitialGivesShortRowButFullPanel) {
  Feed(0);
  ASSERT_EQ(monitor.rows().size(), 1u);
  EXPECT_EQ(monitor.rows()[0].subItems,
            (std::vector<std::string>{"10.1.1.2", "initial"}));
  EXPECT_EQ(monitor.panel().stState, "initial");
  EXPECT_EQ(monitor.panel().stHello, "3 sec.");
  EXPECT_EQ(monitor.panel().stHold, "10 sec.");
  EXPECT_EQ(monitor.panel().stPrio, "120");
  EXPECT_EQ(monitor.panel().stVIP, "10.1.1.254");
}

TEST_F(MonitorStateTest, UnknownStateGivesFullRowWithEmptyState) {
  Feed(3);
  ASSERT_EQ(monitor.rows().size(), 1u);
  const auto& items = monitor.rows()[0].subItems;
  ASSERT_EQ(items.size(), 8u);
  EXPECT_EQ(items[1], "");
  EXPECT_EQ(items[2], "3");
  EXPECT_EQ(monitor.panel().stState, "");
}

struct FilterCase {
  ReportMode mode;
  int state;
  bool reported;
};

const char* ModeName(ReportMode mode) {
  switch (mode) {
    case ReportMode::Both:
      return "Both";
    case ReportMode::Active:
      return "Active";
    case ReportMode::Standby:
      return "Standby";
  }
  return "?";
}

void PrintTo(const FilterCase& c, std::ostream* os) {
  *os << ModeName(c.mode) << "_state" << c.state;
}

class FilterTest : public testing::TestWithParam<FilterCase> {};

TEST_P(FilterTest, ModeAgainstState) {
  const FilterCase& c = GetParam();
  MonitorState monitor;
  monitor.SetMode(c.mode);
  const auto before = monitor.panel();
  const Hello hello(static_cast<std::uint8_t>(c.state));
  const DatagramEffect e =
      monitor.HandleDatagram(hello.data(), 20, kRouter, "t");
  EXPECT_EQ(e.reported, c.reported);
  EXPECT_EQ(monitor.rows().size(), c.reported ? 1u : 0u);
  EXPECT_EQ(monitor.MsgCount(), c.reported ? 1 : 0);
  if (!c.reported) {
    EXPECT_EQ(monitor.panel(), before);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, FilterTest,
    testing::Values(FilterCase{ReportMode::Both, 0, true},
                    FilterCase{ReportMode::Both, kSpeak, true},
                    FilterCase{ReportMode::Both, kStandby, true},
                    FilterCase{ReportMode::Both, kActive, true},
                    FilterCase{ReportMode::Both, 255, true},
                    FilterCase{ReportMode::Active, 0, true},
                    FilterCase{ReportMode::Active, 1, true},
                    FilterCase{ReportMode::Active, 2, true},
                    FilterCase{ReportMode::Active, kSpeak, true},
                    FilterCase{ReportMode::Active, kStandby, false},
                    FilterCase{ReportMode::Active, kActive, true},
                    FilterCase{ReportMode::Active, 9, true},
                    FilterCase{ReportMode::Standby, 0, true},
                    FilterCase{ReportMode::Standby, 2, true},
                    FilterCase{ReportMode::Standby, kSpeak, true},
                    FilterCase{ReportMode::Standby, kStandby, true},
                    FilterCase{ReportMode::Standby, kActive, false},
                    FilterCase{ReportMode::Standby, 17, true}),
    testing::PrintToStringParamName());

TEST_F(MonitorStateTest, DroppedMessageLeavesCounterAndPanel) {
  monitor.SetMode(ReportMode::Active);
  Feed(kActive);
  const PanelTexts before = monitor.panel();
  EXPECT_FALSE(Feed(kStandby).reported);
  EXPECT_EQ(monitor.panel(), before);
  EXPECT_EQ(monitor.MsgCount(), 1);
  EXPECT_EQ(monitor.rows().size(), 1u);
}

TEST_F(MonitorStateTest, HundredRowsGrowToHundredAndOne) {
  FillRows(100);
  const DatagramEffect e = Feed(kActive, "new");
  EXPECT_FALSE(e.rowRemoved);
  EXPECT_TRUE(e.reported);
  ASSERT_EQ(monitor.rows().size(), 101u);
  EXPECT_EQ(monitor.rows().front().caption, "0");
}

TEST_F(MonitorStateTest, HundredAndOneRowsDropTheOldest) {
  FillRows(101);
  const DatagramEffect e = Feed(kActive, "new");
  EXPECT_TRUE(e.rowRemoved);
  ASSERT_EQ(monitor.rows().size(), 101u);
  EXPECT_EQ(monitor.rows().front().caption, "1");
  EXPECT_EQ(monitor.rows().back().caption, "new");
}

TEST_F(MonitorStateTest, DroppedMessageStillTrims) {
  FillRows(101);
  monitor.SetMode(ReportMode::Active);
  const DatagramEffect e = Feed(kStandby);
  EXPECT_TRUE(e.rowRemoved);
  EXPECT_FALSE(e.reported);
  ASSERT_EQ(monitor.rows().size(), 100u);
  EXPECT_EQ(monitor.rows().front().caption, "1");
  // Below the threshold, nothing more is trimmed.
  EXPECT_FALSE(Feed(kStandby).rowRemoved);
  EXPECT_EQ(monitor.rows().size(), 100u);
}

TEST_F(MonitorStateTest, LongRunKeepsTheNewestHundredAndOneInOrder) {
  FillRows(1000);
  ASSERT_EQ(monitor.rows().size(), 101u);
  for (std::size_t i = 0; i < 101; ++i) {
    EXPECT_EQ(monitor.rows()[i].caption, std::to_string(899 + i));
  }
  // Reused storage must not carry texts from the trimmed row: a short row
  // after many full ones has just two sub-items.
  Feed(0, "short");
  EXPECT_EQ(monitor.rows().back().subItems.size(), 2u);
  EXPECT_EQ(monitor.MsgCount(), 1001);
}

TEST_F(MonitorStateTest, ModeChangeClearsPanelAndCounterKeepsRows) {
  Feed(kActive);
  Feed(kActive);
  monitor.SetMode(ReportMode::Standby);
  EXPECT_EQ(monitor.mode(), ReportMode::Standby);
  EXPECT_EQ(monitor.panel(), PanelTexts());
  EXPECT_EQ(monitor.MsgCount(), 0);
  EXPECT_EQ(monitor.rows().size(), 2u);
  Feed(kSpeak);
  EXPECT_EQ(monitor.panel().stCycle, "1");
}

TEST_F(MonitorStateTest, StopKeepsPanelAndStartClearsIt) {
  Feed(kActive);
  Feed(kActive);
  Stop();
  EXPECT_EQ(monitor.MsgCount(), 0);
  EXPECT_EQ(monitor.panel().stCycle, "2");
  EXPECT_EQ(monitor.panel().stState, "active");
  EXPECT_EQ(monitor.rows().size(), 2u);

  Start();
  EXPECT_EQ(monitor.panel(), PanelTexts());
  EXPECT_TRUE(monitor.rows().empty());
  EXPECT_EQ(monitor.mode(), ReportMode::Both);
  Feed(kStandby);
  EXPECT_EQ(monitor.panel().stCycle, "1");
}

// A datagram shorter than a message shows only the fields it carried; the
// buffer's leftovers past its end must never appear.
struct CoverageCase {
  std::size_t length;
  PanelTexts panel;
  std::vector<std::string> row;
};

void PrintTo(const CoverageCase& c, std::ostream* os) {
  *os << c.length << "_bytes";
}

class CoverageTest : public testing::TestWithParam<CoverageCase> {};

TEST_P(CoverageTest, UncoveredFieldsAreEmpty) {
  const CoverageCase& c = GetParam();
  MonitorState monitor;
  const DatagramEffect e =
      monitor.HandleDatagram(Hello(kActive).data(), c.length, kRouter, "t");
  EXPECT_TRUE(e.reported);
  EXPECT_EQ(monitor.panel(), c.panel);
  ASSERT_EQ(monitor.rows().size(), 1u);
  EXPECT_EQ(monitor.rows()[0].caption, "t");
  EXPECT_EQ(monitor.rows()[0].subItems, c.row);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CoverageTest,
    testing::Values(CoverageCase{0,
                                 {"1", "10.1.1.2", "", "", "", "", "", "", ""},
                                 {"10.1.1.2", "", "", "", "", "", "", ""}},
                    CoverageCase{
                        3,
                        {"1", "10.1.1.2", "active", "", "", "", "", "", ""},
                        {"10.1.1.2", "active", "", "", "", "", "", ""}},
                    CoverageCase{16,
                                 {"1", "10.1.1.2", "active", "3 sec.",
                                  "10 sec.", "120", "1", "cisco", ""},
                                 {"10.1.1.2", "active", "3", "10", "120", "1",
                                  "cisco", ""}},
                    CoverageCase{19,
                                 {"1", "10.1.1.2", "active", "3 sec.",
                                  "10 sec.", "120", "1", "cisco", ""},
                                 {"10.1.1.2", "active", "3", "10", "120", "1",
                                  "cisco", ""}},
                    CoverageCase{255,
                                 {"1", "10.1.1.2", "active", "3 sec.",
                                  "10 sec.", "120", "1", "cisco", "10.1.1.254"},
                                 {"10.1.1.2", "active", "3", "10", "120", "1",
                                  "cisco", "10.1.1.254"}}));

TEST(TimeStampText, TwoDigitsCommaThreeDigits) {
  const struct {
    int h, m, s, ms;
    const char* text;
  } table[] = {
      {9, 5, 7, 45, "09:05:07,045"},
      {0, 0, 0, 0, "00:00:00,000"},
      {23, 59, 59, 999, "23:59:59,999"},
      {12, 30, 0, 5, "12:30:00,005"},
      {10, 10, 10, 100, "10:10:10,100"},
      // Out of range: whole numbers, never cut.
      {100, 5, 7, 1000, "100:05:07,1000"},
      {-1, 0, 0, 0, "-1:00:00,000"},
  };
  for (const auto& c : table) {
    EXPECT_EQ(TimeStampText(c.h, c.m, c.s, c.ms), c.text);
  }
}

}  // namespace
}  // namespace standora
