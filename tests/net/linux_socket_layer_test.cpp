// The real sockets layer on this machine, with datagrams that never leave
// it: reception is started on 127.0.0.1 only, and the sender loops its
// datagrams back with a time-to-live of 0.
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QtTest>
#include <set>

#include "address.h"
#include "fake_message_boxes.h"
#include "hsrp_listener.h"
#include "linux_socket_layer.h"
#include "loopback_sender.h"

using platform::LinuxSocketLayer;
using platform::Socket;
using standora::HsrpListener;
using standora::ReceivedDatagram;
using testing_support::FakeMessageBoxes;
using testing_support::LoopbackSender;

namespace {

// The main window's part: one read per notification.
class Receiver : public QObject {
 public:
  explicit Receiver(HsrpListener& listener) : listener_(listener) {}
  int notified = 0;
  std::vector<ReceivedDatagram> read;

 protected:
  bool event(QEvent* e) override {
    if (e->type() != static_cast<QEvent::Type>(standora::WM_SOCKET_NOTIFY)) {
      return QObject::event(e);
    }
    ++notified;
    ReceivedDatagram d;
    if (listener_.ReadMessage(d)) read.push_back(d);
    return true;
  }

 private:
  HsrpListener& listener_;
};

int OpenDescriptors() {
  int n = 0;
  if (DIR* dir = ::opendir("/proc/self/fd")) {
    while (::readdir(dir) != nullptr) ++n;
    ::closedir(dir);
  }
  return n;
}

std::vector<std::uint8_t> Pattern(std::size_t size) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) {
    bytes[i] = static_cast<std::uint8_t>(i * 7 + 1);
  }
  return bytes;
}

}  // namespace

class LinuxSocketLayerTest : public QObject {
  Q_OBJECT

 private slots:
  void receivesWithSendersAddress_data();
  void receivesWithSendersAddress();
  void backToBackGiveTwoNotifications();
  void twoMonitorsSideBySide();
  void foreignAddressFailsToBind();
  void badHandlesTouchNoDescriptor();
  void startupsAreCounted();
  void startStopCyclesLeakNothing();
  void ownNameGivesInterfaceAddresses();
};

void LinuxSocketLayerTest::receivesWithSendersAddress_data() {
  QTest::addColumn<int>("size");
  QTest::addColumn<int>("received");
  QTest::newRow("empty") << 0 << 0;
  QTest::newRow("hello") << 20 << 20;
  QTest::newRow("255 bytes") << 255 << 255;
  QTest::newRow("1000 bytes cut") << 1000 << 255;
}

void LinuxSocketLayerTest::receivesWithSendersAddress() {
  QFETCH(int, size);
  QFETCH(int, received);
  LinuxSocketLayer layer;
  FakeMessageBoxes boxes;
  HsrpListener listener(layer, boxes);
  Receiver window(listener);
  listener.StartReception("127.0.0.1", &window);
  QVERIFY2(boxes.shown.empty(),
           boxes.shown.empty() ? "" : boxes.shown[0].text.c_str());

  LoopbackSender sender;
  QVERIFY(sender.ok());
  const auto bytes = Pattern(static_cast<std::size_t>(size));
  QVERIFY(sender.Send(bytes));
  QTRY_COMPARE(window.read.size(), std::size_t{1});

  const ReceivedDatagram& d = window.read[0];
  QCOMPARE(d.length, static_cast<std::size_t>(received));
  QVERIFY(
      std::equal(d.buffer.begin(), d.buffer.begin() + received, bytes.begin()));
  QCOMPARE(d.buffer[255], std::uint8_t{0});
  QCOMPARE(platform::InetNtoa(d.source), std::string("127.0.0.1"));
  listener.StopReception();
}

void LinuxSocketLayerTest::backToBackGiveTwoNotifications() {
  LinuxSocketLayer layer;
  FakeMessageBoxes boxes;
  HsrpListener listener(layer, boxes);
  Receiver window(listener);
  listener.StartReception("127.0.0.1", &window);

  LoopbackSender sender;
  QVERIFY(sender.Send({1}));
  QVERIFY(sender.Send({2}));
  QTRY_COMPARE(window.read.size(), std::size_t{2});
  QCOMPARE(window.notified, 2);
  QCOMPARE(window.read[0].buffer[0], std::uint8_t{1});
  QCOMPARE(window.read[1].buffer[0], std::uint8_t{2});
  QVERIFY(boxes.shown.empty());
  listener.StopReception();
}

void LinuxSocketLayerTest::twoMonitorsSideBySide() {
  LinuxSocketLayer layerA, layerB;
  FakeMessageBoxes boxes;
  HsrpListener a(layerA, boxes), b(layerB, boxes);
  Receiver windowA(a), windowB(b);
  a.StartReception("127.0.0.1", &windowA);
  b.StartReception("127.0.0.1", &windowB);
  QVERIFY(boxes.shown.empty());

  LoopbackSender sender;
  QVERIFY(sender.Send({0, 0, 16}));
  QTRY_COMPARE(windowA.read.size(), std::size_t{1});
  QTRY_COMPARE(windowB.read.size(), std::size_t{1});
  a.StopReception();
  b.StopReception();
}

void LinuxSocketLayerTest::foreignAddressFailsToBind() {
  LinuxSocketLayer layer;
  FakeMessageBoxes boxes;
  HsrpListener listener(layer, boxes);
  QObject window;
  // A documentation address: no machine has it. Binding sends nothing.
  listener.StartReception("203.0.113.7", &window);
  QCOMPARE(boxes.Texts(),
           std::vector<std::string>{"Binding socket failed! Error: " +
                                    std::to_string(EADDRNOTAVAIL)});
  QCOMPARE(layer.openSockets(), std::size_t{0});
  listener.StopReception();
}

void LinuxSocketLayerTest::badHandlesTouchNoDescriptor() {
  LinuxSocketLayer layer;
  platform::WsaData data;
  QCOMPARE(layer.WSAStartup(0x0101, &data), 0);
  const Socket closed =
      layer.socket(platform::kAfInet, platform::kSockDgram, 0);
  QVERIFY(closed != platform::INVALID_SOCKET && closed != 0);
  QCOMPARE(layer.closesocket(closed), 0);

  const int before = OpenDescriptors();
  char buffer[16];
  platform::SockAddrIn from;
  int fromLen = sizeof from;
  for (const Socket s : {Socket{0}, platform::INVALID_SOCKET, closed,
                         Socket{STDIN_FILENO}, Socket{2}}) {
    QCOMPARE(layer.shutdown(s, platform::kSdReceive), platform::SOCKET_ERROR);
    QCOMPARE(layer.WSAGetLastError(), ENOTSOCK);
    QCOMPARE(layer.recvfrom(s, buffer, sizeof buffer, 0, &from, &fromLen),
             platform::SOCKET_ERROR);
    QCOMPARE(layer.WSAGetLastError(), ENOTSOCK);
    QCOMPARE(layer.closesocket(s), platform::SOCKET_ERROR);
    QCOMPARE(layer.WSAGetLastError(), ENOTSOCK);
  }
  QCOMPARE(OpenDescriptors(), before);
  QVERIFY(::fcntl(STDERR_FILENO, F_GETFD) != -1);
  QCOMPARE(layer.WSACleanup(), 0);
}

void LinuxSocketLayerTest::startupsAreCounted() {
  LinuxSocketLayer layer;
  platform::WsaData data;
  QCOMPARE(layer.WSACleanup(), platform::SOCKET_ERROR);  // none to match

  QCOMPARE(layer.WSAStartup(0x0101, &data), 0);
  QCOMPARE(data.version, std::uint16_t{0x0101});
  const Socket s = layer.socket(platform::kAfInet, platform::kSockDgram, 0);
  // A second pair, as the interface list makes, leaves the socket alone.
  QCOMPARE(layer.WSAStartup(0x0101, &data), 0);
  QCOMPARE(layer.WSACleanup(), 0);
  QCOMPARE(layer.openSockets(), std::size_t{1});
  QCOMPARE(layer.shutdown(s, platform::kSdReceive) == 0 ||
               layer.WSAGetLastError() == ENOTCONN,
           true);
  // The last clean-up closes what was left open.
  QCOMPARE(layer.WSACleanup(), 0);
  QCOMPARE(layer.openSockets(), std::size_t{0});
  QCOMPARE(layer.WSAStartup(0x0000, &data) != 0, true);
}

void LinuxSocketLayerTest::startStopCyclesLeakNothing() {
  LinuxSocketLayer layer;
  FakeMessageBoxes boxes;
  HsrpListener listener(layer, boxes);
  QObject window;
  // Warm up whatever the process opens once.
  listener.StartReception("127.0.0.1", &window);
  listener.StopReception();
  QCoreApplication::processEvents();

  const int before = OpenDescriptors();
  std::set<Socket> handles;
  for (int i = 0; i < 1000; ++i) {
    listener.StartReception("127.0.0.1", &window);
    handles.insert(listener.ListenSocket);
    listener.StopReception();
    QCoreApplication::processEvents();
  }
  QCOMPARE(OpenDescriptors(), before);
  QCOMPARE(handles.size(), std::size_t{1000});  // never reused
  QCOMPARE(handles.count(0), std::size_t{0});
  QVERIFY(boxes.shown.empty());
}

void LinuxSocketLayerTest::ownNameGivesInterfaceAddresses() {
  LinuxSocketLayer layer;
  char name[80] = {};
  QCOMPARE(layer.gethostname(name, sizeof name), 0);
  const platform::HostEnt* host = layer.gethostbyname(name);
  QVERIFY(host != nullptr);
  std::vector<std::string> addrs;
  for (char** a = host->addrList; *a != nullptr; ++a) {
    std::uint32_t v;
    std::memcpy(&v, *a, sizeof v);
    addrs.push_back(platform::InetNtoa(v));
  }
  QVERIFY(!addrs.empty());
  if (addrs != std::vector<std::string>{"127.0.0.1"}) {
    for (const std::string& a : addrs) {
      QVERIFY2(a.rfind("127.", 0) != 0, a.c_str());
    }
  }
  // Any other name is the resolver's.
  const platform::HostEnt* localhost = layer.gethostbyname("localhost");
  QVERIFY(localhost != nullptr);
  std::uint32_t first;
  std::memcpy(&first, localhost->addrList[0], sizeof first);
  QCOMPARE(platform::InetNtoa(first), std::string("127.0.0.1"));
}

QTEST_GUILESS_MAIN(LinuxSocketLayerTest)
#include "linux_socket_layer_test.moc"
