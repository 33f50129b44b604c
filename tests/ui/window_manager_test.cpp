// Both windows under a real window manager (run by window_manager_test.sh
// on Xvfb with openbox): the outer sizes and places hold once the manager
// has framed the windows, and each time Show List shows the log.
#include <QCheckBox>
#include <QScreen>
#include <QtTest>

#include "Details_dlg.h"
#include "Main.h"
#include "fake_socket_layer.h"
#include "frame_watch.h"
#include "windows.h"

using namespace testing_support;

class WindowManagerTest : public QObject {
  Q_OBJECT

 private slots:
  void framedWindowsKeepTheirSizesAndPlaces();
};

void WindowManagerTest::framedWindowsKeepTheirSizesAndPlaces() {
  FakeSocketLayer sockets;
  sockets.SetHostAddresses({"10.0.0.5"});
  Windows windows(sockets);
  TfrmMain& main = *windows.main;
  TfrmTracking& log = *windows.tracking;
  QVERIFY(QTest::qWaitForWindowExposed(&main));
  QTRY_VERIFY_WITH_TIMEOUT(!FrameWatch::FrameOf(&main).isNull(), 5000);

  // Centred by its frame.
  const QPoint centre = main.screen()->availableGeometry().center();
  QTRY_VERIFY((main.frameGeometry().center() - centre).manhattanLength() <= 2);
  QCOMPARE(main.size(), QSize(258, 286));

  for (int round = 0; round < 2; ++round) {
    main.CheckBox1->setChecked(true);
    QVERIFY(QTest::qWaitForWindowExposed(&log));
    QTRY_COMPARE(log.frameGeometry().size(), QSize(639, 373));
    const QRect outer = main.frameGeometry();
    QTRY_COMPARE(log.frameGeometry().topLeft(),
                 QPoint(outer.left() + outer.width(), outer.top()));
    main.CheckBox1->setChecked(false);
    QTRY_VERIFY(!log.isVisible());
  }
}

int main(int argc, char** argv) {
  WindowManagerTest test;
  return RunWindowTest(test, argc, argv);
}

#include "window_manager_test.moc"
