// Receives HSRP datagrams on one interface address through the real sockets
// layer and lists their senders: `hsrp_probe ADDRESS COUNT`. Prints "ready"
// once listening, then one "from A.B.C.D LENGTH" line per datagram; stops a
// short while after COUNT datagrams, or after ten seconds at the latest.
#include <QCoreApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "address.h"
#include "hsrp_listener.h"
#include "linux_socket_layer.h"
#include "message_box.h"

namespace {

class PrintedBoxes : public platform::MessageBoxes {
 public:
  int MessageBox(QWidget*, const std::string& text, const std::string& caption,
                 unsigned) override {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    ++shown;
    return platform::IDOK;
  }
  int shown = 0;
};

class Window : public QObject {
 public:
  Window(standora::HsrpListener& listener, int expected)
      : listener_(listener), expected_(expected) {}

 protected:
  bool event(QEvent* e) override {
    if (e->type() != static_cast<QEvent::Type>(standora::WM_SOCKET_NOTIFY)) {
      return QObject::event(e);
    }
    standora::ReceivedDatagram d;
    if (listener_.ReadMessage(d)) {
      std::printf("from %s %zu\n", platform::InetNtoa(d.source).c_str(),
                  d.length);
      std::fflush(stdout);
      // Linger a little for anything that should not have come.
      if (++read_ == expected_)
        QTimer::singleShot(300, qApp, &QCoreApplication::quit);
    }
    return true;
  }

 private:
  standora::HsrpListener& listener_;
  int expected_;
  int read_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: hsrp_probe ADDRESS COUNT\n");
    return 2;
  }
  platform::LinuxSocketLayer layer;
  PrintedBoxes boxes;
  standora::HsrpListener listener(layer, boxes);
  Window window(listener, std::atoi(argv[2]));
  listener.StartReception(argv[1], &window);
  if (boxes.shown != 0) return 1;
  std::printf("ready\n");
  std::fflush(stdout);
  QTimer::singleShot(10000, &app, &QCoreApplication::quit);
  app.exec();
  listener.StopReception();
  return boxes.shown == 0 ? 0 : 1;
}
