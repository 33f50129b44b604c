// Shows both windows holding data from a scripted segment and saves the
// screen: `screenshot FILE.png`. Run under a real X server (Xvfb).
#include <QCheckBox>
#include <QScreen>
#include <QTimer>

#include "Details_dlg.h"
#include "Main.h"
#include "address.h"
#include "application.h"
#include "fake_dialogs.h"
#include "fake_message_boxes.h"
#include "fake_socket_layer.h"

using namespace testing_support;

namespace {

std::vector<std::uint8_t> Hello(std::uint8_t state, std::uint8_t prio,
                                std::uint8_t group, const std::string& auth) {
  std::vector<std::uint8_t> b(20, 0);
  b[2] = state;
  b[3] = 3;
  b[4] = 10;
  b[5] = prio;
  b[6] = group;
  for (std::size_t i = 0; i < auth.size() && i < 8; ++i) {
    b[8 + i] = static_cast<std::uint8_t>(auth[i]);
  }
  b[16] = 10;
  b[17] = 1;
  b[18] = group;
  b[19] = 254;
  return b;
}

}  // namespace

int main(int argc, char** argv) {
  Application app(argc, argv);
  if (argc != 2) return 2;
  FakeSocketLayer sockets;
  sockets.SetHostAddresses({"10.1.1.5", "192.168.10.5"});
  FakeMessageBoxes boxes;
  FakeDialogs dialogs;
  FakeShell shell;
  TfrmMain main(Services{sockets, boxes, dialogs, shell});
  frmMain = &main;
  TfrmTracking tracking;
  frmTracking = &tracking;
  main.show();
  main.move(40, 40);
  main.CheckBox1->setChecked(true);
  main.btnStartClick();

  const std::uint32_t r1 = platform::InetAddr("10.1.1.2");
  const std::uint32_t r2 = platform::InetAddr("10.1.1.3");
  sockets.Deliver(Hello(4, 110, 1, "cisco"), r1);
  sockets.Deliver(Hello(4, 100, 1, "cisco"), r2);
  sockets.Deliver(Hello(8, 100, 1, "cisco"), r2);
  sockets.Deliver(Hello(16, 110, 1, "cisco"), r1);
  sockets.Deliver(Hello(0, 90, 2, "s&p\x07"), platform::InetAddr("10.1.2.9"));
  sockets.Deliver(Hello(8, 100, 1, "cisco"), r2);
  sockets.Deliver(Hello(16, 110, 1, "cisco"), r1);

  QTimer::singleShot(1500, &app, [&] {
    const QPixmap shot =
        main.screen()->grabWindow(0, 0, 0, 40 + 260 + 650, 40 + 400);
    shot.save(QString::fromLocal8Bit(argv[1]));
    main.btnStopClick();
    app.quit();
  });
  return app.exec();
}
