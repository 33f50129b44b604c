#include "frame_watch.h"

#include <QEvent>
#include <QWidget>

namespace {
constexpr int kPollMs = 25;
constexpr int kChecks = 200;  // five seconds after each show
}  // namespace

FrameWatch::FrameWatch(QWidget* window, std::function<void()> framed,
                       bool firstShowOnly)
    : QObject(window),
      window_(window),
      framed_(std::move(framed)),
      firstShowOnly_(firstShowOnly) {
  poll_.setInterval(kPollMs);
  connect(&poll_, &QTimer::timeout, this, [this] { Check(); });
  window_->installEventFilter(this);
}

QMargins FrameWatch::FrameOf(const QWidget* window) {
  const QRect outer = window->frameGeometry();
  const QRect inner = window->geometry();
  return {inner.left() - outer.left(), inner.top() - outer.top(),
          outer.right() - inner.right(), outer.bottom() - inner.bottom()};
}

bool FrameWatch::eventFilter(QObject* watched, QEvent* event) {
  if (watched == window_ && event->type() == QEvent::Show &&
      !(firstShowOnly_ && shown_)) {
    shown_ = true;
    last_ = FrameOf(window_);
    framed_();
    checksLeft_ = kChecks;
    poll_.start();
  }
  return false;
}

void FrameWatch::Check() {
  if (--checksLeft_ <= 0 || !window_->isVisible()) poll_.stop();
  const QMargins now = FrameOf(window_);
  if (now == last_) return;
  last_ = now;
  framed_();
}
