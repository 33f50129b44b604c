#include "tracking_view.h"

#include <QAccessible>
#include <QHeaderView>
#include <QItemSelectionModel>

void TrackingView::drawRow(QPainter* painter,
                           const QStyleOptionViewItem& option,
                           const QModelIndex& index) const {
  if (index.row() == currentIndex().row() ||
      selectionModel()->isRowSelected(index.row(), index.parent())) {
    QTreeView::drawRow(painter, option, index);
    return;
  }
  QStyleOptionViewItem cell(option);
  const QHeaderView* columns = header();
  const int count = model()->columnCount(index.parent());
  for (int c = 0; c < count; ++c) {
    if (columns->isSectionHidden(c)) continue;
    cell.rect = QRect(columns->sectionViewportPosition(c), option.rect.y(),
                      columns->sectionSize(c), option.rect.height());
    const QModelIndex at = model()->index(index.row(), c, index.parent());
    cell.index = at;
    itemDelegateForIndex(at)->paint(painter, cell, at);
  }
}

void TrackingView::dataChanged(const QModelIndex& topLeft,
                               const QModelIndex& bottomRight,
                               const QList<int>& roles) {
  const int rows = model()->rowCount(topLeft.parent());
  const int columns = model()->columnCount(topLeft.parent());
  const bool everything = topLeft.row() == 0 && topLeft.column() == 0 &&
                          bottomRight.row() == rows - 1 &&
                          bottomRight.column() == columns - 1;
  if (!everything || state() == QAbstractItemView::EditingState) {
    QTreeView::dataChanged(topLeft, bottomRight, roles);
    return;
  }
  viewport()->update();
  if (QAccessible::isActive()) {
    QAccessibleTableModelChangeEvent event(
        this, QAccessibleTableModelChangeEvent::DataChanged);
    event.setFirstRow(0);
    event.setLastRow(rows - 1);
    event.setFirstColumn(0);
    event.setLastColumn(columns - 1);
    QAccessible::updateAccessibility(&event);
  }
}
