#include "windows.h"

#include <QComboBox>
#include <QTest>

#include "application.h"

namespace testing_support {

Windows::Windows(platform::SocketLayer& sockets,
                 std::function<platform::TimeOfDay()> clock) {
  main = std::make_unique<TfrmMain>(
      Services{sockets, boxes, dialogs, shell, std::move(clock)});
  frmMain = main.get();
  tracking = std::make_unique<TfrmTracking>(main->trackingRows());
  frmTracking = tracking.get();
  if (auto* app = dynamic_cast<Application*>(qApp)) app->SetDialogs(&dialogs);
  main->show();
}

Windows::~Windows() {
  if (auto* app = dynamic_cast<Application*>(qApp)) app->SetDialogs(nullptr);
  tracking.reset();
  main.reset();
}

void Windows::ChooseLoopback() {
  main->cbxIf->clear();
  main->cbxIf->addItem("127.0.0.1");
  main->cbxIf->setCurrentIndex(0);
}

int RunWindowTest(QObject& test, int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  Application app(argc, argv);
  return QTest::qExec(&test, argc, argv);
}

}  // namespace testing_support
