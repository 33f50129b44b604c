// The application object: the message loop, the processing of pending
// messages from inside a handler, and the catch around each message that
// shows an exception and lets the loop go on.
#pragma once

#include <QApplication>
#include <QFont>

namespace platform {
class Dialogs;
}

class Application : public QApplication {
 public:
  Application(int& argc, char** argv);

  // The box that shows exceptions; none: they are written to stderr.
  void SetDialogs(platform::Dialogs* dialogs) { dialogs_ = dialogs; }
  void ShowException(const char* message);

  bool notify(QObject* receiver, QEvent* event) override;

  // Handles every message waiting now, then returns.
  static void ProcessMessages();

 private:
  platform::Dialogs* dialogs_ = nullptr;
};

inline constexpr const char* kApplicationTitle = "Standora";

// The Qt platform to run on, given the user's choice (QT_QPA_PLATFORM) and
// the X display (DISPLAY); empty: Qt's own choice. The tracking window is
// placed beside the main window, which Wayland does not let a program do,
// so with an X display at hand (XWayland included) the program runs on X;
// a platform the user chose always wins.
QByteArray PlatformFor(const QByteArray& chosen, const QByteArray& display);

// The windows' font: a sans-serif face at 11 pixels, the size their fixed
// layouts were drawn for.
QFont WindowFont();

// The font of the message panel's lines: the narrow cut of the windows'
// face, in which the longest value of every field fits its fixed width.
QFont PanelFont();
