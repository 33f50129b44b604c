#include "Main.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QThread>
#include <algorithm>

#include "Details_dlg.h"
#include "application.h"
#include "combo_interface_box.h"
#include "display_text.h"
#include "frame_pacer.h"
#include "frame_watch.h"
#include "hint_bar.h"
#include "link_label.h"
#include "socket_notify_event.h"
#include "version_info.h"

TfrmMain* frmMain = nullptr;

namespace {

constexpr int kClientWidth = 258;
constexpr int kClientHeight = 286;
constexpr int kStatusHeight = 19;
constexpr int kFieldIndent = 2;        // text to frame, in a panel field
constexpr int kSmallestFieldFont = 6;  // pixels

// Shows `text` whole in `field`: in the panel's font when it fits, else in
// the largest smaller size that does, never cut.
void ShowWhole(QLabel* field, const QString& text) {
  QFont font = PanelFont();
  const int room = field->contentsRect().width() - kFieldIndent;
  while (font.pixelSize() > kSmallestFieldFont &&
         QFontMetrics(font).horizontalAdvance(text) > room) {
    font.setPixelSize(font.pixelSize() - 1);
  }
  if (field->font() != font) field->setFont(font);
  field->setText(text);
}

}  // namespace

TfrmMain::TfrmMain(Services services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      services_(std::move(services)),
      listener_(services_.sockets, services_.boxes, services_.clock),
      interfaces_(services_.sockets) {
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(QStringLiteral("Standora"));
  setFixedSize(kClientWidth, kClientHeight);
  setFont(WindowFont());
  QPalette p = palette();
  p.setColor(QPalette::Window, p.color(QPalette::Button));
  setPalette(p);
  setAutoFillBackground(true);

  BuildControls();
  FormCreate();
}

TfrmMain::~TfrmMain() {
  if (frmMain == this) frmMain = nullptr;
}

void TfrmMain::BuildControls() {
  auto label = [this](const char* name, const char* caption, int x, int y) {
    auto* l = new QLabel(QString::fromLatin1(caption), this);
    l->setObjectName(QString::fromLatin1(name));
    l->move(x, y);
    l->adjustSize();
    return l;
  };
  auto staticText = [this](const char* name, const char* hint, int y) {
    auto* t = new QLabel(this);
    t->setObjectName(QString::fromLatin1(name));
    t->setFont(PanelFont());
    t->setGeometry(64, y, 81, 17);
    t->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    t->setIndent(kFieldIndent);
    // Network data is shown as it is: no markup, no mnemonics.
    t->setTextFormat(Qt::PlainText);
    t->setFocusPolicy(Qt::NoFocus);
    SetHint(t, QString::fromLatin1(hint));
    return t;
  };
  auto button = [this](const char* name, const char* caption, int y,
                       const char* hint) {
    auto* b = new QPushButton(QString::fromLatin1(caption), this);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(162, y, 85, 25);
    SetHint(b, QString::fromLatin1(hint));
    return b;
  };

  Interface = label("Interface", "Interface", 8, 12);
  cbxIf = new QComboBox(this);
  cbxIf->setObjectName(QStringLiteral("cbxIf"));
  cbxIf->setGeometry(64, 8, 185, 21);
  cbxIf->setEditable(false);
  SetHint(cbxIf,
          QStringLiteral("Computer's interface which shall receive messages"));

  // The message panel: a label and a sunken field on each line.
  const struct {
    QLabel* TfrmMain::*label;
    const char* labelName;
    const char* caption;
    QLabel* TfrmMain::*field;
    const char* fieldName;
    const char* hint;
    int y;
  } panel[] = {
      {&TfrmMain::Label3, "Label3", "Msg.Count", &TfrmMain::stCycle, "stCycle",
       "Received HSRP messages counter", 40},
      {&TfrmMain::Label5, "Label5", "Source", &TfrmMain::stSource, "stSource",
       "Source IP of message sending router", 64},
      {&TfrmMain::Label4, "Label4", "State", &TfrmMain::stState, "stState",
       "HSRP state", 88},
      {&TfrmMain::Label9, "Label9", "Hello", &TfrmMain::stHello, "stHello",
       "Hello timer", 112},
      {&TfrmMain::Label10, "Label10", "Hold", &TfrmMain::stHold, "stHold",
       "Hold timer", 136},
      {&TfrmMain::Label13, "Label13", "Priority", &TfrmMain::stPrio, "stPrio",
       "Router's HSRP priority", 160},
      {&TfrmMain::Label11, "Label11", "Group", &TfrmMain::stGroup, "stGroup",
       "HSRP standby group", 184},
      {&TfrmMain::Label12, "Label12", "Auth", &TfrmMain::stAuth, "stAuth",
       "Authentication string", 208},
      {&TfrmMain::Label2, "Label2", "Virtual IP", &TfrmMain::stVIP, "stVIP",
       "HSRP group's virtual IP address", 232},
  };
  for (const auto& line : panel) {
    QLabel* caption = label(line.labelName, line.caption, 8, line.y);
    caption->setFont(PanelFont());
    caption->adjustSize();
    this->*line.label = caption;
    this->*line.field = staticText(line.fieldName, line.hint, line.y);
  }

  GroupBox1 = new QGroupBox(QStringLiteral("Reporting"), this);
  GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
  GroupBox1->setGeometry(161, 40, 85, 89);
  SetHint(GroupBox1, QStringLiteral("Select what messages shall be reported"));
  auto radio = [this](const char* name, const char* caption, int y) {
    auto* r = new QRadioButton(QString::fromLatin1(caption), GroupBox1);
    r->setObjectName(QString::fromLatin1(name));
    r->setGeometry(8, y, 65, 17);
    return r;
  };
  rbBoth = radio("rbBoth", "Both", 24);
  rbStandby = radio("rbStandby", "Standby", 44);
  rbActive = radio("rbActive", "Active", 64);
  rbBoth->setChecked(true);

  CheckBox1 = new QCheckBox(QStringLiteral("Show List"), this);
  CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
  CheckBox1->setGeometry(169, 136, 73, 17);
  SetHint(CheckBox1, QStringLiteral("Show detailed message tracking"));

  btnStart = button("btnStart", "Start", 161, "Start message reception");
  btnStop = button("btnStop", "Stop", 193, "Stop message reception");
  btnClose = button("btnClose", "Close", 225, "Close Standora");
  btnStop->setEnabled(false);

  Label6 = label("Label6",
                 (std::string("Standora ") + version_info::kAboutVersion +
                  " - freeware by")
                     .c_str(),
                 4, 252);
  Label7 = new LinkLabel(this);
  Label7->setObjectName(QStringLiteral("Label7"));
  Label7->setText(QString::fromLatin1(version_info::kCompanyName));
  Label7->move(167, 252);
  Label7->adjustSize();
  SetHint(Label7, QStringLiteral("Browse to author's website"));
  Label8 = label("Label8", "2026", 230, 252);

  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->setSizeGripEnabled(false);
  StatusBar1->setGeometry(0, kClientHeight - kStatusHeight, kClientWidth,
                          kStatusHeight);
  new HintBar(this, StatusBar1);  // owned by the window
  panelPacer_ = new FramePacer(this, [this] { SetPanelFields(); });
  new FrameWatch(
      this, [this] { Centre(); }, /*firstShowOnly=*/true);

  // Tab visits the interface box, Start, Stop, Close, the checked radio
  // button and Show List; nothing else takes the focus.
  for (QLabel* l : findChildren<QLabel*>()) l->setFocusPolicy(Qt::NoFocus);
  GroupBox1->setFocusPolicy(Qt::NoFocus);
  StatusBar1->setFocusPolicy(Qt::NoFocus);
  setTabOrder(cbxIf, btnStart);
  setTabOrder(btnStart, btnStop);
  setTabOrder(btnStop, btnClose);
  setTabOrder(btnClose, rbActive);
  setTabOrder(rbActive, rbStandby);
  setTabOrder(rbStandby, rbBoth);
  setTabOrder(rbBoth, CheckBox1);
  UpdateRadioTabStops();

  for (QWidget* w : findChildren<QWidget*>()) w->setMouseTracking(true);
  setMouseTracking(true);

  connect(btnStart, &QPushButton::clicked, this, [this] { btnStartClick(); });
  connect(btnStop, &QPushButton::clicked, this, [this] { btnStopClick(); });
  connect(btnClose, &QPushButton::clicked, this, [this] { btnCloseClick(); });
  for (QRadioButton* r : {rbBoth, rbStandby, rbActive}) {
    connect(r, &QRadioButton::toggled, this, [this](bool checked) {
      UpdateRadioTabStops();
      if (checked) rbClick();
    });
  }
  connect(CheckBox1, &QCheckBox::toggled, this, [this] { CheckBox1Click(); });
  Label7->onClick = [this] { Label7Click(); };
}

void TfrmMain::UpdateRadioTabStops() {
  for (QRadioButton* r : {rbBoth, rbStandby, rbActive}) {
    r->setFocusPolicy(r->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
  }
}

void TfrmMain::FormCreate() {
  ComboInterfaceBox box(cbxIf);
  interfaces_.FillInterfaceList(box);
}

void TfrmMain::Centre() {
  // Centred by its frame, again once the window manager has framed it;
  // only after the first show.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
}

void TfrmMain::SetReceiving(bool receiving) {
  btnStart->setEnabled(!receiving);
  btnStop->setEnabled(receiving);
  cbxIf->setEnabled(!receiving && interfaces_.IfSelectable);
}

void TfrmMain::ShowPanel(bool now) {
  if (now) {
    panelPacer_->ShowNow();
  } else {
    panelPacer_->Changed();
  }
}

bool TfrmMain::framePending() const {
  return panelPacer_->waiting() ||
         (frmTracking != nullptr && frmTracking->framePending());
}

void TfrmMain::SetPanelFields() {
  const standora::PanelTexts& p = monitor_.panel();
  const std::pair<QLabel*, const std::string*> fields[] = {
      {stCycle, &p.stCycle}, {stSource, &p.stSource}, {stState, &p.stState},
      {stHello, &p.stHello}, {stHold, &p.stHold},     {stPrio, &p.stPrio},
      {stGroup, &p.stGroup}, {stAuth, &p.stAuth},     {stVIP, &p.stVIP},
  };
  for (const auto& [field, text] : fields) {
    const QString shown = DisplayText(*text);
    // An unchanged text costs no redraw and no accessibility event.
    if (field->text() != shown) ShowWhole(field, shown);
  }
}

void TfrmMain::btnStartClick() {
  monitor_.ClearPanel();
  ShowPanel(true);
  {
    UpdateBracket bracket(frmTracking);
    monitor_.ClearRows();
    if (frmTracking != nullptr) frmTracking->ClearList();
  }
  SetReceiving(true);
  listener_.StartReception(cbxIf->currentText().toStdString(), this);
}

void TfrmMain::StopSequence() {
  listener_.StopReception();
  monitor_.ResetCounter();
  SetReceiving(false);
}

void TfrmMain::btnStopClick() { StopSequence(); }

void TfrmMain::btnCloseClick() { close(); }

void TfrmMain::closeEvent(QCloseEvent* e) {
  if (listener_.ListenSocket != 0) StopSequence();
  e->accept();
}

void TfrmMain::rbClick() {
  const standora::ReportMode mode =
      rbActive->isChecked()    ? standora::ReportMode::Active
      : rbStandby->isChecked() ? standora::ReportMode::Standby
                               : standora::ReportMode::Both;
  monitor_.SetMode(mode);
  ShowPanel(true);
}

void TfrmMain::CheckBox1Click() {
  if (frmTracking == nullptr) return;
  if (CheckBox1->isChecked()) {
    frmTracking->ShowBeside(this);
  } else {
    frmTracking->close();
  }
}

void TfrmMain::Label7Click() {
  const std::intptr_t result = services_.shell.ShellExecute(
      this, "open", version_info::kMakerPage, "", "", platform::SW_SHOWNORMAL);
  if (result <= 32)
    services_.dialogs.ShowMessage("Unable to start http client.");
}

bool TfrmMain::event(QEvent* e) {
  if (e->type() == static_cast<QEvent::Type>(standora::WM_SOCKET_NOTIFY)) {
    e->setAccepted(
        WMSocketNotify(static_cast<platform::SocketNotifyEvent*>(e)->socket()));
    return true;
  }
  return QWidget::event(e);
}

bool TfrmMain::WMSocketNotify(platform::Socket socket) {
  // The handler lets pending messages through before it returns. A
  // notification that comes then, on the same level of the event loop, is
  // left for the loop to offer again right after: in a flood, handlers
  // follow one another instead of piling up on the stack. One that comes
  // inside a box (a local event loop opened since, by this handler or by a
  // click it let through) is handled at once, so nothing waits while a box
  // is open.
  const int level = QThread::currentThread()->loopLevel();
  if (level == notifyLevel_) return false;

  struct Handling {
    TfrmMain* w;
    int outerLevel;
    Handling(TfrmMain* window, int level)
        : w(window), outerLevel(window->notifyLevel_) {
      w->notifyLevel_ = level;
      w->maxNotifyDepth_ = std::max(w->maxNotifyDepth_, ++w->notifyDepth_);
    }
    ~Handling() {
      --w->notifyDepth_;
      w->notifyLevel_ = outerLevel;
    }
  } handling(this, level);

  HandleNotification(socket);
  return true;
}

void TfrmMain::HandleNotification(platform::Socket socket) {
  // A notification of a socket closed or replaced meanwhile reads nothing.
  if (socket != listener_.ListenSocket) return;
  standora::ReceivedDatagram d;
  if (!listener_.ReadMessage(d)) return;

  standora::DatagramEffect effect;
  {
    UpdateBracket bracket(frmTracking);
    effect = monitor_.HandleDatagram(d.buffer.data(), d.length, d.source,
                                     d.timeStamp);
    if (frmTracking != nullptr) {
      if (effect.rowRemoved) frmTracking->RemoveTopRow();
      if (effect.reported) frmTracking->AppendRow();
    }
  }
  if (effect.reported) ShowPanel(false);

  Application::ProcessMessages();
}
