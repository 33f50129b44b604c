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

void TrackingDelegate::FollowLook(const QStyleOptionViewItem& option) const {
  const QPalette::ColorGroup group = (option.state & QStyle::State_Active)
                                         ? QPalette::Normal
                                         : QPalette::Inactive;
  const qreal ratio =
      option.widget != nullptr ? option.widget->devicePixelRatioF() : 1.0;
  const QRgb text = option.palette.color(group, QPalette::Text).rgba();
  const QRgb base = option.palette.color(group, QPalette::Base).rgba();
  const int height = option.rect.height();
  if (look_.ready && text == look_.text && base == look_.base &&
      height == look_.height && ratio == look_.ratio &&
      (option.font.isCopyOf(look_.font) || option.font == look_.font)) {
    return;
  }
  look_.font = option.font;
  look_.text = text;
  look_.base = base;
  look_.height = height;
  look_.ratio = ratio;
  look_.ready = true;
  const QWidget* widget = option.widget;
  const QStyle* style =
      widget != nullptr ? widget->style() : QApplication::style();
  look_.margin =
      style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
  const QFontMetricsF metrics(option.font);
  for (int c = 0; c < kCharacters; ++c) {
    look_.advance[c] = metrics.horizontalAdvance(QLatin1Char(char(' ' + c)));
    look_.character[c] = QPixmap();
  }
  cache_.clear();
}

QPixmap TrackingDelegate::Draw(const QString& text) const {
  const QSize size(QFontMetrics(look_.font).horizontalAdvance(text),
                   look_.height);
  QPixmap image(size * look_.ratio);
  image.setDevicePixelRatio(look_.ratio);
  image.fill(QColor::fromRgba(look_.base));
  QPainter p(&image);
  p.setFont(look_.font);
  p.setPen(QColor::fromRgba(look_.text));
  p.drawText(QRect(QPoint(0, 0), size), Qt::AlignLeft | Qt::AlignVCenter, text);
  p.end();
  return image;
}

const QPixmap& TrackingDelegate::Drawn(const std::string& bytes) const {
  auto it = cache_.find(bytes);
  if (it != cache_.end()) return it->second;
  if (cache_.size() >= kMostCached) cache_.clear();
  return cache_.emplace(bytes, Draw(DisplayText(bytes))).first->second;
}

void TrackingDelegate::paint(QPainter* painter,
                             const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
  if (option.state & QStyle::State_Selected) {
    QStyledItemDelegate::paint(painter, option, index);
    return;
  }
  const std::string* bytes = model_.Cell(index.row(), index.column());
  if (bytes == nullptr || bytes->empty()) return;
  FollowLook(option);
  const QRect room = option.rect.adjusted(look_.margin, 0, -look_.margin, 0);
  if (index.column() == 0 && DrawCharacters(painter, *bytes, room)) return;
  const QPixmap& image = Drawn(*bytes);
  if (image.deviceIndependentSize().width() > room.width()) {
    // Does not fit: the standard drawing, which marks the cut.
    QStyledItemDelegate::paint(painter, option, index);
    return;
  }
  painter->drawPixmap(room.topLeft(), image);
}

bool TrackingDelegate::DrawCharacters(QPainter* painter,
                                      const std::string& bytes,
                                      const QRect& room) const {
  // Time stamps are new with every row, and in a flood each is shown in one
  // frame only: they are put together from their characters' images, each
  // at the place text layout gives it (no kerning among these characters).
  qreal width = 0;
  for (const char c : bytes) {
    if (c < ' ' || c > '~') return false;
    width += look_.advance[c - ' '];
  }
  if (width > room.width()) return false;
  qreal x = room.left();
  for (const char c : bytes) {
    QPixmap& image = look_.character[c - ' '];
    if (image.isNull()) image = Draw(QString(QLatin1Char(c)));
    painter->drawPixmap(QPointF(std::round(x), room.top()), image);
    x += look_.advance[c - ' '];
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
