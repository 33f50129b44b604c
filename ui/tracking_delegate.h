// Draws and edits the cells of the tracking list. Cell texts are laid out
// once and drawn from a cache (a log of hellos repeats the same few texts),
// so a frame of the list costs no text layout for rows seen before; a text
// wider than its column is drawn the standard way, elided with a visible
// mark. Only the time stamp can be edited in place.
#pragma once

#include <QFont>
#include <QStaticText>
#include <QStyledItemDelegate>
#include <string>
#include <unordered_map>

class TrackingModel;

class TrackingDelegate : public QStyledItemDelegate {
 public:
  TrackingDelegate(const TrackingModel& model, QObject* parent);

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;

  // Laid-out texts held at the moment (for tests of the bound).
  std::size_t cached() const { return cache_.size(); }

 private:
  const QStaticText& Laid(const std::string& bytes, const QFont& font) const;

  const TrackingModel& model_;
  // Every row has the height of one line, measured once.
  mutable QSize lineSize_;
  mutable QFont font_;
  mutable std::unordered_map<std::string, QStaticText> cache_;
};
