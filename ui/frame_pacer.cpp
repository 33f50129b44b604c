#include "frame_pacer.h"

namespace {
int frameMs = 16;  // about 60 frames a second
}

void FramePacer::SetFrameMs(int ms) { frameMs = ms; }

FramePacer::FramePacer(QObject* parent, std::function<void()> show)
    : QObject(parent), show_(std::move(show)) {
  frame_.setSingleShot(true);
  frame_.setInterval(frameMs);
  frame_.setTimerType(Qt::PreciseTimer);
  connect(&frame_, &QTimer::timeout, this, [this] { FrameOver(); });
}

void FramePacer::Changed() {
  if (frame_.isActive()) {
    waiting_ = true;
    return;
  }
  ShowNow();
}

void FramePacer::ShowNow() {
  waiting_ = false;
  frame_.start();
  show_();
}

void FramePacer::FrameOver() {
  if (waiting_) ShowNow();
}
