#include "hint_bar.h"

#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QStatusBar>
#include <QWidget>

namespace {
constexpr const char* kHint = "hint";
}

void SetHint(QWidget* control, const QString& hint) {
  control->setProperty(kHint, hint);
}

QString HintAt(const QWidget* window, QPoint pos) {
  for (const QWidget* w = window->childAt(pos); w != nullptr && w != window;
       w = w->parentWidget()) {
    if (!w->isEnabled()) return {};
    const QString hint = w->property(kHint).toString();
    if (!hint.isEmpty()) return hint;
  }
  return {};
}

HintBar::HintBar(QWidget* window, QStatusBar* bar)
    : QObject(window), window_(window), bar_(bar) {
  // Pointer movement over any widget of the application is looked at, so
  // that disabled controls, which get no mouse events, are seen too.
  qApp->installEventFilter(this);
}

bool HintBar::eventFilter(QObject* watched, QEvent* event) {
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr || widget->window() != window_) return false;
  switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
      ShowAt(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
      break;
    case QEvent::Enter:
      ShowAt(static_cast<QEnterEvent*>(event)->globalPosition().toPoint());
      break;
    case QEvent::Leave:
      if (widget == window_) {
        pointerInside_ = false;
        bar_->clearMessage();
      }
      break;
    case QEvent::EnabledChange:
      // The pointer stays where it is; what lies under it changed.
      if (pointerInside_) ShowAt(pointer_);
      break;
    default:
      break;
  }
  return false;
}

void HintBar::ShowAt(QPoint globalPos) {
  pointerInside_ = true;
  pointer_ = globalPos;
  const QString hint = HintAt(window_, window_->mapFromGlobal(globalPos));
  if (hint.isEmpty()) {
    bar_->clearMessage();
  } else if (bar_->currentMessage() != hint) {
    bar_->showMessage(hint);
  }
}
