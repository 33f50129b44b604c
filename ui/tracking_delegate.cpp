#include "tracking_delegate.h"

#include <QApplication>
#include <QPainter>
#include <cmath>

#include "display_text.h"
#include "tracking_model.h"

namespace {

// Distinct texts kept drawn (a few KiB each): more than a log of real
// routers shows at once; a flood of random authentication strings starts
// the cache afresh rather than growing it.
constexpr std::size_t kMostCached = 256;

}  // namespace

TrackingDelegate::TrackingDelegate(const TrackingModel& model, QObject* parent)
    : QStyledItemDelegate(parent), model_(model) {}

const QPixmap& TrackingDelegate::Drawn(
    const std::string& bytes, const QStyleOptionViewItem& option) const {
  const QPalette::ColorGroup group = (option.state & QStyle::State_Active)
                                         ? QPalette::Normal
                                         : QPalette::Inactive;
  const qreal ratio =
      option.widget != nullptr ? option.widget->devicePixelRatioF() : 1.0;
  Look look{option.font, option.palette.color(group, QPalette::Text).rgba(),
            option.palette.color(group, QPalette::Base).rgba(),
            option.rect.height(), ratio};
  if (!(look == look_)) {
    cache_.clear();
    look_ = std::move(look);
  }
  auto it = cache_.find(bytes);
  if (it != cache_.end()) return it->second;
  if (cache_.size() >= kMostCached) cache_.clear();

  const QString text = DisplayText(bytes);
  const QFontMetrics metrics(option.font);
  const QSize size(metrics.horizontalAdvance(text), option.rect.height());
  QPixmap image(size * ratio);
  image.setDevicePixelRatio(ratio);
  image.fill(QColor::fromRgba(look_.base));
  QPainter p(&image);
  p.setFont(option.font);
  p.setPen(QColor::fromRgba(look_.text));
  p.drawText(QRect(QPoint(0, 0), size), Qt::AlignLeft | Qt::AlignVCenter, text);
  p.end();
  return cache_.emplace(bytes, std::move(image)).first->second;
}

void TrackingDelegate::paint(QPainter* painter,
                             const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
  const std::string* bytes = model_.Cell(index.row(), index.column());
  if (option.state & QStyle::State_Selected) {
    QStyledItemDelegate::paint(painter, option, index);
    return;
  }
  if (bytes == nullptr || bytes->empty()) return;
  const QWidget* widget = option.widget;
  const QStyle* style =
      widget != nullptr ? widget->style() : QApplication::style();
  const int margin =
      style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
  const QRect room = option.rect.adjusted(margin, 0, -margin, 0);
  if (index.column() == 0 && DrawCharacters(painter, *bytes, option, room)) {
    return;
  }
  const QPixmap& image = Drawn(*bytes, option);
  if (image.deviceIndependentSize().width() > room.width()) {
    // Does not fit: the standard drawing, which marks the cut.
    QStyledItemDelegate::paint(painter, option, index);
    return;
  }
  painter->drawPixmap(room.topLeft(), image);
}

bool TrackingDelegate::DrawCharacters(QPainter* painter,
                                      const std::string& bytes,
                                      const QStyleOptionViewItem& option,
                                      const QRect& room) const {
  // Time stamps are new with every row, and in a flood each is shown in one
  // frame only: they are put together from their characters' images, each
  // at the place text layout gives it (no kerning among these characters).
  for (const char c : bytes) {
    if (c < ' ' || c > '~') return false;
  }
  const QFontMetricsF metrics(option.font);
  qreal x = 0;
  std::string one(1, ' ');
  for (const char c : bytes) {
    x += metrics.horizontalAdvance(QLatin1Char(c));
  }
  if (x > room.width()) return false;
  x = 0;
  for (const char c : bytes) {
    one[0] = c;
    painter->drawPixmap(QPointF(room.left() + std::round(x), room.top()),
                        Drawn(one, option));
    x += metrics.horizontalAdvance(QLatin1Char(c));
  }
  return true;
}

QSize TrackingDelegate::sizeHint(const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
  if (!lineSize_.isValid()) {
    QStyleOptionViewItem line(option);
    initStyleOption(&line, index);
    line.text = QStringLiteral("0");  // cells may be empty
    const QStyle* style =
        line.widget != nullptr ? line.widget->style() : QApplication::style();
    lineSize_ = style->sizeFromContents(QStyle::CT_ItemViewItem, &line, QSize(),
                                        line.widget);
  }
  return lineSize_;
}

QWidget* TrackingDelegate::createEditor(QWidget* parent,
                                        const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const {
  if (index.column() != 0) return nullptr;
  return QStyledItemDelegate::createEditor(parent, option, index);
}
