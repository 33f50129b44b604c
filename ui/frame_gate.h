// Lets a widget redraw at most once a frame. Changes made between Hold()
// and Release() are drawn at once if the widget has not been drawn for a
// frame, otherwise together with whatever else changed, when the frame is
// over. What the user sees is the same; the work of drawing every datagram
// in a flood is not done.
#pragma once

#include <QList>
#include <QObject>
#include <QTimer>

class QWidget;

class FrameGate : public QObject {
 public:
  // `targets` are child widgets (a window's own top-level surface is not
  // gated: it must stay free to answer the window system's exposures).
  FrameGate(QObject* parent, QList<QWidget*> targets);

  // Brackets nest; only the outermost pair counts.
  void Hold();
  void Release();

 private:
  void FrameOver();
  void Enable(bool on);

  QList<QWidget*> targets_;
  QTimer frame_;
  int holds_ = 0;
  bool waiting_ = false;
};

// Holds a gate for one scope.
class GateHold {
 public:
  explicit GateHold(FrameGate& gate) : gate_(gate) { gate_.Hold(); }
  ~GateHold() { gate_.Release(); }
  GateHold(const GateHold&) = delete;
  GateHold& operator=(const GateHold&) = delete;

 private:
  FrameGate& gate_;
};
