// Shows both windows holding data from a scripted segment and saves the
// screen: `screenshot FILE.png`. Run under a real X server (Xvfb).
#include <QCheckBox>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <vector>

#include "address.h"
#include "application.h"
#include "fake_socket_layer.h"
#include "hello.h"
#include "windows.h"

using namespace testing_support;

int main(int argc, char** argv) {
  Application app(argc, argv);
  if (argc != 2) return 2;
  FakeSocketLayer sockets;
  sockets.SetHostAddresses({"10.1.1.5", "192.168.10.5"});
  Windows windows(sockets);
  TfrmMain& main = *windows.main;
  main.move(40, 40);
  main.CheckBox1->setChecked(true);
  main.btnStartClick();

  const std::uint32_t r1 = platform::InetAddr("10.1.1.2");
  const std::uint32_t r2 = platform::InetAddr("10.1.1.3");
  sockets.Deliver(MakeHello(4, 110, 1, "cisco"), r1);
  sockets.Deliver(MakeHello(4, 100, 1, "cisco"), r2);
  sockets.Deliver(MakeHello(8, 100, 1, "cisco"), r2);
  sockets.Deliver(MakeHello(16, 110, 1, "cisco"), r1);
  sockets.Deliver(MakeHello(0, 90, 2, "s&p\x07"),
                  platform::InetAddr("10.1.2.9"));
  sockets.Deliver(MakeHello(8, 100, 1, "cisco"), r2);
  sockets.Deliver(MakeHello(16, 110, 1, "cisco"), r1);
  // Bytes without a character of their own in Windows-1252, and the
  // longest value of every field, which the panel and the list show whole.
  sockets.Deliver(MakeHello(16, 110, 1, "\x80\x9F\xE4\x01\x09&&z"),
                  platform::InetAddr("192.168.100.254"));
  std::vector<std::uint8_t> longest = MakeHello(8, 255, 255, "WWWWWWWW");
  longest[3] = longest[4] = 255;
  std::fill(longest.begin() + 16, longest.end(), 255);
  sockets.Deliver(longest, platform::InetAddr("255.255.255.255"));

  QTimer::singleShot(1500, &app, [&] {
    const QPixmap shot =
        main.screen()->grabWindow(0, 0, 0, 40 + 260 + 650, 40 + 400);
    shot.save(QString::fromLocal8Bit(argv[1]));
    main.btnStopClick();
    app.quit();
  });
  return app.exec();
}
