// The message tracking window: the time-stamped log of reported messages,
// one row each, newest at the bottom, shown beside the main window on demand.
#pragma once

#include <QWidget>

#include "monitor_state.h"

class FrameGate;
class QTreeWidget;

class TfrmTracking : public QWidget {
 public:
  explicit TfrmTracking(QWidget* parent = nullptr);
  ~TfrmTracking() override;

  QTreeWidget* lvState;

  // The list's update bracket: no redrawing in between; brackets nest. The
  // list is redrawn when the outermost bracket closes, at most once a
  // frame: rows that come faster than a screen shows them are drawn
  // together in the next frame.
  void BeginUpdate();
  void EndUpdate();
  void RemoveTopRow();
  // Appends the row at the bottom and scrolls it fully into view.
  void AppendRow(const standora::TrackingRow& row);
  void ClearList();
  // Puts this window against `main`'s right edge, top to top, and shows it
  // in front.
  void ShowBeside(QWidget* main);

 protected:
  void closeEvent(QCloseEvent* e) override;  // FormClose
  void showEvent(QShowEvent* e) override;

 private:
  FrameGate* gate_;
  bool sized_ = false;
  // Rows were appended while hidden: the newest is scrolled into view once
  // the list has its size.
  bool scrollPending_ = false;
};

// Opens the tracking list's update bracket for one scope, if there is a
// tracking window.
class UpdateBracket {
 public:
  explicit UpdateBracket(TfrmTracking* window) : window_(window) {
    if (window_ != nullptr) window_->BeginUpdate();
  }
  ~UpdateBracket() {
    if (window_ != nullptr) window_->EndUpdate();
  }
  UpdateBracket(const UpdateBracket&) = delete;
  UpdateBracket& operator=(const UpdateBracket&) = delete;

 private:
  TfrmTracking* window_;
};

extern TfrmTracking* frmTracking;
