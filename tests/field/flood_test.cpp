// A hostile segment: 100,000 datagrams at the sender's full rate on loopback,
// one in three of random bytes and random length, into both windows over
// the real sockets layer. The program must stay alive with its log bounded
// and its memory flat, and keep answering clicks.
#include <unistd.h>

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>
#include <QtTest>
#include <atomic>
#include <chrono>
#include <fstream>
#include <random>
#include <thread>

#include "Details_dlg.h"
#include "Main.h"
#include "application.h"
#include "fake_dialogs.h"
#include "fake_message_boxes.h"
#include "hello.h"
#include "linux_socket_layer.h"
#include "loopback_sender.h"
#include "posted_click.h"
#include "windows.h"

using namespace testing_support;

namespace {

constexpr int kDatagrams = 100000;
constexpr int kWarmUp = 10000;

long ResidentKiB() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

}  // namespace

class FloodTest : public QObject {
  Q_OBJECT

 private slots:
  void survivesAHostileFlood() {
    platform::LinuxSocketLayer sockets;
    Windows windows(sockets);
    TfrmMain& w = *windows.main;
    TfrmTracking& tracking = *windows.tracking;
    FakeMessageBoxes& boxes = windows.boxes;
    w.CheckBox1->setChecked(true);
    windows.ChooseLoopback();
    QTest::mouseClick(w.btnStart, Qt::LeftButton);
    QVERIFY(boxes.shown.empty());

    std::atomic<int> sent{0};
    std::atomic<bool> done{false};
    // The second half of the flood waits until the click made halfway has
    // been answered: on a loaded machine the sender could otherwise be done
    // before the window saw the click, and nothing would come after it.
    std::atomic<bool> clickAnswered{false};
    std::thread sender([&] {
      LoopbackSender out;
      std::mt19937 random(1985);
      std::uniform_int_distribution<int> length(0, 1400), byte(0, 255);
      std::vector<std::uint8_t> junk;
      for (int i = 0; i < kDatagrams && out.ok(); ++i) {
        if (i == kDatagrams / 2 + 1000) {
          for (int waited = 0; !clickAnswered && waited < 10000; ++waited) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
          }
        }
        if (i % 3 == 0) {
          junk.resize(static_cast<std::size_t>(length(random)));
          for (auto& b : junk) b = static_cast<std::uint8_t>(byte(random));
          out.Send(junk);
        } else {
          out.Send(MakeHello(i % 2 ? 16 : 8, 100, static_cast<std::uint8_t>(i),
                             "cisco"));
        }
        sent.store(i + 1, std::memory_order_relaxed);
      }
      done = true;
    });

    long warm = 0;
    bool clicked = false;
    while (!done) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
      if (warm == 0 && sent >= kWarmUp) warm = ResidentKiB();
      if (!clicked && sent >= kDatagrams / 2) {
        PostClick(w.rbActive, QRectF(w.rbActive->rect()).center());
        clicked = true;
      }
      if (clicked && w.rbActive->isChecked()) clickAnswered = true;
    }
    sender.join();
    // Let whatever is still queued in the socket be read.
    std::int64_t before = -1;
    while (before != w.monitor().MsgCount()) {
      before = w.monitor().MsgCount();
      QTest::qWait(200);
    }
    const long end = ResidentKiB();

    QVERIFY(w.monitor().MsgCount() > 0);
    QVERIFY(w.monitor().rows().size() <= 101);
    QVERIFY(tracking.lvState->model()->rowCount() <= 101);
    QCOMPARE(tracking.lvState->model()->rowCount(),
             static_cast<int>(w.monitor().rows().size()));
    QVERIFY2(
        warm > 0 && end - warm < 5 * 1024,
        qPrintable(QString("resident %1 KiB after warm-up, %2 KiB at the end")
                       .arg(warm)
                       .arg(end)));
    QTRY_VERIFY(w.rbActive->isChecked());  // the click during the flood
    QCOMPARE(w.monitor().mode(), standora::ReportMode::Active);
    QVERIFY(boxes.shown.empty());
    qInfo(
        "%lld reported since the mode change, of %d sent; resident %ld KiB -> "
        "%ld KiB",
        static_cast<long long>(w.monitor().MsgCount()), kDatagrams, warm, end);
    QTest::mouseClick(w.btnStop, Qt::LeftButton);
    QVERIFY(w.btnStart->isEnabled());
    QCOMPARE(sockets.openSockets(), std::size_t{0});
  }
};

int main(int argc, char** argv) {
  FloodTest test;
  return RunWindowTest(test, argc, argv);
}

#include "flood_test.moc"
