#include "frame_gate.h"

#include <QWidget>

namespace {
constexpr int kFrameMs = 16;  // about 60 frames a second
}

FrameGate::FrameGate(QObject* parent, QList<QWidget*> targets)
    : QObject(parent), targets_(std::move(targets)) {
  frame_.setSingleShot(true);
  frame_.setInterval(kFrameMs);
  connect(&frame_, &QTimer::timeout, this, [this] { FrameOver(); });
}

void FrameGate::Hold() {
  if (holds_++ == 0) Enable(false);
}

void FrameGate::Release() {
  if (holds_ == 0 || --holds_ != 0) return;
  if (frame_.isActive()) {
    waiting_ = true;
    return;
  }
  Enable(true);
  frame_.start();
}

void FrameGate::FrameOver() {
  if (!waiting_ || holds_ != 0) return;
  waiting_ = false;
  Enable(true);
  frame_.start();
}

void FrameGate::Enable(bool on) {
  for (QWidget* w : targets_) w->setUpdatesEnabled(on);
}
