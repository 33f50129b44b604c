#include "Details_dlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLayout>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "Main.h"
#include "application.h"
#include "display_text.h"
#include "frame_gate.h"

TfrmTracking* frmTracking = nullptr;

namespace {

constexpr int kOuterWidth = 639;
constexpr int kOuterHeight = 373;

struct Column {
  const char* header;
  int width;
};
constexpr Column kColumns[] = {
    {"Time", 75},  {"Source IP", 100}, {"State", 60},
    {"Hello", 50}, {"Hold", 50},       {"Priority", 50},
    {"Group", 50}, {"Authent.", 70},   {"Virtual IP", 100},
};

// Only the time stamp can be edited in place. Every row has the height of
// one line of text, measured once: laying out the text of each cell again
// whenever a row comes or goes would cost more than the rest of a datagram.
class CaptionOnlyDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override {
    if (index.column() != 0) return nullptr;
    return QStyledItemDelegate::createEditor(parent, option, index);
  }
  QSize sizeHint(const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override {
    if (!lineSize_.isValid()) {
      QStyleOptionViewItem line(option);
      initStyleOption(&line, index);
      line.text = QStringLiteral("0");  // cells may be empty
      const QStyle* style =
          line.widget != nullptr ? line.widget->style() : QApplication::style();
      lineSize_ = style->sizeFromContents(QStyle::CT_ItemViewItem, &line,
                                          QSize(), line.widget);
    }
    return lineSize_;
  }

 private:
  mutable QSize lineSize_;
};

}  // namespace

TfrmTracking::TfrmTracking(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("frmTracking"));
  setWindowTitle(QStringLiteral("Message Tracking "));
  // Closing the main window ends the program, whether or not this is open.
  setAttribute(Qt::WA_QuitOnClose, false);
  setFont(WindowFont());
  resize(kOuterWidth, kOuterHeight);
  move(439, 337);

  lvState = new QTreeWidget(this);
  lvState->setObjectName(QStringLiteral("lvState"));
  lvState->setRootIsDecorated(false);
  lvState->setItemsExpandable(false);
  lvState->setUniformRowHeights(true);
  lvState->setAllColumnsShowFocus(true);
  lvState->setSelectionMode(QAbstractItemView::SingleSelection);
  lvState->setSelectionBehavior(QAbstractItemView::SelectRows);
  lvState->setEditTriggers(QAbstractItemView::SelectedClicked);
  lvState->setItemDelegate(new CaptionOnlyDelegate(lvState));
  lvState->setSortingEnabled(false);
  lvState->setColumnCount(static_cast<int>(std::size(kColumns)));
  QStringList headers;
  for (const Column& c : kColumns) headers << QString::fromLatin1(c.header);
  lvState->setHeaderLabels(headers);
  QHeaderView* header = lvState->header();
  header->setSectionsClickable(false);
  header->setSectionsMovable(false);
  header->setStretchLastSection(false);
  header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
    lvState->setColumnWidth(i, kColumns[i].width);
  }
  // The selection shows only while the list has the focus.
  QPalette p = lvState->palette();
  p.setColor(QPalette::Inactive, QPalette::Highlight,
             p.color(QPalette::Inactive, QPalette::Base));
  p.setColor(QPalette::Inactive, QPalette::HighlightedText,
             p.color(QPalette::Inactive, QPalette::Text));
  lvState->setPalette(p);

  gate_ = new FrameGate(this, {lvState});

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(lvState);
}

TfrmTracking::~TfrmTracking() {
  if (frmTracking == this) frmTracking = nullptr;
}

void TfrmTracking::BeginUpdate() { gate_->Hold(); }

void TfrmTracking::EndUpdate() { gate_->Release(); }

void TfrmTracking::RemoveTopRow() { delete lvState->takeTopLevelItem(0); }

void TfrmTracking::AppendRow(const standora::TrackingRow& row) {
  auto* item = new QTreeWidgetItem();
  item->setFlags(item->flags() | Qt::ItemIsEditable);
  item->setText(0, DisplayText(row.caption));
  for (std::size_t i = 0; i < row.subItems.size(); ++i) {
    item->setText(static_cast<int>(i) + 1, DisplayText(row.subItems[i]));
  }
  lvState->addTopLevelItem(item);
  if (isVisible()) {
    lvState->scrollToItem(item, QAbstractItemView::EnsureVisible);
  } else {
    scrollPending_ = true;
  }
}

void TfrmTracking::ClearList() {
  lvState->clear();
  scrollPending_ = false;
}

void TfrmTracking::ShowBeside(QWidget* main) {
  move(main->x() + main->frameGeometry().width(), main->y());
  show();
  if (scrollPending_ && lvState->topLevelItemCount() > 0) {
    scrollPending_ = false;
    // The list takes its size from the window's layout first.
    layout()->activate();
    lvState->scrollToItem(
        lvState->topLevelItem(lvState->topLevelItemCount() - 1),
        QAbstractItemView::EnsureVisible);
  }
  raise();
  activateWindow();
}

void TfrmTracking::showEvent(QShowEvent* e) {
  if (!sized_) {
    // The outer size includes the frame, known once the window is shown.
    sized_ = true;
    const QSize frame = frameGeometry().size() - geometry().size();
    resize(kOuterWidth - frame.width(), kOuterHeight - frame.height());
  }
  QWidget::showEvent(e);
}

void TfrmTracking::closeEvent(QCloseEvent* e) {
  // Closing only hides this window; Show List follows.
  e->accept();
  if (frmMain != nullptr) frmMain->CheckBox1->setChecked(false);
}
