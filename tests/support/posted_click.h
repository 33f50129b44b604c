// A click as the window system delivers one: a press and a release posted
// to `target` at `at` (its own coordinates), handled when the event loop
// gets to them.
#pragma once

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

namespace testing_support {

inline void PostClick(QWidget* target, QPointF at) {
  const QPointF global = target->mapToGlobal(at);
  QCoreApplication::postEvent(
      target, new QMouseEvent(QEvent::MouseButtonPress, at, global,
                              Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
  QCoreApplication::postEvent(
      target, new QMouseEvent(QEvent::MouseButtonRelease, at, global,
                              Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
}

}  // namespace testing_support
