// The real message boxes and dialogs, answered by a timer instead of a
// user.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "desktop_shell.h"
#include "qt_dialogs.h"
#include "qt_message_box.h"

namespace {

struct Seen {
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::Question;
  Qt::WindowModality modality = Qt::WindowModal;
  QWidget* parent = reinterpret_cast<QWidget*>(1);
  int buttons = 0;
  QPoint centre;
  bool otherWindowUsable = false;
  // Parts of the box not in the application's font, and buttons that
  // carry an icon.
  QStringList otherFonts, iconButtons;
};

// Waits for the box to show, notes what it looks like, and presses OK.
void AnswerNextBox(Seen& seen, QWidget* other) {
  QTimer::singleShot(0, [&seen, other] {
    QMessageBox* box = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* b = qobject_cast<QMessageBox*>(w); b && b->isVisible()) box = b;
    }
    if (box == nullptr) return;
    seen.title = box->windowTitle();
    seen.text = box->text();
    seen.icon = box->icon();
    seen.modality = box->windowModality();
    seen.parent = box->parentWidget();
    seen.buttons = static_cast<int>(box->buttons().size());
    seen.centre = box->frameGeometry().center();
    seen.otherWindowUsable =
        other != nullptr && !QApplication::activeModalWidget();
    for (const QWidget* part : box->findChildren<QWidget*>()) {
      if (part->isVisible() && part->font() != QApplication::font()) {
        seen.otherFonts << part->metaObject()->className();
      }
    }
    for (const QAbstractButton* b : box->buttons()) {
      if (!b->icon().isNull()) seen.iconButtons << b->text();
    }
    box->button(QMessageBox::Ok)->click();
  });
}

}  // namespace

class DialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    // As the program's application object does.
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(11);
    QApplication::setFont(font);
  }
  void errorBoxHasNoOwnerAndBlocksNothing() {
    QWidget mainWindow;
    mainWindow.show();
    platform::QtMessageBoxes boxes;
    Seen seen;
    AnswerNextBox(seen, &mainWindow);
    const int answer = boxes.MessageBox(
        nullptr, "Binding socket failed! Error: 99", "Error", platform::MB_OK);
    QCOMPARE(answer, platform::IDOK);
    QCOMPARE(seen.title, QString("Error"));
    QCOMPARE(seen.text, QString("Binding socket failed! Error: 99"));
    QCOMPARE(seen.icon, QMessageBox::NoIcon);
    QCOMPARE(seen.modality, Qt::NonModal);
    QVERIFY(seen.parent == nullptr);
    QCOMPARE(seen.buttons, 1);
    QCOMPARE(seen.otherFonts, QStringList());
    QCOMPARE(seen.iconButtons, QStringList());
    QVERIFY(seen.otherWindowUsable);
  }

  void plainMessageIsModalAndCentred() {
    platform::QtDialogs dialogs("Standora");
    Seen seen;
    AnswerNextBox(seen, nullptr);
    dialogs.ShowMessage("Unable to start http client.");
    QCOMPARE(seen.title, QString("Standora"));
    QCOMPARE(seen.text, QString("Unable to start http client."));
    QCOMPARE(seen.icon, QMessageBox::NoIcon);
    QCOMPARE(seen.modality, Qt::ApplicationModal);
    QCOMPARE(seen.buttons, 1);
    QCOMPARE(seen.otherFonts, QStringList());
    QCOMPARE(seen.iconButtons, QStringList());
    const QPoint screenCentre =
        QGuiApplication::primaryScreen()->availableGeometry().center();
    QVERIFY((seen.centre - screenCentre).manhattanLength() <= 2);
  }

  void exceptionBoxShowsAnErrorIcon() {
    platform::QtDialogs dialogs("Standora");
    Seen seen;
    AnswerNextBox(seen, nullptr);
    dialogs.ShowException("something broke");
    QCOMPARE(seen.title, QString("Standora"));
    QCOMPARE(seen.text, QString("something broke"));
    QCOMPARE(seen.icon, QMessageBox::Critical);
    QCOMPARE(seen.buttons, 1);
    QCOMPARE(seen.otherFonts, QStringList());
    QCOMPARE(seen.iconButtons, QStringList());
  }

  // The shell's "open" counts as done only when the desktop's launcher says
  // it handed the page over; the event loop runs while it is found out.
  void launcherDecidesTheResult_data() {
    QTest::addColumn<int>("exitCode");  // -1: there is no launcher
    QTest::addColumn<bool>("done");
    QTest::newRow("hands the page over") << 0 << true;
    QTest::newRow("no browser set up") << 3 << false;
    QTest::newRow("no launcher at all") << -1 << false;
  }
  void launcherDecidesTheResult() {
    QFETCH(int, exitCode);
    QFETCH(bool, done);
    QTemporaryDir bin;
    QVERIFY(bin.isValid());
    if (exitCode >= 0) {
      QFile stub(bin.filePath("xdg-open"));
      QVERIFY(stub.open(QIODevice::WriteOnly));
      stub.write(QStringLiteral("#!/bin/sh\nPATH=/usr/bin:/bin\n"
                                "echo \"$1\" > \"%1\"\nsleep 0.2\nexit %2\n")
                     .arg(bin.filePath("opened"))
                     .arg(exitCode)
                     .toUtf8());
      stub.close();
      stub.setPermissions(QFile::ReadOwner | QFile::WriteOwner |
                          QFile::ExeOwner);
    }
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin.path()));
    int ticks = 0;
    QTimer tick;
    connect(&tick, &QTimer::timeout, [&] { ++ticks; });
    tick.start(10);
    platform::DesktopShell shell;
    const std::intptr_t result = shell.ShellExecute(
        nullptr, "open", "http://www.example.org/software.html", "", "", 1);
    qputenv("PATH", path);
    QCOMPARE(result > 32, done);
    if (exitCode >= 0) {
      QFile opened(bin.filePath("opened"));
      QVERIFY(opened.open(QIODevice::ReadOnly));
      QCOMPARE(opened.readAll().trimmed(),
               QByteArray("http://www.example.org/software.html"));
      QVERIFY2(ticks > 0, "the event loop stood still while waiting");
    }
  }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
