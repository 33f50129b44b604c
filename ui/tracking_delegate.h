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

 private:
  static constexpr int kCharacters = '~' - ' ' + 1;  // printable ASCII

  // Takes the look of `option`; what was drawn in another look is dropped.
  void FollowLook(const QStyleOptionViewItem& option) const;
  // `text` drawn as an unselected cell in the current look.
  QPixmap Draw(const QString& text) const;
  // `bytes` drawn, from the cache where it is.
  const QPixmap& Drawn(const std::string& bytes) const;
  // Draws printable ASCII `bytes` from the images of its characters; false
  // (nothing drawn) for other bytes or a text wider than `room`.
  bool DrawCharacters(QPainter* painter, const std::string& bytes,
                      const QRect& room) const;

  const TrackingModel& model_;
  // Every row has the height of one line, measured once.
  mutable QSize lineSize_;
  // What the cached images are drawn with, and what follows from it.
  struct Look {
    QFont font;
    QRgb text = 0, base = 0;
    int height = 0;
    qreal ratio = 0;
    bool ready = false;
    int margin = 0;
    qreal advance[kCharacters] = {};
    QPixmap character[kCharacters];
  };
  mutable Look look_;
  mutable std::unordered_map<std::string, QPixmap> cache_;
};
