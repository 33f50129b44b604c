// The message tracking window: the time-stamped log of reported messages,
// one row each, newest at the bottom, shown beside the main window on demand.
#pragma once

#include <QPointer>
#include <QWidget>

#include "monitor_state.h"

class FramePacer;
class QTreeView;
class TrackingModel;

class TfrmTracking : public QWidget {
 public:
  // Shows the rows of `state`, which the main window holds.
  explicit TfrmTracking(standora::MonitorState& state,
                        QWidget* parent = nullptr);
  ~TfrmTracking() override;

  QTreeView* lvState;

  // The list's update bracket: the rows may change in between; the list is
  // brought up to date when the outermost bracket closes, at most once a
  // frame: rows that come faster than a screen shows them are added
  // together in the next frame, and the newest is scrolled fully into view.
  void BeginUpdate();
  void EndUpdate();
  // Row changes have yet to be shown.
  bool framePending() const;
  // Mirror what HandleDatagram did to the rows.
  void RemoveTopRow();
  void AppendRow();
  // The rows were all removed.
  void ClearList();
  // Puts this window against `main`'s right edge, top to top, and shows it
  // in front.
  void ShowBeside(QWidget* main);

 protected:
  void closeEvent(QCloseEvent* e) override;  // FormClose

 private:
  void ShowRows();
  void KeepSizeAndPlace();
  // Where this window goes beside `main`: against its right edge, top to
  // top.
  static QPoint PlaceBeside(const QWidget* main);
  void ScrollToNewest();

  TrackingModel* model_;
  FramePacer* pacer_;
  QPointer<QWidget> beside_;  // the window this one was last shown beside
  int brackets_ = 0;
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
