#include "tracking_delegate.h"

#include <QApplication>
#include <QPainter>

#include "display_text.h"
#include "tracking_model.h"

namespace {

// Distinct texts kept laid out; a flood of random authentication strings
// starts the cache afresh rather than growing it.
constexpr std::size_t kMostCached = 4096;

}  // namespace

TrackingDelegate::TrackingDelegate(const TrackingModel& model, QObject* parent)
    : QStyledItemDelegate(parent), model_(model) {}

const QStaticText& TrackingDelegate::Laid(const std::string& bytes,
                                          const QFont& font) const {
  if (font != font_) {
    cache_.clear();
    font_ = font;
  }
  auto it = cache_.find(bytes);
  if (it == cache_.end()) {
    if (cache_.size() >= kMostCached) cache_.clear();
    QStaticText text(DisplayText(bytes));
    text.setTextFormat(Qt::PlainText);
    text.setPerformanceHint(QStaticText::AggressiveCaching);
    text.prepare(QTransform(), font);
    it = cache_.emplace(bytes, std::move(text)).first;
  }
  return it->second;
}

void TrackingDelegate::paint(QPainter* painter,
                             const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
  const QWidget* widget = option.widget;
  const QStyle* style =
      widget != nullptr ? widget->style() : QApplication::style();
  if (option.state & QStyle::State_Selected) {
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &option, painter,
                         widget);
  }
  const std::string* bytes = model_.Cell(index.row(), index.column());
  if (bytes == nullptr || bytes->empty()) return;
  const int margin =
      style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
  const QRect room = option.rect.adjusted(margin, 0, -margin, 0);
  const QStaticText& text = Laid(*bytes, option.font);
  const QSizeF size = text.size();
  if (size.width() > room.width()) {
    // Does not fit: the standard drawing, which marks the cut.
    QStyledItemDelegate::paint(painter, option, index);
    return;
  }
  const QPalette::ColorGroup group =
      !(option.state & QStyle::State_Enabled) ? QPalette::Disabled
      : (option.state & QStyle::State_Active) ? QPalette::Normal
                                              : QPalette::Inactive;
  const QPalette::ColorRole role = (option.state & QStyle::State_Selected)
                                       ? QPalette::HighlightedText
                                       : QPalette::Text;
  painter->save();
  painter->setFont(option.font);
  painter->setPen(option.palette.color(group, role));
  const qreal top = room.top() + (room.height() - size.height()) / 2;
  painter->drawStaticText(QPointF(room.left(), top), text);
  painter->restore();
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
