#include "box_look.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

namespace platform {

void GiveWindowsLook(QMessageBox* box) {
  const QFont font = QApplication::font();
  box->setFont(font);
  for (QWidget* part : box->findChildren<QWidget*>()) part->setFont(font);
  for (QAbstractButton* button : box->buttons()) button->setIcon(QIcon());
}

}  // namespace platform
