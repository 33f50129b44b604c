// Datagrams go on being read, counted and logged, in order, while a box is
// open: the link's failure message, a socket error box and the exception
// box, each opened from inside the handling of a datagram; over the sockets
// layer's test double and over real sockets on loopback.
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QtTest>
#include <functional>
#include <memory>
#include <stdexcept>

#include "Details_dlg.h"
#include "Main.h"
#include "address.h"
#include "application.h"
#include "fake_socket_layer.h"
#include "hello.h"
#include "link_label.h"
#include "linux_socket_layer.h"
#include "loopback_sender.h"
#include "posted_click.h"
#include "windows.h"

using namespace testing_support;

namespace {

constexpr std::uint8_t kActive = 16;
constexpr int kFlood = 500;  // datagrams sent while the box is open
constexpr int kBatch = 50;   // fits any socket's receive buffer

// Any sockets layer, with one receive that can be made to fail: it takes
// its datagram and reports an error.
class FaultySockets : public platform::SocketLayer {
 public:
  explicit FaultySockets(platform::SocketLayer& inner) : inner_(inner) {}
  int failNextReceive = 0;  // the error code to fail it with

  int WSAStartup(std::uint16_t v, platform::WsaData* d) override {
    return inner_.WSAStartup(v, d);
  }
  int WSACleanup() override { return inner_.WSACleanup(); }
  platform::Socket socket(int f, int t, int p) override {
    return inner_.socket(f, t, p);
  }
  int bind(platform::Socket s, const platform::SockAddrIn* a, int n) override {
    return inner_.bind(s, a, n);
  }
  int setsockopt(platform::Socket s, int l, int o, const void* v,
                 int n) override {
    return inner_.setsockopt(s, l, o, v, n);
  }
  int WSAAsyncSelect(platform::Socket s, platform::WindowHandle w, unsigned m,
                     long e) override {
    return inner_.WSAAsyncSelect(s, w, m, e);
  }
  int recvfrom(platform::Socket s, char* b, int n, int f,
               platform::SockAddrIn* from, int* fromLen) override {
    lastError_ = 0;
    const int received = inner_.recvfrom(s, b, n, f, from, fromLen);
    if (failNextReceive != 0) {
      // The datagram is gone with the failed receive, as when the system
      // drops one it could not deliver.
      lastError_ = failNextReceive;
      failNextReceive = 0;
      return platform::SOCKET_ERROR;
    }
    return received;
  }
  int shutdown(platform::Socket s, int h) override {
    return inner_.shutdown(s, h);
  }
  int closesocket(platform::Socket s) override { return inner_.closesocket(s); }
  int WSAGetLastError() override {
    return lastError_ != 0 ? lastError_ : inner_.WSAGetLastError();
  }
  int gethostname(char* name, int len) override {
    return inner_.gethostname(name, len);
  }
  const platform::HostEnt* gethostbyname(const char* name) override {
    return inner_.gethostbyname(name);
  }

 private:
  platform::SocketLayer& inner_;
  int lastError_ = 0;
};

enum class Box { LinkMessage, SocketError, Exception };

// The program over one kind of sockets, with a way to send it datagrams.
struct Rig {
  virtual ~Rig() = default;
  virtual void Send(const std::vector<std::uint8_t>& bytes) = 0;
  std::unique_ptr<FaultySockets> sockets;
  std::unique_ptr<Windows> windows;
  // Called at every receive; the test's hook into the handler.
  std::function<void()> onReceive;

  void Build(platform::SocketLayer& inner) {
    sockets = std::make_unique<FaultySockets>(inner);
    windows = std::make_unique<Windows>(*sockets, [this] {
      if (const auto hook = onReceive) hook();
      return platform::LocalTimeOfDay();
    });
  }
};

struct FakeRig : Rig {
  FakeSocketLayer fake;
  FakeRig() {
    fake.SetHostAddresses({"10.0.0.5", "192.168.1.20"});
    Build(fake);
  }
  void Send(const std::vector<std::uint8_t>& bytes) override {
    fake.Deliver(bytes, platform::InetAddr("10.1.1.2"));
  }
};

struct LoopbackRig : Rig {
  platform::LinuxSocketLayer real;
  LoopbackSender sender;
  LoopbackRig() {
    Build(real);
    windows->ChooseLoopback();
  }
  void Send(const std::vector<std::uint8_t>& bytes) override {
    QVERIFY(sender.Send(bytes));
  }
};

std::vector<std::uint8_t> Numbered(int n) {
  return MakeHello(kActive, 100, 1, "n" + std::to_string(n));
}

// Lets the event loop run (at whatever level it is called) until `count`
// datagrams have been reported or a generous deadline has passed.
bool WaitForCount(const TfrmMain& w, std::int64_t count) {
  QDeadlineTimer deadline(20000);
  while (w.monitor().MsgCount() < count && !deadline.hasExpired()) {
    QCoreApplication::processEvents();
  }
  return w.monitor().MsgCount() >= count;
}

}  // namespace

class BoxFloodTest : public QObject {
  Q_OBJECT

 private slots:
  void floodWhileABoxIsOpen_data();
  void floodWhileABoxIsOpen();
};

void BoxFloodTest::floodWhileABoxIsOpen_data() {
  QTest::addColumn<bool>("loopback");
  QTest::addColumn<Box>("box");
  QTest::addColumn<int>("first");  // the first datagram that is reported
  for (const bool loopback : {false, true}) {
    const char* layer = loopback ? "loopback" : "double";
    QTest::addRow("%s, link message", layer)
        << loopback << Box::LinkMessage << 0;
    // The failed receive took the first datagram with it.
    QTest::addRow("%s, socket error box", layer)
        << loopback << Box::SocketError << 1;
    // The handler threw before reading: the first datagram is read later.
    QTest::addRow("%s, exception box", layer)
        << loopback << Box::Exception << 0;
  }
}

void BoxFloodTest::floodWhileABoxIsOpen() {
  QFETCH(bool, loopback);
  QFETCH(Box, box);
  QFETCH(int, first);
  std::unique_ptr<Rig> rig;
  if (loopback) {
    rig = std::make_unique<LoopbackRig>();
  } else {
    rig = std::make_unique<FakeRig>();
  }
  Windows& windows = *rig->windows;
  TfrmMain& w = *windows.main;
  w.CheckBox1->setChecked(true);
  QTest::mouseClick(w.btnStart, Qt::LeftButton);
  QVERIFY(windows.boxes.shown.empty());

  // The box opens while the first datagram is being handled.
  bool armed = true;
  rig->onReceive = [&] {
    if (!armed) return;
    armed = false;
    switch (box) {
      case Box::LinkMessage:
        // The user clicks the link; the handler lets the click through.
        windows.shell.result = 0;
        PostClick(w.Label7, QPointF(3, 3));
        break;
      case Box::SocketError:
        rig->sockets->failNextReceive = 104;
        break;
      case Box::Exception:
        throw std::runtime_error("handler failed");
    }
  };

  // While the box is open: the flood, in batches, each read before the
  // next is sent.
  int boxesOpened = 0;
  std::int64_t readWhileOpen = -1;
  // The handler that threw had not read its datagram yet: it is read while
  // the box is open, before the flood.
  const int waiting = box == Box::Exception ? 1 : 0;
  auto flood = [&] {
    ++boxesOpened;
    const std::int64_t before = w.monitor().MsgCount();
    for (int sent = 0; sent < kFlood;) {
      for (int i = 0; i < kBatch; ++i) rig->Send(Numbered(++sent));
      if (!WaitForCount(w, before + waiting + sent)) break;
    }
    readWhileOpen = w.monitor().MsgCount() - before;
  };
  windows.boxes.whileOpen = flood;
  windows.dialogs.whileOpen = flood;

  rig->Send(Numbered(0));
  QTRY_COMPARE(boxesOpened, 1);
  QCOMPARE(readWhileOpen, std::int64_t{kFlood + waiting});

  const std::int64_t total = kFlood + 1 - first;
  QVERIFY(WaitForCount(w, total));
  QCOMPARE(w.monitor().MsgCount(), total);
  switch (box) {
    case Box::LinkMessage:
      QCOMPARE(windows.dialogs.messages,
               std::vector<std::string>{"Unable to start http client."});
      break;
    case Box::SocketError:
      QCOMPARE(windows.boxes.Texts(),
               std::vector<std::string>{"recvfrom failed! Error: 104"});
      break;
    case Box::Exception:
      QCOMPARE(windows.dialogs.exceptions,
               std::vector<std::string>{"handler failed"});
      break;
  }

  // Logged in order: the last 101 of them, oldest on top, in the core and
  // in the list.
  const auto& rows = w.monitor().rows();
  QCOMPARE(rows.size(), std::size_t{101});
  for (std::size_t i = 0; i < rows.size(); ++i) {
    QCOMPARE(rows[i].subItems[6],
             "n" + std::to_string(kFlood - 100 + static_cast<int>(i)));
  }
  QTRY_VERIFY(!w.framePending());
  const QAbstractItemModel* list = windows.tracking->lvState->model();
  QCOMPARE(list->rowCount(), 101);
  QCOMPARE(list->index(0, 7).data().toString(),
           QString("n%1").arg(kFlood - 100));
  QCOMPARE(list->index(100, 7).data().toString(), QString("n%1").arg(kFlood));
  QCOMPARE(w.stAuth->text(), QString("n%1").arg(kFlood));
  QCOMPARE(w.stCycle->text(), QString::number(total));
  QTest::mouseClick(w.btnStop, Qt::LeftButton);
}

int main(int argc, char** argv) {
  BoxFloodTest test;
  return RunWindowTest(test, argc, argv);
}

#include "box_flood_test.moc"
