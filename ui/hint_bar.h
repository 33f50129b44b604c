// The status bar's automatic hint display: shows the hint of the control
// under the mouse pointer, or of the nearest control containing it that has
// one. Disabled controls count as the window's background, which has none;
// a control enabled or disabled under a still pointer changes what the bar
// shows at once. Hints live in each control's "hint" property and never pop
// up as tips.
#pragma once

#include <QObject>
#include <QPoint>
#include <QString>

class QStatusBar;
class QWidget;

// The hint the status bar shows with the pointer at `pos` in `window`.
QString HintAt(const QWidget* window, QPoint pos);

void SetHint(QWidget* control, const QString& hint);

class HintBar : public QObject {
 public:
  HintBar(QWidget* window, QStatusBar* bar);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowAt(QPoint globalPos);

  QWidget* window_;
  QStatusBar* bar_;
  // Where the pointer was last seen over the window, if it is there.
  bool pointerInside_ = false;
  QPoint pointer_;
};
