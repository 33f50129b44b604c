// Both windows as the program sets them up, over a given sockets layer and
// the test doubles of the other services; for tests and benchmarks.
#pragma once

#include <memory>

#include "Details_dlg.h"
#include "Main.h"
#include "fake_dialogs.h"
#include "fake_message_boxes.h"

namespace testing_support {

class Windows {
 public:
  // Shown; `clock` as the main window takes it (default: the local time).
  explicit Windows(
      platform::SocketLayer& sockets,
      std::function<platform::TimeOfDay()> clock = platform::LocalTimeOfDay);
  ~Windows();

  // Receive on 127.0.0.1 only: never on the machine's real interface.
  void ChooseLoopback();

  FakeMessageBoxes boxes;
  FakeDialogs dialogs;
  FakeShell shell;
  std::unique_ptr<TfrmMain> main;
  std::unique_ptr<TfrmTracking> tracking;
};

// Runs a Qt Test object under the program's own application object,
// headless unless QT_QPA_PLATFORM says otherwise.
int RunWindowTest(QObject& test, int argc, char** argv);

}  // namespace testing_support
