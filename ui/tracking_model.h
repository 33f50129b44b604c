// The tracking log as a table for Qt's views: a view of the monitoring
// state's own rows, no copy of them. Row changes are told to the views in
// one batch (Publish), however many datagrams came since the last one; in
// between, the views keep seeing the rows they were told of, each still at
// its place, and a row trimmed since shows as empty.
#pragma once

#include <QAbstractTableModel>
#include <cstddef>

#include "monitor_state.h"

class TrackingModel : public QAbstractTableModel {
 public:
  TrackingModel(standora::MonitorState& state, QObject* parent = nullptr);

  // Mirrors what HandleDatagram did to the rows; told to views at Publish.
  void RowRemovedAtTop() { ++removedSince_; }
  void RowAppended() { ++appendedSince_; }
  // Tells the views of the rows removed and appended since the last time.
  // True when rows were appended. With `inPlace`, a full log that lost as
  // many rows at the top as it gained at the bottom is told as new contents
  // of the same rows (cheap for a view: no new layout); a view that follows
  // rows with a selection or an editor must be told of removals.
  bool Publish(bool inPlace);
  // Row changes wait to be told.
  bool pending() const { return removedSince_ != 0 || appendedSince_ != 0; }
  // The rows were cleared (or replaced wholesale): the views start over.
  void Reset();

  // The row of the monitoring state that view row `row` shows; -1 when that
  // row has been trimmed since the views were told of it.
  long SourceRow(int row) const;
  // The text of a cell as the monitoring state holds it; null when empty.
  const std::string* Cell(int row, int column) const;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value,
               int role) override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  standora::MonitorState& state_;
  int shown_ = 0;  // rows the views were told of
  std::size_t removedSince_ = 0;
  std::size_t appendedSince_ = 0;
};
