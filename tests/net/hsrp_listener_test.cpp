#include "hsrp_listener.h"

#include <gtest/gtest.h>
#include <algorithm>

#include <QCoreApplication>
#include <functional>
#include <ostream>

#include "address.h"
#include "fake_message_boxes.h"
#include "fake_socket_layer.h"

namespace standora {
namespace {

using platform::INVALID_SOCKET;
using platform::Socket;
using testing_support::FakeMessageBoxes;
using testing_support::FakeSocketLayer;

// Stands in for the main window: counts the socket notifications it gets,
// and declines the first `declines` of them.
class NotifyRecorder : public QObject {
 public:
  int notified = 0;
  int declines = 0;
  std::function<void()> onNotify;

 protected:
  bool event(QEvent* e) override {
    if (e->type() != static_cast<QEvent::Type>(WM_SOCKET_NOTIFY)) {
      return QObject::event(e);
    }
    ++notified;
    if (declines > 0) {
      --declines;
      e->ignore();
      return true;
    }
    if (onNotify) onNotify();
    return true;
  }
};

void Pump() { QCoreApplication::processEvents(); }

class ListenerTest : public testing::Test {
 protected:
  ListenerTest()
      : listener(sockets, boxes, [] {
          return platform::TimeOfDay{9, 5, 7, 45};
        }) {}

  FakeSocketLayer sockets;
  FakeMessageBoxes boxes;
  NotifyRecorder window;
  HsrpListener listener;
};

TEST_F(ListenerTest, StartOpensBindsJoinsAndSelects) {
  EXPECT_EQ(listener.ListenSocket, INVALID_SOCKET);
  listener.StartReception("10.0.0.5", &window);

  const Socket s = listener.ListenSocket;
  const std::string h = std::to_string(s);
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"WSAStartup", "257"},
      {"socket", "2,2,0"},
      {"bind", h + ",2,1985,10.0.0.5,16"},
      {"setsockopt", h + ",0,35,224.0.0.2/10.0.0.5,8"},
      {"WSAAsyncSelect", h + ",window,33168,1"},
  };
  ASSERT_EQ(sockets.calls().size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(sockets.calls()[i].name, expected[i].first);
    EXPECT_EQ(sockets.calls()[i].args, expected[i].second);
  }
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(ListenerTest, EmptyInterfaceTextMeansAnyInterface) {
  listener.StartReception("", &window);
  const std::string h = std::to_string(listener.ListenSocket);
  EXPECT_EQ(sockets.calls()[2].args, h + ",2,1985,0.0.0.0,16");
  EXPECT_EQ(sockets.calls()[3].args, h + ",0,35,224.0.0.2/0.0.0.0,8");
}

struct StartFailure {
  const char* failing;
  int code;
  const char* text;
  std::vector<std::string> calls;  // the whole sequence, nothing after
  bool socketCreated;
};

void PrintTo(const StartFailure& c, std::ostream* os) { *os << c.failing; }

class StartFailureTest : public ListenerTest,
                         public testing::WithParamInterface<StartFailure> {};

TEST_P(StartFailureTest, ShowsItsBoxClosesAndStops) {
  const StartFailure& c = GetParam();
  sockets.FailWith(c.failing, c.code);
  listener.StartReception("10.0.0.5", &window);

  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, c.text);
  EXPECT_EQ(boxes.shown[0].caption, "Error");
  EXPECT_EQ(boxes.shown[0].owner, nullptr);
  EXPECT_EQ(boxes.shown[0].type, platform::MB_OK);
  EXPECT_EQ(listener.ErrorText, c.text);
  EXPECT_EQ(sockets.CallNames(), c.calls);
  EXPECT_EQ(sockets.openSockets(), 0u);
  if (c.socketCreated) {
    EXPECT_NE(listener.ListenSocket, INVALID_SOCKET);
    EXPECT_NE(listener.ListenSocket, 0u);
    EXPECT_EQ(sockets.calls().back().args,
              std::to_string(listener.ListenSocket));
  } else {
    EXPECT_EQ(listener.ListenSocket, INVALID_SOCKET);
  }

  // Stop after the failed start runs its steps on the stale handle, quietly.
  sockets.Heal();
  sockets.ClearCalls();
  listener.StopReception();
  EXPECT_EQ(sockets.CallNames(), (std::vector<std::string>{
                                     "shutdown", "closesocket", "WSACleanup"}));
  EXPECT_EQ(listener.ListenSocket, 0u);
  EXPECT_EQ(sockets.startups(), 0);
  EXPECT_EQ(boxes.shown.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Table, StartFailureTest,
    testing::Values(StartFailure{"WSAStartup",
                                 10091,
                                 "WSAStartup failed! Error: 10091",
                                 {"WSAStartup"},
                                 false},
                    StartFailure{"socket",
                                 97,
                                 "Allocating socket failed! Error: 97",
                                 {"WSAStartup", "socket"},
                                 false},
                    StartFailure{
                        "bind",
                        99,
                        "Binding socket failed! Error: 99",
                        {"WSAStartup", "socket", "bind", "closesocket"},
                        true},
                    StartFailure{"setsockopt",
                                 19,
                                 "setsockopt failed! Error: 19",
                                 {"WSAStartup", "socket", "bind", "setsockopt",
                                  "closesocket"},
                                 true},
                    StartFailure{"WSAAsyncSelect",
                                 22,
                                 "WSAAsyncSelect failed! Error: 22",
                                 {"WSAStartup", "socket", "bind", "setsockopt",
                                  "WSAAsyncSelect", "closesocket"},
                                 true}),
    testing::PrintToStringParamName());

TEST_F(ListenerTest, StopBeforeAnyStartIsHarmless) {
  listener.StopReception();
  EXPECT_EQ(sockets.CallNames(), (std::vector<std::string>{
                                     "shutdown", "closesocket", "WSACleanup"}));
  EXPECT_EQ(sockets.calls()[0].args, std::to_string(INVALID_SOCKET) + ",0");
  EXPECT_EQ(listener.ListenSocket, 0u);
  EXPECT_EQ(sockets.startups(), 0);
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(ListenerTest, StopClosesAndCleansUp) {
  listener.StartReception("10.0.0.5", &window);
  const Socket s = listener.ListenSocket;
  sockets.ClearCalls();
  listener.StopReception();
  EXPECT_EQ(sockets.CallNames(), (std::vector<std::string>{
                                     "shutdown", "closesocket", "WSACleanup"}));
  EXPECT_EQ(sockets.calls()[0].args, std::to_string(s) + ",0");
  EXPECT_EQ(sockets.openSockets(), 0u);
  EXPECT_EQ(sockets.startups(), 0);
  EXPECT_EQ(listener.ListenSocket, 0u);
}

TEST_F(ListenerTest, ReadsOneDatagramWithSenderAndTimeStamp) {
  listener.StartReception("10.0.0.5", &window);
  const std::uint32_t router = platform::InetAddr("10.0.0.1");
  const std::vector<std::uint8_t> hello = {0, 0, 16, 3, 10, 100, 1, 0};
  sockets.Deliver(hello, router);

  ReceivedDatagram d;
  d.buffer.fill(0xEE);
  ASSERT_TRUE(listener.ReadMessage(d));
  EXPECT_EQ(d.length, hello.size());
  EXPECT_TRUE(std::equal(hello.begin(), hello.end(), d.buffer.begin()));
  EXPECT_EQ(d.buffer[255], 0);
  EXPECT_EQ(d.source, router);
  EXPECT_EQ(d.timeStamp, "09:05:07,045");
  EXPECT_EQ(listener.FromLen, 16);
  EXPECT_EQ(sockets.calls().back().args,
            std::to_string(listener.ListenSocket) + ",255,0");
}

TEST_F(ListenerTest, LongDatagramsGiveTheirFirst255Bytes) {
  listener.StartReception("10.0.0.5", &window);
  for (std::size_t size : {255u, 256u, 1000u}) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
      bytes[i] = static_cast<std::uint8_t>(i + 1);
    }
    sockets.Deliver(bytes, 1);
    ReceivedDatagram d;
    ASSERT_TRUE(listener.ReadMessage(d));
    EXPECT_EQ(d.length, 255u) << size;
    EXPECT_EQ(d.buffer[254], 255) << size;
    EXPECT_EQ(d.buffer[255], 0) << size;
  }
}

TEST_F(ListenerTest, FailedReceiveShowsItsBoxAndCloses) {
  listener.StartReception("10.0.0.5", &window);
  const Socket s = listener.ListenSocket;
  sockets.FailWith("recvfrom", 104);
  sockets.ClearCalls();

  ReceivedDatagram d;
  EXPECT_FALSE(listener.ReadMessage(d));
  ASSERT_EQ(boxes.Texts(),
            std::vector<std::string>{"recvfrom failed! Error: 104"});
  EXPECT_EQ(sockets.CallNames(),
            (std::vector<std::string>{"recvfrom", "closesocket"}));
  EXPECT_EQ(sockets.calls()[1].args, std::to_string(s));
  EXPECT_EQ(listener.ListenSocket, s);
  EXPECT_EQ(sockets.openSockets(), 0u);
  EXPECT_EQ(d.timeStamp, "09:05:07,045") << "time is taken before the read";
}

// A box runs the event loop: the user may stop and start again before
// pressing OK. Closing after the box must not take the new socket down.
TEST_F(ListenerTest, BoxThatOutlivesARestartLeavesTheNewSocketOpen) {
  for (const char* failing :
       {"bind", "setsockopt", "WSAAsyncSelect", "recvfrom"}) {
    SCOPED_TRACE(failing);
    FakeSocketLayer layer;
    FakeMessageBoxes userBoxes;
    HsrpListener l(layer, userBoxes);
    Socket restarted = 0;
    userBoxes.whileOpen = [&] {
      userBoxes.whileOpen = nullptr;
      layer.Heal();
      l.StopReception();
      l.StartReception("10.0.0.5", &window);
      restarted = l.ListenSocket;
    };
    if (std::string(failing) == "recvfrom") {
      l.StartReception("10.0.0.5", &window);
      layer.FailWith(failing, 104);
      ReceivedDatagram d;
      EXPECT_FALSE(l.ReadMessage(d));
    } else {
      layer.FailWith(failing, 99);
      l.StartReception("10.0.0.5", &window);
    }
    ASSERT_NE(restarted, 0u);
    EXPECT_EQ(l.ListenSocket, restarted);
    EXPECT_EQ(layer.openSockets(), 1u);
    EXPECT_EQ(layer.startups(), 1);
    l.StopReception();
    EXPECT_EQ(layer.openSockets(), 0u);
  }
}

// As a readable socket does: a datagram that waits is announced on every
// pass of the event loop until it is read, so one that is read on its
// notification is announced once, and one whose notification was declined
// is announced again, not lost.
TEST_F(ListenerTest, NotificationsFollowWhatWaitsToBeRead) {
  listener.StartReception("10.0.0.5", &window);
  std::vector<int> read;
  window.onNotify = [&] {
    ReceivedDatagram d;
    ASSERT_TRUE(listener.ReadMessage(d));
    read.push_back(d.buffer[0]);
  };
  window.declines = 3;
  sockets.Deliver({1}, 1);
  sockets.Deliver({2}, 1);
  for (int i = 0; i < 20; ++i) Pump();
  EXPECT_EQ(read, (std::vector<int>{1, 2}));
  EXPECT_EQ(window.notified, 3 + 2);
  EXPECT_EQ(sockets.queued(), 0u);
}

// A receive that fails while the box of an earlier failure is open (the
// user stopped and started meanwhile) does not open a box on top of it: its
// socket is closed at once and its box follows when the first is closed.
TEST_F(ListenerTest, FailureDuringABoxWaitsForItsTurn) {
  listener.StartReception("10.0.0.5", &window);
  const Socket first = listener.ListenSocket;
  sockets.FailWith("recvfrom", 104);
  Socket second = 0;
  int deepest = 0;
  boxes.whileOpen = [&] {
    deepest = std::max(deepest, boxes.open);
    if (second != 0) return;
    listener.StopReception();
    listener.StartReception("10.0.0.5", &window);
    second = listener.ListenSocket;
    ReceivedDatagram d;
    EXPECT_FALSE(listener.ReadMessage(d));
    EXPECT_EQ(boxes.shown.size(), 1u) << "no box on top of the open one";
    EXPECT_EQ(sockets.calls().back().name, "closesocket");
    EXPECT_EQ(sockets.calls().back().args, std::to_string(second));
  };
  ReceivedDatagram d;
  EXPECT_FALSE(listener.ReadMessage(d));
  EXPECT_EQ(deepest, 1);
  EXPECT_EQ(boxes.Texts(),
            (std::vector<std::string>{"recvfrom failed! Error: 104",
                                      "recvfrom failed! Error: 104"}));
  EXPECT_NE(second, first);
  EXPECT_EQ(sockets.openSockets(), 0u);
}

TEST_F(ListenerTest, NoNotificationAfterStop) {
  listener.StartReception("10.0.0.5", &window);
  sockets.Deliver({1}, 1);  // posted, not yet delivered
  listener.StopReception();
  Pump();
  EXPECT_EQ(window.notified, 0);
}

}  // namespace
}  // namespace standora
