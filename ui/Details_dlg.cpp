#include "Details_dlg.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLayout>
#include <QTreeView>
#include <QVBoxLayout>
#include <iterator>

#include "Main.h"
#include "application.h"
#include "frame_pacer.h"
#include "frame_watch.h"
#include "tracking_delegate.h"
#include "tracking_model.h"
#include "tracking_view.h"

TfrmTracking* frmTracking = nullptr;

namespace {

constexpr int kOuterWidth = 639;
constexpr int kOuterHeight = 373;

// The list's columns, left to right, and their widths.
constexpr int kColumnWidths[] = {75, 100, 60, 50, 50, 50, 50, 70, 100};

}  // namespace

TfrmTracking::TfrmTracking(standora::MonitorState& state, QWidget* parent)
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

  model_ = new TrackingModel(state, this);
  lvState = new TrackingView(this);
  lvState->setObjectName(QStringLiteral("lvState"));
  lvState->setRootIsDecorated(false);
  lvState->setItemsExpandable(false);
  lvState->setUniformRowHeights(true);
  lvState->setAllColumnsShowFocus(true);
  lvState->setSelectionMode(QAbstractItemView::SingleSelection);
  lvState->setSelectionBehavior(QAbstractItemView::SelectRows);
  lvState->setEditTriggers(QAbstractItemView::SelectedClicked);
  lvState->setSortingEnabled(false);
  lvState->setModel(model_);
  lvState->setItemDelegate(new TrackingDelegate(*model_, lvState));
  QHeaderView* header = lvState->header();
  header->setSectionsClickable(false);
  header->setSectionsMovable(false);
  header->setStretchLastSection(false);
  header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  for (int i = 0; i < static_cast<int>(std::size(kColumnWidths)); ++i) {
    lvState->setColumnWidth(i, kColumnWidths[i]);
  }
  // The selection shows only while the list has the focus.
  QPalette p = lvState->palette();
  p.setColor(QPalette::Inactive, QPalette::Highlight,
             p.color(QPalette::Inactive, QPalette::Base));
  p.setColor(QPalette::Inactive, QPalette::HighlightedText,
             p.color(QPalette::Inactive, QPalette::Text));
  lvState->setPalette(p);

  pacer_ = new FramePacer(this, [this] { ShowRows(); });
  new FrameWatch(this, [this] { KeepSizeAndPlace(); });

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(lvState);
}

TfrmTracking::~TfrmTracking() {
  if (frmTracking == this) frmTracking = nullptr;
}

void TfrmTracking::BeginUpdate() { ++brackets_; }

void TfrmTracking::EndUpdate() {
  if (brackets_ == 0 || --brackets_ != 0 || !model_->pending()) return;
  pacer_->Changed();
}

bool TfrmTracking::framePending() const {
  return model_->pending() || pacer_->waiting();
}

void TfrmTracking::RemoveTopRow() { model_->RowRemovedAtTop(); }

void TfrmTracking::AppendRow() { model_->RowAppended(); }

void TfrmTracking::ShowRows() {
  // A selected row (and the editor of its time stamp, which opens only on
  // the selected row) follows its message up the list.
  const bool inPlace = !lvState->selectionModel()->hasSelection();
  if (model_->Publish(inPlace)) ScrollToNewest();
}

void TfrmTracking::ScrollToNewest() {
  if (isVisible()) {
    lvState->scrollToBottom();
  } else {
    scrollPending_ = true;
  }
}

void TfrmTracking::ClearList() {
  model_->Reset();
  scrollPending_ = false;
}

void TfrmTracking::ShowBeside(QWidget* main) {
  beside_ = main;
  move(PlaceBeside(main));
  show();
  if (scrollPending_ && model_->rowCount() > 0) {
    scrollPending_ = false;
    // The list takes its size from the window's layout first.
    layout()->activate();
    lvState->scrollToBottom();
  }
  raise();
  activateWindow();
}
void TfrmTracking::KeepSizeAndPlace() {
  // The outer size includes the frame, which the window manager tells only
  // after the window is shown: the size is set again when it does. A
  // manager that placed the window by its own rules as it framed it is
  // overruled: the window sits against the main window's right edge.
  const QMargins frame = FrameWatch::FrameOf(this);
  const QSize client(kOuterWidth - frame.left() - frame.right(),
                     kOuterHeight - frame.top() - frame.bottom());
  if (size() != client) resize(client);
  if (beside_ != nullptr && pos() != PlaceBeside(beside_)) {
    move(PlaceBeside(beside_));
  }
}

QPoint TfrmTracking::PlaceBeside(const QWidget* main) {
  return {main->x() + main->frameGeometry().width(), main->y()};
}

void TfrmTracking::closeEvent(QCloseEvent* e) {
  // Closing only hides this window; Show List follows.
  e->accept();
  if (frmMain != nullptr) frmMain->CheckBox1->setChecked(false);
}
