// The real message boxes and dialogs, answered by a timer instead of a
// user.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QtTest>

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
    box->button(QMessageBox::Ok)->click();
  });
}

}  // namespace

class DialogsTest : public QObject {
  Q_OBJECT

 private slots:
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
  }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
