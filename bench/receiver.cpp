// A receiver under measurement, on loopback, started once per trial:
//   receiver plain    a plain blocking recvfrom loop joined to 224.0.0.2 on lo;
//   receiver program  the program's two windows, shown, Show List ticked,
//                     receiving on 127.0.0.1 through its real event loop.
// Both block when idle. Each prints "ready" once it receives, and when no
// datagram has come for --idle-ms after the first (or --max-ms have passed)
// a result line:
//   received N cpu SECONDS [frames F paint_main_ms M paint_list_ms L
//   paint_list_p90_ms P draw_main_ms D draw_list_ms E]
//   [clicks C click_median_ms M click_p99_ms P]
// where cpu is the receiving thread's CPU time. With --clicks, another
// thread has a click on a panel field posted to the window's thread every
// 20 ms, and the time until the window gets it is measured. --frame-ms
// stretches the windows' frame for runs under valgrind.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "application.h"
// An earlier build of the program, measured beside this one, has no frame
// pacer to stretch.
#if __has_include("frame_pacer.h")
#include "frame_pacer.h"
#define STANDORA_HAS_FRAME_PACER 1
#endif
#include "linux_socket_layer.h"
#include "posted_click.h"
#include "windows.h"

namespace {

struct Options {
  int idleMs = 300;
  int maxMs = 60000;
  bool clicks = false;
  int frameMs = 0;
};

double ThreadCpu() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + t.tv_nsec / 1e9;
}

double Percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const auto i =
      static_cast<std::size_t>(p * static_cast<double>(v.size() - 1));
  return v[i];
}

int Plain(const Options& o) {
  const int fd = socket(AF_INET, SOCK_DGRAM, 0);
  const int on = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in any{};
  any.sin_family = AF_INET;
  any.sin_port = htons(1985);
  if (bind(fd, reinterpret_cast<sockaddr*>(&any), sizeof any) != 0) {
    std::perror("bind");
    return 1;
  }
  ip_mreq m{};
  m.imr_multiaddr.s_addr = inet_addr("224.0.0.2");
  m.imr_interface.s_addr = htonl(INADDR_LOOPBACK);
  setsockopt(fd, IPPROTO_IP, IP_ADD_MEMBERSHIP, &m, sizeof m);
  // The receive buffer the program's sockets ask for, so that both
  // receivers ride out the machine's pauses alike.
  const int buffer = 1 << 20;
  setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &buffer, sizeof buffer);
  timeval tick{0, 50000};
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tick, sizeof tick);
  std::printf("ready\n");
  std::fflush(stdout);
  const double cpu0 = ThreadCpu();
  QElapsedTimer since, quiet;
  since.start();
  quiet.start();
  long received = 0;
  char datagram[256];
  for (;;) {
    if (recv(fd, datagram, 255, 0) >= 0) {
      ++received;
      quiet.restart();
    } else if ((received > 0 && quiet.elapsed() >= o.idleMs) ||
               since.elapsed() >= o.maxMs) {
      break;
    }
  }
  std::printf("received %ld cpu %.6f\n", received, ThreadCpu() - cpu0);
  close(fd);
  return 0;
}

// Times the repaint of each top-level window (all its changed widgets
// painted and the result handed to the window system), and the drawing in
// it.
class BenchApp : public Application {
 public:
  using Application::Application;
  // Per repaint of each window: all of it, and the drawing alone (its
  // widgets' paint events, without handing the image to the window
  // system).
  std::vector<double> mainMs, listMs, mainDrawMs, listDrawMs;

  bool notify(QObject* receiver, QEvent* event) override {
    if (event->type() == QEvent::Paint && repainting_) {
      QElapsedTimer t;
      t.start();
      const bool done = Application::notify(receiver, event);
      drawn_ += static_cast<double>(t.nsecsElapsed()) / 1e6;
      return done;
    }
    if (event->type() != QEvent::UpdateRequest || !receiver->isWidgetType() ||
        !static_cast<QWidget*>(receiver)->isWindow()) {
      return Application::notify(receiver, event);
    }
    QElapsedTimer t;
    t.start();
    repainting_ = true;
    drawn_ = 0;
    const bool done = Application::notify(receiver, event);
    repainting_ = false;
    const double ms = static_cast<double>(t.nsecsElapsed()) / 1e6;
    const bool main = receiver->objectName() == QLatin1String("frmMain");
    (main ? mainMs : listMs).push_back(ms);
    (main ? mainDrawMs : listDrawMs).push_back(drawn_);
    return done;
  }

 private:
  bool repainting_ = false;
  double drawn_ = 0;
};

// Clicks on `target`, made in its thread as input arrives, every 20 ms.
class Clicker : public QObject {
 public:
  explicit Clicker(QWidget* target) : target_(target) {
    target_->installEventFilter(this);
    thread_ = std::thread([this] {
      while (!stop_) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (postedAt_.load() != 0) continue;
        postedAt_ = Now();
        QMetaObject::invokeMethod(
            target_,
            [t = target_] { testing_support::PostClick(t, QPointF(5, 5)); },
            Qt::QueuedConnection);
      }
    });
  }
  ~Clicker() override { Stop(); }
  void Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  std::vector<double> ms;

 protected:
  bool eventFilter(QObject* o, QEvent* e) override {
    if (o == target_ && e->type() == QEvent::MouseButtonRelease &&
        postedAt_.load() != 0) {
      ms.push_back(static_cast<double>(Now() - postedAt_.load()) / 1e6);
      postedAt_ = 0;
    }
    return false;
  }

 private:
  static long long Now() {
    return std::chrono::steady_clock::now().time_since_epoch().count();
  }
  QWidget* target_;
  std::atomic<long long> postedAt_{0};
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

int Program(int argc, char** argv, const Options& o) {
  BenchApp app(argc, argv);
#ifdef STANDORA_HAS_FRAME_PACER
  if (o.frameMs > 0) FramePacer::SetFrameMs(o.frameMs);
#endif
  platform::LinuxSocketLayer sockets;
  testing_support::Windows windows(sockets);
  TfrmMain& w = *windows.main;
  w.CheckBox1->setChecked(true);
  windows.ChooseLoopback();
  w.btnStartClick();
  if (!windows.boxes.shown.empty()) {
    std::fprintf(stderr, "%s\n", windows.boxes.shown[0].text.c_str());
    return 1;
  }
  std::unique_ptr<Clicker> clicker;
  if (o.clicks) clicker = std::make_unique<Clicker>(w.stCycle);

  QElapsedTimer since, quiet;
  since.start();
  quiet.start();
  std::int64_t last = 0, received = 0;
  QTimer check;
  check.setInterval(50);
  QObject::connect(&check, &QTimer::timeout, [&] {
    const std::int64_t now = w.monitor().MsgCount();
    received = now;
    if (now != last) {
      last = now;
      quiet.restart();
    } else if ((now > 0 && quiet.elapsed() >= o.idleMs) ||
               since.elapsed() >= o.maxMs) {
      QCoreApplication::exit(0);  // quit() would close the windows first
    }
  });
  // Ready once the windows are up and drawn, as a user's program is long
  // before the routers' hellos come; the measurement starts then.
  double cpu0 = 0;
  QTimer::singleShot(500, [&] {
    app.mainMs.clear();
    app.listMs.clear();
    app.mainDrawMs.clear();
    app.listDrawMs.clear();
    cpu0 = ThreadCpu();
    since.restart();
    quiet.restart();
    check.start();
    std::printf("ready\n");
    std::fflush(stdout);
  });
  app.exec();
  const double cpu = ThreadCpu() - cpu0;
  if (clicker) clicker->Stop();
  std::printf(
      "received %lld cpu %.6f frames %zu paint_main_ms %.3f "
      "paint_list_ms %.3f paint_list_p90_ms %.3f draw_main_ms %.3f "
      "draw_list_ms %.3f",
      static_cast<long long>(std::max(received, w.monitor().MsgCount())), cpu,
      app.listMs.size(), Percentile(app.mainMs, 0.5),
      Percentile(app.listMs, 0.5), Percentile(app.listMs, 0.9),
      Percentile(app.mainDrawMs, 0.5), Percentile(app.listDrawMs, 0.5));
  if (clicker) {
    std::printf(" clicks %zu click_median_ms %.3f click_p99_ms %.3f",
                clicker->ms.size(), Percentile(clicker->ms, 0.5),
                Percentile(clicker->ms, 0.99));
  }
  std::printf("\n");
  std::fflush(stdout);
  w.btnStopClick();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr,
                 "usage: receiver plain|program [--idle-ms N] [--max-ms N] "
                 "[--clicks]\n");
    return 2;
  }
  Options o;
  for (int i = 2; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--idle-ms" && i + 1 < argc) o.idleMs = std::atoi(argv[++i]);
    if (a == "--max-ms" && i + 1 < argc) o.maxMs = std::atoi(argv[++i]);
    if (a == "--clicks") o.clicks = true;
    if (a == "--frame-ms" && i + 1 < argc) o.frameMs = std::atoi(argv[++i]);
  }
  const std::string mode = argv[1];
  if (mode == "plain") return Plain(o);
  if (mode == "program") return Program(argc, argv, o);
  return 2;
}
