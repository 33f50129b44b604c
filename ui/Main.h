// The main window: interface choice, Start, Stop and Close, the panel of the
// latest reported message, the report filter, Show List and the status bar.
// It holds the monitoring state and receives the socket notifications.
#pragma once

#include <QWidget>
#include <functional>

#include "clock.h"
#include "dialogs.h"
#include "hsrp_listener.h"
#include "interface_list.h"
#include "message_box.h"
#include "monitor_state.h"
#include "shell.h"
#include "socket_layer.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QStatusBar;
class LinkLabel;
class FramePacer;

// The operating system's services the window works with.
struct Services {
  platform::SocketLayer& sockets;
  platform::MessageBoxes& boxes;
  platform::Dialogs& dialogs;
  platform::Shell& shell;
  std::function<platform::TimeOfDay()> clock = platform::LocalTimeOfDay;
};

class TfrmMain : public QWidget {
 public:
  explicit TfrmMain(Services services, QWidget* parent = nullptr);
  ~TfrmMain() override;

  // Controls, named as everywhere in the program.
  QLabel* Interface;
  QComboBox* cbxIf;
  QLabel *Label3, *Label5, *Label4, *Label9, *Label10, *Label13, *Label11,
      *Label12, *Label2;
  QLabel *stCycle, *stSource, *stState, *stHello, *stHold, *stPrio, *stGroup,
      *stAuth, *stVIP;
  QGroupBox* GroupBox1;
  QRadioButton *rbBoth, *rbStandby, *rbActive;
  QCheckBox* CheckBox1;
  QPushButton *btnStart, *btnStop, *btnClose;
  QLabel* Label6;
  LinkLabel* Label7;
  QLabel* Label8;
  QStatusBar* StatusBar1;

  // Handlers.
  void FormCreate();
  void btnStartClick();
  void btnStopClick();
  void btnCloseClick();
  void rbClick();
  void CheckBox1Click();
  void Label7Click();
  // True when the notification was taken; false when it came while this
  // handler was letting pending messages through, in which case it is
  // offered again once the handler has returned.
  bool WMSocketNotify(platform::Socket socket);

  const standora::MonitorState& monitor() const { return monitor_; }
  // The rows for the tracking window, which shows them and writes the
  // user's in-place edits of their time stamps into them.
  standora::MonitorState& trackingRows() { return monitor_; }
  const standora::HsrpListener& listener() const { return listener_; }
  const standora::InterfaceList& interfaces() const { return interfaces_; }
  // Something read has yet to be shown (it will be within a frame).
  bool framePending() const;
  // Deepest nesting of socket notification handlers seen so far.
  int maxNotifyDepth() const { return maxNotifyDepth_; }

 protected:
  bool event(QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  void BuildControls();
  void Centre();
  void SetReceiving(bool receiving);
  void StopSequence();
  // The nine fields follow the panel texts: at once (`now`, for the user's
  // own actions) or within the frame.
  void ShowPanel(bool now);
  void SetPanelFields();
  void UpdateRadioTabStops();
  void HandleNotification(platform::Socket socket);

  Services services_;
  standora::MonitorState monitor_;
  standora::HsrpListener listener_;
  standora::InterfaceList interfaces_;
  FramePacer* panelPacer_ = nullptr;

  // The event loop level at which a notification is being handled, -1
  // when none is.
  int notifyLevel_ = -1;
  int notifyDepth_ = 0;
  int maxNotifyDepth_ = 0;
};

extern TfrmMain* frmMain;
