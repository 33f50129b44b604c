#include "tracking_model.h"

#include <algorithm>
#include <iterator>

#include "display_text.h"

namespace {

constexpr const char* kHeaders[] = {"Time",  "Source IP", "State",
                                    "Hello", "Hold",      "Priority",
                                    "Group", "Authent.",  "Virtual IP"};
constexpr int kColumns = static_cast<int>(std::size(kHeaders));

}  // namespace

TrackingModel::TrackingModel(standora::MonitorState& state, QObject* parent)
    : QAbstractTableModel(parent), state_(state) {
  shown_ = static_cast<int>(state_.rows().size());
}

bool TrackingModel::Publish(bool inPlace) {
  if (removedSince_ == 0 && appendedSince_ == 0) return false;
  const int total = static_cast<int>(state_.rows().size());
  if (inPlace && total == shown_ && shown_ > 0 && appendedSince_ > 0) {
    removedSince_ = appendedSince_ = 0;
    emit dataChanged(index(0, 0), index(shown_ - 1, columnCount() - 1),
                     {Qt::DisplayRole});
    return true;
  }
  const int removed =
      static_cast<int>(std::min<std::size_t>(removedSince_, shown_));
  if (removed > 0) {
    beginRemoveRows(QModelIndex(), 0, removed - 1);
    shown_ -= removed;
    removedSince_ = 0;
    endRemoveRows();
  }
  // Any left were appended and trimmed again since: the views never saw them.
  removedSince_ = 0;
  const bool appended = total > shown_;
  if (appended) {
    beginInsertRows(QModelIndex(), shown_, total - 1);
    shown_ = total;
    endInsertRows();
  }
  appendedSince_ = 0;
  return appended;
}

void TrackingModel::Reset() {
  beginResetModel();
  shown_ = static_cast<int>(state_.rows().size());
  removedSince_ = appendedSince_ = 0;
  endResetModel();
}

long TrackingModel::SourceRow(int row) const {
  if (row < 0 || row >= shown_) return -1;
  const long source = static_cast<long>(row) - static_cast<long>(removedSince_);
  return source < 0 ? -1 : source;
}

const std::string* TrackingModel::Cell(int row, int column) const {
  const long source = SourceRow(row);
  if (source < 0 || column < 0 || column >= kColumns) return nullptr;
  const standora::TrackingRow& r =
      state_.rows()[static_cast<std::size_t>(source)];
  if (column == 0) return &r.caption;
  const auto sub = static_cast<std::size_t>(column - 1);
  return sub < r.subItems.size() ? &r.subItems[sub] : nullptr;
}

int TrackingModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : shown_;
}

int TrackingModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumns;
}

QVariant TrackingModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole && role != Qt::EditRole &&
      role != Qt::AccessibleTextRole) {
    return {};
  }
  const std::string* text = Cell(index.row(), index.column());
  return text == nullptr ? QString() : DisplayText(*text);
}

bool TrackingModel::setData(const QModelIndex& index, const QVariant& value,
                            int role) {
  if (role != Qt::EditRole || index.column() != 0) return false;
  const long source = SourceRow(index.row());
  if (source < 0) return false;
  if (!state_.EditCaption(static_cast<std::size_t>(source),
                          FromDisplayText(value.toString()))) {
    return false;
  }
  emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
  return true;
}

QVariant TrackingModel::headerData(int section, Qt::Orientation orientation,
                                   int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= kColumns) {
    return {};
  }
  if (role == Qt::DisplayRole) return QString::fromLatin1(kHeaders[section]);
  if (role == Qt::TextAlignmentRole) {
    return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
  }
  return {};
}

Qt::ItemFlags TrackingModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  // Only the time stamp can be edited in place.
  if (index.column() == 0 && SourceRow(index.row()) >= 0) {
    f |= Qt::ItemIsEditable;
  }
  return f;
}
