// Draws and edits the cells of the tracking list. A cell's text is drawn
// once into an image of its own and then copied from a cache (a log of
// hellos repeats the same few texts), so a frame of the list costs no text
// layout and no glyph drawing for texts seen before. The selected row, and
// a text wider than its column, are drawn the standard way (the latter
// elided with a visible mark). Only the time stamp can be edited in place.
#pragma once

#include <QFont>
#include <QPixmap>
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

  // Texts held drawn at the moment (for tests of the bound).
  std::size_t cached() const { return cache_.size(); }

 private:
  // `bytes` drawn as an unselected cell of `option`'s look.
  const QPixmap& Drawn(const std::string& bytes,
                       const QStyleOptionViewItem& option) const;

  // Draws printable ASCII `bytes` from the images of its characters; false
  // (nothing drawn) for other bytes or a text wider than `room`.
  bool DrawCharacters(QPainter* painter, const std::string& bytes,
                      const QStyleOptionViewItem& option,
                      const QRect& room) const;

  const TrackingModel& model_;
  // Every row has the height of one line, measured once.
  mutable QSize lineSize_;
  // What the cached images were drawn with.
  struct Look {
    QFont font;
    QRgb text = 0, base = 0;
    int height = 0;
    qreal ratio = 0;
    bool operator==(const Look& o) const {
      return text == o.text && base == o.base && height == o.height &&
             ratio == o.ratio && font == o.font;
    }
  };
  mutable Look look_;
  mutable std::unordered_map<std::string, QPixmap> cache_;
};
