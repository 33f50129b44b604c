// Shows what changed at most once a frame. The first change after a quiet
// frame is shown at once; changes that come while a frame is still running
// are shown together when it is over. A flood of datagrams thus costs one
// redraw, one set of field texts and one batch of accessibility events a
// frame, not one a datagram, and the screen is never more than a frame
// behind.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

class FramePacer : public QObject {
 public:
  FramePacer(QObject* parent, std::function<void()> show);

  // Something changed: shown now, or when the running frame is over.
  void Changed();
  // Shown now, whatever the frame (an answer to the user's own action).
  void ShowNow();
  // Something waits to be shown.
  bool waiting() const { return waiting_; }

  // The length of a frame for pacers made from now on (16 ms unless set).
  // For measurements that run the program slowed down (under valgrind),
  // which must stretch the frame alike to see what a user's machine does.
  static void SetFrameMs(int ms);

 private:
  void FrameOver();

  std::function<void()> show_;
  QTimer frame_;
  bool waiting_ = false;
};
