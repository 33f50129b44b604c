// Follows the frame a window manager puts around a window. Its size is
// known only some time after the window is shown (the manager frames it
// and then tells its size), so for a short while after each show the
// watch calls `framed` once at the show and again whenever the frame has
// changed: the window can then set its outer size or place by its frame.
#pragma once

#include <QMargins>
#include <QObject>
#include <QTimer>
#include <functional>

class QWidget;

class FrameWatch : public QObject {
 public:
  // `firstShowOnly`: only the window's first show is followed.
  FrameWatch(QWidget* window, std::function<void()> framed,
             bool firstShowOnly = false);

  // The frame's width on each side of the window's client area.
  static QMargins FrameOf(const QWidget* window);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Check();

  QWidget* window_;
  std::function<void()> framed_;
  QTimer poll_;
  int checksLeft_ = 0;
  bool firstShowOnly_;
  bool shown_ = false;
  QMargins last_;
};
