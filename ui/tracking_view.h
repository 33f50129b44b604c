// The tracking list's view: a tree view in report style whose rows, unless
// selected or current, are drawn cell by cell straight through the
// delegate, without the per-cell style work of the standard row drawing
// (which they would not show anyway: no alternating colours, no branches,
// no focus). The selected and the current row are drawn the standard way.
// New contents of every row at once (the full log moving on in place) ask
// for the whole list to be drawn again, without finding out row by row
// which of them are in view.
#pragma once

#include <QTreeView>

class TrackingView : public QTreeView {
 public:
  using QTreeView::QTreeView;

 protected:
  void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                   const QList<int>& roles) override;
  void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};
