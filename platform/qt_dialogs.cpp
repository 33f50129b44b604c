#include "qt_dialogs.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>

#include "box_look.h"

namespace platform {
namespace {

void RunModal(const std::string& title, const std::string& text,
              QMessageBox::Icon icon) {
  QMessageBox box;
  box.setWindowTitle(QString::fromStdString(title));
  box.setTextFormat(Qt::PlainText);
  box.setText(
      QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size())));
  box.setIcon(icon);
  box.setStandardButtons(QMessageBox::Ok);
  GiveWindowsLook(&box);
  box.setWindowModality(Qt::ApplicationModal);
  // A message box takes its final size as it is shown: centre it then.
  box.show();
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame = box.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    box.move(frame.topLeft());
  }
  box.exec();
}

}  // namespace

void QtDialogs::ShowMessage(const std::string& text) {
  RunModal(title_, text, QMessageBox::NoIcon);
}

void QtDialogs::ShowException(const std::string& message) {
  RunModal(title_, message, QMessageBox::Critical);
}

}  // namespace platform
