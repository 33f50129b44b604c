#include "interface_list.h"

#include <gtest/gtest.h>

#include <ostream>
#include <stdexcept>

#include "fake_socket_layer.h"

namespace standora {
namespace {

using testing_support::FakeSocketLayer;

// The interface box's state, with an optional fault.
struct FakeBox : InterfaceBox {
  std::vector<std::string> entries{"stale"};
  int selected = -1;
  bool enabled = true;
  int throwOnAdd = -1;  // index of the Add that throws
  bool throwOnDisable = false;

  void Clear() override {
    entries.clear();
    selected = -1;
  }
  void Add(const std::string& text) override {
    if (static_cast<int>(entries.size()) == throwOnAdd) {
      throw std::runtime_error("box");
    }
    entries.push_back(text);
  }
  int Count() const override { return static_cast<int>(entries.size()); }
  void Select(int index) override {
    if (index >= 0 && index < Count()) selected = index;
  }
  void SetEnabled(bool on) override {
    if (!on && throwOnDisable) throw std::runtime_error("box");
    enabled = on;
  }
};

struct HostCase {
  const char* name;
  std::vector<std::string> addresses;
  bool filled;
  std::vector<std::string> entries;
  int selected;
  bool enabled;
  bool ifSelectable;
};

void PrintTo(const HostCase& c, std::ostream* os) { *os << c.name; }

class HostTest : public testing::TestWithParam<HostCase> {};

TEST_P(HostTest, FillsFromTheHostsAddresses) {
  const HostCase& c = GetParam();
  FakeSocketLayer sockets;
  sockets.SetHostAddresses(c.addresses);
  InterfaceList list(sockets);
  FakeBox box;

  EXPECT_EQ(list.FillInterfaceList(box), c.filled);
  EXPECT_EQ(box.entries, c.entries);
  EXPECT_EQ(box.selected, c.selected);
  EXPECT_EQ(box.enabled, c.enabled);
  EXPECT_EQ(list.IfSelectable, c.ifSelectable);
  EXPECT_EQ(sockets.startups(), 0) << "start-up and clean-up must pair";
  EXPECT_EQ(sockets.calls().at(2).name, "gethostbyname");
  EXPECT_EQ(sockets.calls().at(2).args, "fakehost");
}

INSTANTIATE_TEST_SUITE_P(
    Table, HostTest,
    testing::Values(
        HostCase{"TwoAddresses",
                 {"10.0.0.5", "192.168.1.20"},
                 true,
                 {"10.0.0.5", "192.168.1.20"},
                 0,
                 true,
                 true},
        HostCase{
            "OneAddress", {"10.0.0.5"}, true, {"10.0.0.5"}, 0, false, false},
        HostCase{"LoopbackOnly",
                 {"127.0.0.1"},
                 false,
                 {"127.0.0.1"},
                 -1,
                 true,
                 true},
        HostCase{"LoopbackEndsTheList",
                 {"10.0.0.5", "127.0.0.1", "192.168.1.20"},
                 false,
                 {"10.0.0.5", "127.0.0.1"},
                 -1,
                 true,
                 true},
        HostCase{"NoAddress", {}, true, {}, -1, true, true}),
    testing::PrintToStringParamName());

struct FailureCase {
  const char* name;
  const char* failing;  // the layer call that fails
  bool cleansUp;
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class FailureTest : public testing::TestWithParam<FailureCase> {};

TEST_P(FailureTest, LeavesAnEmptyEnabledBox) {
  const FailureCase& c = GetParam();
  FakeSocketLayer sockets;
  sockets.SetHostAddresses({"10.0.0.5"});
  sockets.FailWith(c.failing, 10050);
  InterfaceList list(sockets);
  FakeBox box;

  EXPECT_FALSE(list.FillInterfaceList(box));
  EXPECT_TRUE(box.entries.empty());
  EXPECT_TRUE(box.enabled);
  EXPECT_EQ(box.selected, -1);
  EXPECT_TRUE(list.IfSelectable);
  const auto names = sockets.CallNames();
  EXPECT_EQ(names.back(), c.cleansUp ? "WSACleanup" : c.failing);
  EXPECT_EQ(sockets.startups(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FailureTest,
    testing::Values(FailureCase{"Startup", "WSAStartup", false},
                    FailureCase{"HostName", "gethostname", true},
                    FailureCase{"Resolution", "gethostbyname", true}),
    testing::PrintToStringParamName());

// An exception ends the fill at once: what was listed stays, nothing is
// cleaned up, and no exception leaves the list.
TEST(InterfaceListTest, ExceptionKeepsWhatWasReached) {
  {
    FakeSocketLayer sockets;
    sockets.SetHostAddresses({"10.0.0.5", "192.168.1.20", "172.16.0.1"});
    InterfaceList list(sockets);
    FakeBox box;
    box.throwOnAdd = 2;
    EXPECT_FALSE(list.FillInterfaceList(box));
    EXPECT_EQ(box.entries,
              (std::vector<std::string>{"10.0.0.5", "192.168.1.20"}));
    EXPECT_EQ(box.selected, -1);
    EXPECT_TRUE(list.IfSelectable);
    EXPECT_EQ(sockets.CallNames().back(), "gethostbyname");
  }
  {
    FakeSocketLayer sockets;
    sockets.SetHostAddresses({"10.0.0.5"});
    InterfaceList list(sockets);
    FakeBox box;
    box.throwOnDisable = true;
    EXPECT_FALSE(list.FillInterfaceList(box));
    EXPECT_EQ(box.entries, std::vector<std::string>{"10.0.0.5"});
    EXPECT_EQ(box.selected, 0);
    EXPECT_TRUE(list.IfSelectable) << "set only after the box is disabled";
  }
  {
    FakeSocketLayer sockets;
    sockets.ThrowOn("gethostbyname");
    InterfaceList list(sockets);
    FakeBox box;
    EXPECT_FALSE(list.FillInterfaceList(box));
    EXPECT_TRUE(box.entries.empty());
  }
}

TEST(InterfaceListTest, AsksForTheHostNameInAnEightyByteBuffer) {
  FakeSocketLayer sockets;
  sockets.SetHostAddresses({"10.0.0.5"});
  InterfaceList list(sockets);
  FakeBox box;
  list.FillInterfaceList(box);
  ASSERT_GE(sockets.calls().size(), 2u);
  EXPECT_EQ(sockets.calls()[0].name, "WSAStartup");
  EXPECT_EQ(sockets.calls()[0].args, "257");
  EXPECT_EQ(sockets.calls()[1].name, "gethostname");
  EXPECT_EQ(sockets.calls()[1].args, "80");
}

}  // namespace
}  // namespace standora
