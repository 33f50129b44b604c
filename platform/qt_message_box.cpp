#include "qt_message_box.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QPointer>

#include "box_look.h"

namespace platform {

int QtMessageBoxes::MessageBox(QWidget* owner, const std::string& text,
                               const std::string& caption, unsigned /*type*/) {
  // Only MB_OK is asked for: one OK button and no icon.
  QPointer<QMessageBox> box = new QMessageBox(owner);
  box->setWindowTitle(QString::fromLatin1(
      caption.data(), static_cast<qsizetype>(caption.size())));
  box->setTextFormat(Qt::PlainText);
  box->setText(
      QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
  box->setIcon(QMessageBox::NoIcon);
  box->setStandardButtons(QMessageBox::Ok);
  GiveWindowsLook(box);
  // Not modal: the caller waits, the rest of the program does not.
  box->setWindowModality(Qt::NonModal);
  // An open box does not keep the program alive once its main window is
  // closed.
  box->setAttribute(Qt::WA_QuitOnClose, false);

  QEventLoop wait;
  QObject::connect(box.data(), &QDialog::finished, &wait, &QEventLoop::quit);
  QObject::connect(box.data(), &QObject::destroyed, &wait, &QEventLoop::quit);
  QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit,
                   &wait, &QEventLoop::quit);
  box->show();
  wait.exec();
  delete box.data();
  return IDOK;
}

}  // namespace platform
