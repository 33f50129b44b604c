// The two windows driven as a user drives them, with the sockets layer's
// test double delivering datagrams.
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QStatusBar>
#include <QTreeView>
#include <QtTest>
#include <memory>

#include "Details_dlg.h"
#include "Main.h"
#include "address.h"
#include "application.h"
#include "display_text.h"
#include "fake_dialogs.h"
#include "fake_message_boxes.h"
#include "fake_socket_layer.h"
#include "hello.h"
#include "hint_bar.h"
#include "link_label.h"
#include "linux_socket_layer.h"
#include "loopback_sender.h"
#include "socket_notify_event.h"
#include "windows.h"

using namespace testing_support;

Q_DECLARE_METATYPE(std::vector<std::uint8_t>)

namespace {

constexpr std::uint8_t kSpeak = 4, kStandby = 8, kActive = 16;

std::vector<std::uint8_t> Hello(std::uint8_t state,
                                const std::string& auth = "cisco",
                                std::uint8_t group = 1) {
  return MakeHello(state, 110, group, auth);
}

const std::uint32_t kRouter = platform::InetAddr("10.1.1.2");

void Pump() {
  for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

// Every datagram that waited has been read and is shown.
#define SETTLE(p) QVERIFY2((p).Settle(), "datagrams left unread or unshown")

// Made before the windows, which use it from their first moment.
struct FakeSockets {
  FakeSocketLayer sockets;
  int tick = 0;
};

// Both windows over the sockets layer's test double.
struct Program : FakeSockets, Windows {
  explicit Program(const std::vector<std::string>& addresses = {"10.0.0.5",
                                                                "192.168.1.20"})
      : Windows(Hosts(addresses), [this] {
          // Each time stamp one millisecond later than the one before.
          const int t = tick++;
          return platform::TimeOfDay{12, t / 60000 % 60, t / 1000 % 60,
                                     t % 1000};
        }) {}

  // The host's addresses must be known before the main window lists them.
  FakeSocketLayer& Hosts(const std::vector<std::string>& addresses) {
    sockets.SetHostAddresses(addresses);
    return sockets;
  }

  void Send(const std::vector<std::uint8_t>& bytes,
            std::uint32_t from = kRouter) {
    sockets.Deliver(bytes, from);
    if (!Settle()) QFAIL("datagrams left unread or unshown");
  }
  // Lets every waiting datagram be read and both windows catch up with
  // what was read (they show it within a frame).
  [[nodiscard]] bool Settle() {
    QDeadlineTimer deadline(60000);
    while (!deadline.hasExpired()) {
      QCoreApplication::processEvents();
      if (sockets.queued() == 0 && !main->framePending()) return true;
    }
    return false;
  }
  QStringList Row(int i) const {
    QStringList texts;
    const QAbstractItemModel* m = tracking->lvState->model();
    for (int c = 0; c < 9; ++c) texts << m->index(i, c).data().toString();
    return texts;
  }
  int Rows() const { return tracking->lvState->model()->rowCount(); }
};

QStringList Panel(const TfrmMain& w) {
  return {w.stCycle->text(), w.stSource->text(), w.stState->text(),
          w.stHello->text(), w.stHold->text(),   w.stPrio->text(),
          w.stGroup->text(), w.stAuth->text(),   w.stVIP->text()};
}

const QStringList kEmptyPanel(9, QString());

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void startAndStopStates_data();
  void startAndStopStates();
  void panelCounterAndRows();
  void networkTextIsShownLiterally();
  void filterAndItsResets();
  void startStopAndStartAgain();
  void listHoldsAtMost101Rows();
  void listFollowsWhileHidden();
  void showListPlacement();
  void closeBoxUnticksShowList();
  void trackingColumns();
  void hints_data();
  void hints();
  void hintFollowsThePointer();
  void tabOrder();
  void linkOpensTheMakersPage_data();
  void linkOpensTheMakersPage();
  void exceptionShowsBoxAndLoopGoesOn();
  void closingStopsOnlyWhenNeeded_data();
  void closingStopsOnlyWhenNeeded();
  void floodStaysFlat();
  void redrawsCatchUpAfterABurst();
  void failingReceivesOpenOneBoxAtATime();
  void staleNotificationIsIgnored();
  void screenReadersSeeThePanelAndTheLog();
  void screenReadersFollowBurstsAndEdits();
  void realSocketsOnLoopback();
  void platformChoice_data();
  void platformChoice();
  void panelShowsLongestValuesWhole_data();
  void panelShowsLongestValuesWhole();
  void everyByteHasAVisibleGlyph();
};

void MainWindowTest::startAndStopStates_data() {
  QTest::addColumn<QStringList>("addresses");
  QTest::addColumn<QStringList>("entries");
  QTest::addColumn<int>("selected");
  QTest::addColumn<bool>("selectable");
  QTest::addColumn<QString>("bound");
  QTest::newRow("two addresses")
      << QStringList{"10.0.0.5", "192.168.1.20"}
      << QStringList{"10.0.0.5", "192.168.1.20"} << 0 << true << "10.0.0.5";
  QTest::newRow("one address")
      << QStringList{"10.0.0.5"} << QStringList{"10.0.0.5"} << 0 << false
      << "10.0.0.5";
  QTest::newRow("loopback only")
      << QStringList{"127.0.0.1"} << QStringList{"127.0.0.1"} << -1 << true
      << "0.0.0.0";
  QTest::newRow("no address")
      << QStringList{} << QStringList{} << -1 << true << "0.0.0.0";
}

void MainWindowTest::startAndStopStates() {
  QFETCH(QStringList, addresses);
  QFETCH(QStringList, entries);
  QFETCH(int, selected);
  QFETCH(bool, selectable);
  QFETCH(QString, bound);
  std::vector<std::string> hosts;
  for (const QString& a : addresses) hosts.push_back(a.toStdString());
  Program p(hosts);
  TfrmMain& w = *p.main;

  QStringList listed;
  for (int i = 0; i < w.cbxIf->count(); ++i) listed << w.cbxIf->itemText(i);
  QCOMPARE(listed, entries);
  QCOMPARE(w.cbxIf->currentIndex(), selected);
  QCOMPARE(w.interfaces().IfSelectable, selectable);

  auto idle = [&] {
    QVERIFY(w.btnStart->isEnabled());
    QVERIFY(!w.btnStop->isEnabled());
    QCOMPARE(w.cbxIf->isEnabled(), selectable);
  };
  idle();
  QTest::mouseClick(w.btnStart, Qt::LeftButton);
  QVERIFY(!w.btnStart->isEnabled());
  QVERIFY(w.btnStop->isEnabled());
  QVERIFY(!w.cbxIf->isEnabled());
  QVERIFY(w.rbActive->isEnabled() && w.CheckBox1->isEnabled() &&
          w.btnClose->isEnabled());
  const auto& bind = p.sockets.calls().at(p.sockets.calls().size() - 3);
  QCOMPARE(bind.name, std::string("bind"));
  QVERIFY2(bind.args.find("," + bound.toStdString() + ",") != std::string::npos,
           bind.args.c_str());
  QTest::mouseClick(w.btnStop, Qt::LeftButton);
  idle();
}

void MainWindowTest::panelCounterAndRows() {
  Program p;
  TfrmMain& w = *p.main;
  QTest::mouseClick(w.btnStart, Qt::LeftButton);
  p.Send(Hello(kActive));
  QCOMPARE(Panel(w),
           (QStringList{"1", "10.1.1.2", "active", "3 sec.", "10 sec.", "110",
                        "1", "cisco", "10.1.1.254"}));
  QCOMPARE(p.Rows(), 1);
  QCOMPARE(p.Row(0), (QStringList{"12:00:00,000", "10.1.1.2", "active", "3",
                                  "10", "110", "1", "cisco", "10.1.1.254"}));

  // Two at once: each read through its own notification.
  p.sockets.Deliver(Hello(kStandby), platform::InetAddr("10.1.1.3"));
  p.sockets.Deliver(Hello(0), platform::InetAddr("10.1.1.4"));
  SETTLE(p);
  QCOMPARE(w.stCycle->text(), QString("3"));
  QCOMPARE(w.stState->text(), QString("initial"));
  QCOMPARE(w.stHello->text(), QString("3 sec."));
  QCOMPARE(p.Rows(), 3);
  QCOMPARE(p.Row(1)[2], QString("standby"));
  QCOMPARE(p.Row(2), (QStringList{"12:00:00,002", "10.1.1.4", "initial", "", "",
                                  "", "", "", ""}));
}

void MainWindowTest::networkTextIsShownLiterally() {
  Program p;
  TfrmMain& w = *p.main;
  QTest::mouseClick(w.btnStart, Qt::LeftButton);
  p.Send(Hello(kActive, std::string("a&b\x01<b>\xE4", 8)));
  const QString expected = QString("a&b") + QChar(0x263A) + "<b>" + QChar(0xE4);
  QCOMPARE(w.stAuth->text(), expected);
  QCOMPARE(w.stAuth->textFormat(), Qt::PlainText);
  QVERIFY(w.stAuth->buddy() == nullptr);  // no mnemonic handling
  QCOMPARE(p.Row(0)[7], expected);

  const struct {
    std::string bytes;
    QString text;
  } table[] = {
      {"plain", "plain"},
      {std::string("\x00\x1F\x7F", 3),
       QString{QChar(0x2580)} + QChar(0x25BC) + QChar(0x2302)},
      {"\x80\x81\x9F\xA0\xFF", QString{QChar(0x20AC)} + QChar(0x2591) +
                                   QChar(0x0178) + QChar(0x25E6) + QChar(0xFF)},
      {"\r\n", QString{QChar(0x266A)} + QChar(0x25D9)},
  };
  for (const auto& c : table) QCOMPARE(DisplayText(c.bytes), c.text);
}

void MainWindowTest::filterAndItsResets() {
  Program p;
  TfrmMain& w = *p.main;
  QTest::mouseClick(w.btnStart, Qt::LeftButton);
  p.Send(Hello(kActive));
  p.Send(Hello(kStandby));
  QCOMPARE(w.stCycle->text(), QString("2"));

  // Clicking the button already checked changes nothing.
  QTest::mouseClick(w.rbBoth, Qt::LeftButton);
  QCOMPARE(w.stCycle->text(), QString("2"));

  QTest::mouseClick(w.rbActive, Qt::LeftButton);
  QCOMPARE(w.monitor().mode(), standora::ReportMode::Active);
  QCOMPARE(Panel(w), kEmptyPanel);
  QCOMPARE(p.Rows(), 2);

  p.Send(Hello(kStandby));
  QCOMPARE(Panel(w), kEmptyPanel);
  QCOMPARE(p.Rows(), 2);
  p.Send(Hello(kSpeak));
  QCOMPARE(w.stCycle->text(), QString("1"));
  QCOMPARE(w.stState->text(), QString("speak"));

  QTest::mouseClick(w.rbStandby, Qt::LeftButton);
  QCOMPARE(Panel(w), kEmptyPanel);
  p.Send(Hello(kActive));
  QCOMPARE(w.stCycle->text(), QString());
  p.Send(Hello(kStandby));
  QCOMPARE(w.stCycle->text(), QString("1"));
  QCOMPARE(p.Rows(), 4);
}

void MainWindowTest::startStopAndStartAgain() {
  Program p;
  TfrmMain& w = *p.main;
  QTest::mouseClick(w.btnStart, Qt::LeftButton);
  p.Send(Hello(kActive));
  p.Send(Hello(kActive));
  QTest::mouseClick(w.btnStop, Qt::LeftButton);
  QCOMPARE(w.stCycle->text(), QString("2"));  // the panel stays
  QCOMPARE(w.monitor().MsgCount(), 0);
  QCOMPARE(p.Rows(), 2);

  QTest::mouseClick(w.btnStart, Qt::LeftButton);
  QCOMPARE(Panel(w), kEmptyPanel);
  QCOMPARE(p.Rows(), 0);
  p.Send(Hello(kStandby));
  QCOMPARE(w.stCycle->text(), QString("1"));
  QCOMPARE(p.Rows(), 1);
  QCOMPARE(p.sockets.startups(), 1);
}

void MainWindowTest::listHoldsAtMost101Rows() {
  Program p;
  QTest::mouseClick(p.main->btnStart, Qt::LeftButton);
  for (int i = 0; i < 150; ++i) p.sockets.Deliver(Hello(kActive), kRouter);
  SETTLE(p);
  QCOMPARE(p.main->monitor().MsgCount(), 150);
  QCOMPARE(p.Rows(), 101);
  const auto& rows = p.main->monitor().rows();
  for (int i = 0; i < p.Rows(); ++i) {
    QCOMPARE(p.Row(i)[0], QString::fromStdString(rows[i].caption));
  }
  QCOMPARE(p.Row(0)[0], QString("12:00:00,049"));
  QCOMPARE(p.Row(100)[0], QString("12:00:00,149"));
}

void MainWindowTest::listFollowsWhileHidden() {
  Program p;
  QTest::mouseClick(p.main->btnStart, Qt::LeftButton);
  QVERIFY(!p.tracking->isVisible());
  for (int i = 0; i < 30; ++i) p.sockets.Deliver(Hello(kActive), kRouter);
  SETTLE(p);
  QCOMPARE(p.Rows(), 30);
  p.main->CheckBox1->setChecked(true);
  QVERIFY(QTest::qWaitForWindowExposed(p.tracking.get()));
  QTreeView* list = p.tracking->lvState;
  const QRect last = list->visualRect(list->model()->index(29, 0));
  QVERIFY(list->viewport()->rect().contains(last));
}

void MainWindowTest::showListPlacement() {
  Program p;
  TfrmMain& w = *p.main;
  for (const QPoint at : {QPoint(100, 80), QPoint(20, 300)}) {
    w.move(at);
    Pump();
    QTest::mouseClick(w.CheckBox1, Qt::LeftButton);
    QVERIFY(p.tracking->isVisible());
    QCOMPARE(p.tracking->frameGeometry().topLeft(),
             QPoint(w.x() + w.frameGeometry().width(), w.y()));
    QTest::mouseClick(w.CheckBox1, Qt::LeftButton);
    QVERIFY(!p.tracking->isVisible());
  }
  // Beyond the screen's right edge it stays where it was put.
  const QRect screen = w.screen()->geometry();
  w.move(screen.right() - 100, 10);
  Pump();
  w.CheckBox1->setChecked(true);
  QCOMPARE(p.tracking->x(), w.x() + w.frameGeometry().width());
}

void MainWindowTest::closeBoxUnticksShowList() {
  Program p;
  QTest::mouseClick(p.main->btnStart, Qt::LeftButton);
  p.Send(Hello(kActive));
  p.main->CheckBox1->setChecked(true);
  QVERIFY(p.tracking->isVisible());
  QVERIFY(p.tracking->close());
  QVERIFY(!p.tracking->isVisible());
  QVERIFY(!p.main->CheckBox1->isChecked());
  p.main->CheckBox1->setChecked(true);
  QVERIFY(p.tracking->isVisible());
  QCOMPARE(p.Rows(), 1);
}

void MainWindowTest::trackingColumns() {
  Program p;
  QTreeView* list = p.tracking->lvState;
  const QStringList headers{"Time",  "Source IP", "State",
                            "Hello", "Hold",      "Priority",
                            "Group", "Authent.",  "Virtual IP"};
  const int widths[] = {75, 100, 60, 50, 50, 50, 50, 70, 100};
  QCOMPARE(list->model()->columnCount(), 9);
  for (int c = 0; c < 9; ++c) {
    QCOMPARE(list->model()->headerData(c, Qt::Horizontal).toString(),
             headers[c]);
    QCOMPARE(list->columnWidth(c), widths[c]);
  }
  QVERIFY(!list->header()->sectionsClickable());
  QVERIFY(!list->isSortingEnabled());
  QCOMPARE(list->selectionMode(), QAbstractItemView::SingleSelection);
  QCOMPARE(p.tracking->windowTitle(), QString("Message Tracking "));

  // Only the time stamp is edited in place.
  QTest::mouseClick(p.main->btnStart, Qt::LeftButton);
  p.Send(Hello(kActive));
  QWidget editorParent;
  const QModelIndex caption = list->model()->index(0, 0);
  const QModelIndex source = list->model()->index(0, 1);
  QStyleOptionViewItem option;
  std::unique_ptr<QWidget> editor(
      list->itemDelegate()->createEditor(&editorParent, option, caption));
  QVERIFY(editor != nullptr);
  QVERIFY(list->itemDelegate()->createEditor(&editorParent, option, source) ==
          nullptr);
  QVERIFY(list->editTriggers() == QAbstractItemView::SelectedClicked);
}

void MainWindowTest::hints_data() {
  QTest::addColumn<QString>("control");
  QTest::addColumn<bool>("receiving");
  QTest::addColumn<QString>("hint");
  const QString group = "Select what messages shall be reported";
  QTest::newRow("cbxIf") << "cbxIf" << false
                         << "Computer's interface which shall receive messages";
  QTest::newRow("cbxIf disabled") << "cbxIf" << true << "";
  QTest::newRow("stCycle") << "stCycle" << false
                           << "Received HSRP messages counter";
  QTest::newRow("stSource")
      << "stSource" << false << "Source IP of message sending router";
  QTest::newRow("stState") << "stState" << false << "HSRP state";
  QTest::newRow("stHello") << "stHello" << false << "Hello timer";
  QTest::newRow("stHold") << "stHold" << false << "Hold timer";
  QTest::newRow("stPrio") << "stPrio" << false << "Router's HSRP priority";
  QTest::newRow("stGroup") << "stGroup" << false << "HSRP standby group";
  QTest::newRow("stAuth") << "stAuth" << false << "Authentication string";
  QTest::newRow("stVIP") << "stVIP" << false
                         << "HSRP group's virtual IP address";
  QTest::newRow("GroupBox1") << "GroupBox1" << false << group;
  QTest::newRow("rbBoth") << "rbBoth" << false << group;
  QTest::newRow("rbStandby") << "rbStandby" << false << group;
  QTest::newRow("rbActive") << "rbActive" << false << group;
  QTest::newRow("CheckBox1")
      << "CheckBox1" << false << "Show detailed message tracking";
  QTest::newRow("btnStart") << "btnStart" << false << "Start message reception";
  QTest::newRow("btnStart disabled") << "btnStart" << true << "";
  QTest::newRow("btnStop disabled") << "btnStop" << false << "";
  QTest::newRow("btnStop") << "btnStop" << true << "Stop message reception";
  QTest::newRow("btnClose") << "btnClose" << false << "Close Standora";
  QTest::newRow("Label7") << "Label7" << false << "Browse to author's website";
  QTest::newRow("Label3") << "Label3" << false << "";
  QTest::newRow("Label6") << "Label6" << false << "";
  QTest::newRow("Interface") << "Interface" << false << "";
  QTest::newRow("StatusBar1") << "StatusBar1" << false << "";
}

void MainWindowTest::hints() {
  QFETCH(QString, control);
  QFETCH(bool, receiving);
  QFETCH(QString, hint);
  Program p;
  TfrmMain& w = *p.main;
  if (receiving) QTest::mouseClick(w.btnStart, Qt::LeftButton);
  auto* c = w.findChild<QWidget*>(control);
  QVERIFY(c != nullptr);
  const QPoint centre = c->mapTo(&w, c->rect().center());
  QCOMPARE(HintAt(&w, centre), hint);
  QCOMPARE(HintAt(&w, QPoint(152, 60)), QString());  // the background
}

void MainWindowTest::hintFollowsThePointer() {
  Program p;
  TfrmMain& w = *p.main;
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  QTest::mouseMove(w.rbActive);
  Pump();
  QCOMPARE(w.StatusBar1->currentMessage(),
           QString("Select what messages shall be reported"));
  QTest::mouseMove(w.btnClose);
  Pump();
  QCOMPARE(w.StatusBar1->currentMessage(), QString("Close Standora"));
  QTest::mouseMove(&w, w.Label3->geometry().center());
  Pump();
  QCOMPARE(w.StatusBar1->currentMessage(), QString());

  // Start clicked and the pointer left where it was: the button under it is
  // disabled now, and the bar says nothing; Stop enables it again.
  const QPoint start = w.btnStart->geometry().center();
  QTest::mouseMove(&w, start);
  Pump();
  QCOMPARE(w.StatusBar1->currentMessage(), QString("Start message reception"));
  QTest::mouseClick(w.btnStart, Qt::LeftButton);
  QCOMPARE(w.StatusBar1->currentMessage(), QString());
  w.btnStopClick();  // from the keyboard: the pointer is still over Start
  QCOMPARE(w.StatusBar1->currentMessage(), QString("Start message reception"));
  QVERIFY(w.findChildren<QWidget*>().size() > 0);
  for (QWidget* c : w.findChildren<QWidget*>()) {
    QVERIFY2(c->toolTip().isEmpty(), qPrintable(c->objectName()));
  }
}

void MainWindowTest::tabOrder() {
  Program p;
  TfrmMain& w = *p.main;
  w.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&w));
  auto walk = [&](int steps) {
    QStringList seen;
    w.cbxIf->setFocus();
    for (int i = 0; i < steps; ++i) {
      seen << QApplication::focusWidget()->objectName();
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    return seen;
  };
  QCOMPARE(walk(6), (QStringList{"cbxIf", "btnStart", "btnClose", "rbBoth",
                                 "CheckBox1", "cbxIf"}));
  QTest::mouseClick(w.rbActive, Qt::LeftButton);
  QTest::mouseClick(w.btnStart, Qt::LeftButton);
  // Receiving: the interface box and Start are disabled, Stop is not.
  w.btnStop->setFocus();
  QStringList seen;
  for (int i = 0; i < 5; ++i) {
    seen << QApplication::focusWidget()->objectName();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  QCOMPARE(seen, (QStringList{"btnStop", "btnClose", "rbActive", "CheckBox1",
                              "btnStop"}));
}

void MainWindowTest::linkOpensTheMakersPage_data() {
  QTest::addColumn<qint64>("result");
  QTest::addColumn<bool>("message");
  QTest::newRow("opened") << qint64(33) << false;
  QTest::newRow("32 fails") << qint64(32) << true;
  QTest::newRow("0 fails") << qint64(0) << true;
}

void MainWindowTest::linkOpensTheMakersPage() {
  QFETCH(qint64, result);
  QFETCH(bool, message);
  Program p;
  p.shell.result = static_cast<std::intptr_t>(result);
  QTest::mouseClick(p.main->Label7, Qt::LeftButton);
  QCOMPARE(p.shell.requests.size(), std::size_t{1});
  const auto& r = p.shell.requests[0];
  QCOMPARE(r.verb, std::string("open"));
  QVERIFY(r.file.rfind("http://", 0) == 0);
  QVERIFY(r.file.size() > 14 &&
          r.file.compare(r.file.size() - 14, 14, "/software.html") == 0);
  QCOMPARE(r.parameters, std::string());
  QCOMPARE(r.directory, std::string());
  QCOMPARE(r.show, platform::SW_SHOWNORMAL);
  QCOMPARE(p.dialogs.messages,
           message ? std::vector<std::string>{"Unable to start http client."}
                   : std::vector<std::string>{});
  QVERIFY(p.boxes.shown.empty());
}

void MainWindowTest::exceptionShowsBoxAndLoopGoesOn() {
  Program p;
  TfrmMain& w = *p.main;
  p.shell.throws = true;
  QTest::mouseClick(w.Label7, Qt::LeftButton);
  QCOMPARE(p.dialogs.exceptions, std::vector<std::string>{"shell threw"});

  // A socket notification that throws: the box, and reception goes on.
  QTest::mouseClick(w.btnStart, Qt::LeftButton);
  p.sockets.ThrowOn("recvfrom");
  p.Send(Hello(kActive));
  QCOMPARE(p.dialogs.exceptions.size(), std::size_t{2});
  QCOMPARE(p.dialogs.exceptions[1], std::string("recvfrom threw"));
  p.sockets.Heal();
  p.Send(Hello(kStandby));
  // The datagram whose handling threw is gone; the next one is reported.
  QCOMPARE(w.monitor().MsgCount(), 1);
  QCOMPARE(w.stState->text(), QString("standby"));
  QTest::mouseClick(w.btnStop, Qt::LeftButton);
  QVERIFY(w.btnStart->isEnabled());
}

void MainWindowTest::closingStopsOnlyWhenNeeded_data() {
  QTest::addColumn<QString>("before");
  QTest::addColumn<QStringList>("calls");
  const QStringList stop{"shutdown", "closesocket", "WSACleanup"};
  QTest::newRow("never started") << "" << stop;
  QTest::newRow("receiving") << "start" << stop;
  QTest::newRow("stopped") << "start stop" << QStringList{};
}

void MainWindowTest::closingStopsOnlyWhenNeeded() {
  QFETCH(QString, before);
  QFETCH(QStringList, calls);
  Program p;
  TfrmMain& w = *p.main;
  if (before.contains("start")) QTest::mouseClick(w.btnStart, Qt::LeftButton);
  if (before.contains("stop")) QTest::mouseClick(w.btnStop, Qt::LeftButton);
  p.sockets.ClearCalls();
  QVERIFY(w.close());
  QStringList made;
  for (const std::string& n : p.sockets.CallNames()) {
    made << QString::fromStdString(n);
  }
  QCOMPARE(made, calls);
  QCOMPARE(p.sockets.startups(), 0);
  QCOMPARE(p.sockets.openSockets(), std::size_t{0});
  QVERIFY(p.boxes.shown.empty());
}

void MainWindowTest::floodStaysFlat() {
  Program p;
  TfrmMain& w = *p.main;
  w.CheckBox1->setChecked(true);
  QTest::mouseClick(w.btnStart, Qt::LeftButton);
  for (int i = 0; i < 10000; ++i) {
    p.sockets.Deliver(Hello(i % 2 ? kActive : kStandby), kRouter);
  }
  SETTLE(p);
  QCOMPARE(p.sockets.queued(), std::size_t{0});
  QCOMPARE(w.monitor().MsgCount(), 10000);
  QCOMPARE(w.stCycle->text(), QString("10000"));
  QCOMPARE(p.Rows(), 101);
  QCOMPARE(p.Row(100)[0], QString("12:00:09,999"));
  QCOMPARE(p.Row(0)[0], QString("12:00:09,899"));
  QVERIFY2(w.maxNotifyDepth() <= 2,
           qPrintable(QString::number(w.maxNotifyDepth())));
}

// Redrawing waits for the end of a frame during a burst, but never for
// longer: every field and the list are drawn again once it is over.
void MainWindowTest::redrawsCatchUpAfterABurst() {
  Program p;
  TfrmMain& w = *p.main;
  w.CheckBox1->setChecked(true);
  QTest::mouseClick(w.btnStart, Qt::LeftButton);
  for (int i = 0; i < 50; ++i) p.sockets.Deliver(Hello(kActive), kRouter);
  SETTLE(p);
  const QList<QWidget*> drawn = {
      w.stCycle, w.stSource, w.stState, w.stHello, w.stHold,
      w.stPrio,  w.stGroup,  w.stAuth,  w.stVIP,   p.tracking->lvState};
  for (QWidget* d : drawn) {
    QTRY_VERIFY2(d->updatesEnabled(), qPrintable(d->objectName()));
  }
  QVERIFY(w.updatesEnabled() && p.tracking->updatesEnabled());
  QCOMPARE(w.stCycle->text(), QString("50"));
}

void MainWindowTest::failingReceivesOpenOneBoxAtATime() {
  Program p;
  TfrmMain& w = *p.main;
  QTest::mouseClick(w.btnStart, Qt::LeftButton);
  p.sockets.FailWith("recvfrom", 104);
  int rounds = 0, deepest = 0;
  // While each box is open the user stops and starts again, and another
  // datagram is waiting: its receive fails too.
  p.boxes.whileOpen = [&] {
    deepest = std::max(deepest, p.boxes.open);
    if (++rounds >= 50) return;
    QTest::mouseClick(w.btnStop, Qt::LeftButton);
    QTest::mouseClick(w.btnStart, Qt::LeftButton);
    p.sockets.Deliver(Hello(kActive), kRouter);
    Pump();
  };
  p.sockets.Deliver(Hello(kActive), kRouter);
  QTRY_COMPARE(rounds, 50);
  QCOMPARE(deepest, 1);
  QVERIFY(w.maxNotifyDepth() <= 2);
  QCOMPARE(p.boxes.shown.size(), std::size_t{50});
  for (const auto& b : p.boxes.shown) {
    QCOMPARE(b.text, std::string("recvfrom failed! Error: 104"));
  }
}

// A notification of a socket that was closed since (after Stop, or Stop and
// Start) reads nothing and shows nothing.
void MainWindowTest::staleNotificationIsIgnored() {
  Program p;
  TfrmMain& w = *p.main;
  QTest::mouseClick(w.btnStart, Qt::LeftButton);
  const platform::Socket old = w.listener().ListenSocket;
  QTest::mouseClick(w.btnStop, Qt::LeftButton);
  for (const bool restart : {false, true}) {
    if (restart) QTest::mouseClick(w.btnStart, Qt::LeftButton);
    p.sockets.ClearCalls();
    QCoreApplication::postEvent(
        &w, new platform::SocketNotifyEvent(standora::WM_SOCKET_NOTIFY, old,
                                            platform::kFdRead));
    Pump();
    for (const std::string& call : p.sockets.CallNames()) {
      QVERIFY2(call != "recvfrom", "read on a stale notification");
    }
    QVERIFY(p.boxes.shown.empty());
  }
}

void MainWindowTest::screenReadersSeeThePanelAndTheLog() {
  Program p;
  TfrmMain& w = *p.main;
  QTest::mouseClick(w.btnStart, Qt::LeftButton);
  p.Send(Hello(kActive, "a&b"));
  const struct {
    QWidget* control;
    QAccessible::Role role;
    QString name;
  } table[] = {
      {w.btnStop, QAccessible::Button, "Stop"},
      {w.CheckBox1, QAccessible::CheckBox, "Show List"},
      {w.rbBoth, QAccessible::RadioButton, "Both"},
      {w.Label3, QAccessible::StaticText, "Msg.Count"},
      {w.stState, QAccessible::StaticText, "active"},
      {w.stAuth, QAccessible::StaticText, "a&b"},
  };
  for (const auto& c : table) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(c.control);
    QVERIFY(a != nullptr);
    QCOMPARE(a->role(), c.role);
    QCOMPARE(a->text(QAccessible::Name), c.name);
  }
  QAccessibleInterface* list =
      QAccessible::queryAccessibleInterface(p.tracking->lvState);
  QVERIFY(list != nullptr && list->tableInterface() != nullptr);
  QCOMPARE(list->tableInterface()->rowCount(), 1);
  QAccessibleInterface* cell = list->tableInterface()->cellAt(0, 2);
  QVERIFY(cell != nullptr);
  QCOMPARE(cell->text(QAccessible::Name), QString("active"));
}

// What the windows show, and what a screen reader reads of them, is the
// monitoring state's own: after a burst that trims the log, and after the
// user's in-place edit of a time stamp, which stays with its row as later
// rows push it up.
void MainWindowTest::screenReadersFollowBurstsAndEdits() {
  Program p;
  TfrmMain& w = *p.main;
  w.CheckBox1->setChecked(true);
  QVERIFY(QTest::qWaitForWindowExposed(p.tracking.get()));
  QTest::mouseClick(w.btnStart, Qt::LeftButton);
  for (int i = 0; i < 150; ++i) {
    p.sockets.Deliver(
        Hello(i % 2 ? kActive : kStandby, "a" + std::to_string(i)), kRouter);
  }
  SETTLE(p);
  QTreeView* list = p.tracking->lvState;
  QAccessibleInterface* table = QAccessible::queryAccessibleInterface(list);
  QVERIFY(table != nullptr && table->tableInterface() != nullptr);

  auto agree = [&] {
    const standora::PanelTexts& core = w.monitor().panel();
    const std::pair<QLabel*, const std::string*> fields[] = {
        {w.stCycle, &core.stCycle},
        {w.stSource, &core.stSource},
        {w.stState, &core.stState},
        {w.stAuth, &core.stAuth},
        {w.stVIP, &core.stVIP}};
    for (const auto& [field, text] : fields) {
      QCOMPARE(field->text(), DisplayText(*text));
      QCOMPARE(
          QAccessible::queryAccessibleInterface(field)->text(QAccessible::Name),
          DisplayText(*text));
    }
    const auto& rows = w.monitor().rows();
    QCOMPARE(p.Rows(), static_cast<int>(rows.size()));
    QCOMPARE(table->tableInterface()->rowCount(),
             static_cast<int>(rows.size()));
    for (int r = 0; r < p.Rows(); ++r) {
      const standora::TrackingRow& row = rows[static_cast<std::size_t>(r)];
      QStringList core{DisplayText(row.caption)};
      for (const std::string& sub : row.subItems) core << DisplayText(sub);
      while (core.size() < 9) core << QString();
      QCOMPARE(p.Row(r), core);
      for (int c = 0; c < 9; c += 4) {
        QAccessibleInterface* cell = table->tableInterface()->cellAt(r, c);
        QVERIFY(cell != nullptr);
        QCOMPARE(cell->text(QAccessible::Name), core[c]);
      }
    }
  };
  agree();
  if (QTest::currentTestFailed()) return;
  QCOMPARE(p.Row(100)[7], QString("a149"));

  // The user annotates the time stamp of row 95 (in view, the list shows
  // its newest rows): a click selects the row, a second click on the
  // selected row opens the editor.
  const QRect cell = list->visualRect(list->model()->index(95, 0));
  QVERIFY(list->viewport()->rect().contains(cell.center()));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
  QTRY_VERIFY(qobject_cast<QLineEdit*>(QApplication::focusWidget()) != nullptr);
  auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
  editor->selectAll();
  QTest::keyClicks(editor, "router B reboot");
  QTest::keyClick(editor, Qt::Key_Return);
  // The editor hands its text over once the key press is through.
  QTRY_COMPARE(w.monitor().rows()[95].caption, std::string("router B reboot"));
  agree();
  if (QTest::currentTestFailed()) return;

  // Three more hellos trim three rows: the edited row is now row 92.
  for (int i = 150; i < 153; ++i) {
    p.sockets.Deliver(Hello(kActive, "a" + std::to_string(i)), kRouter);
  }
  SETTLE(p);
  QCOMPARE(w.monitor().rows()[92].caption, std::string("router B reboot"));
  QCOMPARE(p.Row(92)[0], QString("router B reboot"));
  QCOMPARE(list->currentIndex().row(), 92);  // the selection followed it
  agree();
}

void MainWindowTest::realSocketsOnLoopback() {
  platform::LinuxSocketLayer sockets;
  Windows windows(sockets);
  TfrmMain& w = *windows.main;
  TfrmTracking& tracking = *windows.tracking;
  windows.ChooseLoopback();
  QTest::mouseClick(w.btnStart, Qt::LeftButton);
  QVERIFY(windows.boxes.shown.empty());

  LoopbackSender sender;
  QVERIFY(sender.Send(Hello(kActive, "lo")));
  QVERIFY(sender.Send(Hello(kStandby, "lo")));
  QTRY_COMPARE(w.stCycle->text(), QString("2"));
  QCOMPARE(w.stSource->text(), QString("127.0.0.1"));
  QCOMPARE(w.stState->text(), QString("standby"));
  QCOMPARE(w.stAuth->text(), QString("lo"));
  QTRY_COMPARE(tracking.lvState->model()->rowCount(), 2);
  QCOMPARE(tracking.lvState->model()->index(0, 2).data().toString(),
           QString("active"));
  QTest::mouseClick(w.btnStop, Qt::LeftButton);
  QCOMPARE(sockets.openSockets(), std::size_t{0});
}

void MainWindowTest::platformChoice_data() {
  QTest::addColumn<QByteArray>("chosen");
  QTest::addColumn<QByteArray>("display");
  QTest::addColumn<QByteArray>("platform");
  QTest::newRow("X display, nothing chosen")
      << QByteArray() << QByteArray(":0") << QByteArray("xcb");
  QTest::newRow("the user chose Wayland")
      << QByteArray("wayland") << QByteArray(":0") << QByteArray();
  QTest::newRow("no X display") << QByteArray() << QByteArray() << QByteArray();
}

void MainWindowTest::platformChoice() {
  QFETCH(QByteArray, chosen);
  QFETCH(QByteArray, display);
  QFETCH(QByteArray, platform);
  QCOMPARE(PlatformFor(chosen, display), platform);
}

// Every field of the panel shows its longest possible value whole, in its
// fixed place and size: the text fits the field's contents.
void MainWindowTest::panelShowsLongestValuesWhole_data() {
  QTest::addColumn<QString>("field");
  QTest::addColumn<std::vector<std::uint8_t>>("hello");
  QTest::addColumn<QString>("from");
  QTest::addColumn<QString>("text");
  // The widest character an authentication byte can show as.
  QFontMetrics metrics(PanelFont());
  int widest = 'W';
  for (int b = 1; b < 256; ++b) {
    const QString c = DisplayText(std::string(1, static_cast<char>(b)));
    if (metrics.horizontalAdvance(c) >
        metrics.horizontalAdvance(
            DisplayText(std::string(1, static_cast<char>(widest))))) {
      widest = b;
    }
  }
  std::vector<std::uint8_t> wide = MakeHello(16, 255, 255, "");
  std::fill(wide.begin() + 8, wide.begin() + 16,
            static_cast<std::uint8_t>(widest));
  std::fill(wide.begin() + 16, wide.end(), 255);  // 255.255.255.255
  wide[3] = wide[4] = 255;
  const QString eight = DisplayText(std::string(8, static_cast<char>(widest)));
  const QString widestRow = QString("eight of '%1'").arg(eight.at(0));
  QTest::newRow("source") << "stSource" << wide << "255.255.255.255"
                          << "255.255.255.255";
  QTest::newRow("virtual IP") << "stVIP" << wide << "10.1.1.2"
                              << "255.255.255.255";
  QTest::newRow("hello") << "stHello" << wide << "10.1.1.2"
                         << "255 sec.";
  QTest::newRow("hold") << "stHold" << wide << "10.1.1.2"
                        << "255 sec.";
  QTest::newRow("priority") << "stPrio" << wide << "10.1.1.2"
                            << "255";
  QTest::newRow("group") << "stGroup" << wide << "10.1.1.2"
                         << "255";
  QTest::newRow(qPrintable(widestRow))
      << "stAuth" << wide << "10.1.1.2" << eight;
  std::vector<std::uint8_t> ws = wide;
  std::fill(ws.begin() + 8, ws.begin() + 16, 'W');
  QTest::newRow("eight W") << "stAuth" << ws << "10.1.1.2"
                           << "WWWWWWWW";
  std::vector<std::uint8_t> standby = wide;
  standby[2] = 8;
  QTest::newRow("state") << "stState" << standby << "10.1.1.2"
                         << "standby";
}

void MainWindowTest::panelShowsLongestValuesWhole() {
  QFETCH(QString, field);
  QFETCH(std::vector<std::uint8_t>, hello);
  QFETCH(QString, from);
  QFETCH(QString, text);
  Program p;
  TfrmMain& w = *p.main;
  QTest::mouseClick(w.btnStart, Qt::LeftButton);
  p.Send(hello, platform::InetAddr(from.toLatin1().constData()));
  auto* label = w.findChild<QLabel*>(field);
  QVERIFY(label != nullptr);
  QCOMPARE(label->text(), text);
  QCOMPARE(label->geometry().width(), 81);
  const int room = label->contentsRect().width() - label->indent();
  const int width = QFontMetrics(label->font()).horizontalAdvance(text);
  QVERIFY2(width <= room,
           qPrintable(QString("%1 px of text in %2 px").arg(width).arg(room)));

  // The counter at ten digits, in the same way.
  QFontMetrics counter(w.stCycle->font());
  QVERIFY(counter.horizontalAdvance("9999999999") <=
          w.stCycle->contentsRect().width() - w.stCycle->indent());
  // The list shows the longest address whole at its default widths.
  QFontMetrics list(p.tracking->lvState->font());
  for (const int column : {1, 8}) {
    QVERIFY(list.horizontalAdvance("255.255.255.255") + 8 <=
            p.tracking->lvState->columnWidth(column));
  }
}

// Each byte shows as a character of its own that the windows' fonts have.
void MainWindowTest::everyByteHasAVisibleGlyph() {
  QSet<QChar> seen;
  const QFontMetrics fonts[] = {QFontMetrics(WindowFont()),
                                QFontMetrics(PanelFont())};
  for (int b = 0; b < 256; ++b) {
    const QString text = DisplayText(std::string(1, static_cast<char>(b)));
    QCOMPARE(text.size(), 1);
    const QChar c = text.at(0);
    QVERIFY2(!seen.contains(c), qPrintable(QString::number(b, 16)));
    seen.insert(c);
    for (const QFontMetrics& m : fonts) {
      QVERIFY2(m.inFontUcs4(c.unicode()),
               qPrintable(QString("byte %1: U+%2")
                              .arg(b, 2, 16, QChar('0'))
                              .arg(c.unicode(), 4, 16, QChar('0'))));
      if (b != 0x20) QVERIFY(m.horizontalAdvance(c) > 0);
    }
    QCOMPARE(FromDisplayText(text), std::string(1, static_cast<char>(b)));
  }
}

int main(int argc, char** argv) {
  MainWindowTest test;
  return RunWindowTest(test, argc, argv);
}

#include "main_window_test.moc"
