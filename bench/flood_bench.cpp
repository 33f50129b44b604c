// The whole program against the machine's limit, on one flood of HSRP
// hellos sent on loopback (multicast interface 127.0.0.1, TTL 0):
//   plain    a plain blocking recvfrom loop joined to the group on lo;
//   program  both windows shown (offscreen), over the real sockets layer;
//   tcpdump  `tcpdump -v -n -i lo udp port 1985` capturing and decoding.
// For each: the highest rate at which 10,000 datagrams arrive with none
// lost, and the receiver's CPU seconds per 100,000 datagrams at that rate.
// For the program also the latency of clicks posted to the window during
// the flood at that rate (median, 99th percentile). Needs root for tcpdump.
//
//   flood_bench [plain|program|tcpdump|latency]...   (default: all)
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCheckBox>
#include <QComboBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "application.h"
#include "hello.h"
#include "linux_socket_layer.h"
#include "loopback_sender.h"
#include "windows.h"

extern char** environ;

using Clock = std::chrono::steady_clock;
using namespace testing_support;

namespace {

constexpr int kTrial = 10000;
const int kRates[] = {1000, 2000, 5000, 10000, 20000, 50000, 100000, 200000};

double ThreadCpu() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + t.tv_nsec / 1e9;
}

// Sends `count` hellos at `rate` per second, in 1 ms steps.
void SendFlood(int count, int rate) {
  LoopbackSender out;
  const auto hello = MakeHello(16, 100, 1, "cisco");
  const int perStep = std::max(1, rate / 1000);
  auto next = Clock::now();
  for (int sent = 0; sent < count;) {
    for (int i = 0; i < perStep && sent < count; ++i, ++sent) out.Send(hello);
    next += std::chrono::milliseconds(1);
    std::this_thread::sleep_until(next);
  }
}

struct Trial {
  int received = 0;
  double cpuSeconds = 0;
};

// A receiver runs on this thread while another sends; `receive` gets told
// when sending is over and returns what it received and the CPU it used.
Trial Run(int count, int rate,
          const std::function<Trial(std::atomic<bool>&)>& receive) {
  std::atomic<bool> sent{false};
  std::thread sender([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    SendFlood(count, rate);
    sent = true;
  });
  Trial t = receive(sent);
  sender.join();
  return t;
}

Trial PlainLoop(std::atomic<bool>& sent) {
  const int fd = socket(AF_INET, SOCK_DGRAM, 0);
  const int on = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in any{};
  any.sin_family = AF_INET;
  any.sin_port = htons(1985);
  bind(fd, reinterpret_cast<sockaddr*>(&any), sizeof any);
  ip_mreq m{};
  m.imr_multiaddr.s_addr = inet_addr("224.0.0.2");
  m.imr_interface.s_addr = htonl(INADDR_LOOPBACK);
  setsockopt(fd, IPPROTO_IP, IP_ADD_MEMBERSHIP, &m, sizeof m);
  timeval tick{0, 200000};
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tick, sizeof tick);
  Trial t;
  const double cpu0 = ThreadCpu();
  char buffer[256];
  while (true) {
    if (recv(fd, buffer, 255, 0) >= 0) {
      ++t.received;
    } else if (sent) {
      break;  // 200 ms of quiet after the last datagram
    }
  }
  t.cpuSeconds = ThreadCpu() - cpu0;
  close(fd);
  return t;
}

struct Program {
  platform::LinuxSocketLayer sockets;
  Windows windows{sockets};
  TfrmMain& main = *windows.main;

  Program() {
    main.CheckBox1->setChecked(true);
    windows.ChooseLoopback();
  }

  Trial Receive(std::atomic<bool>& sent) {
    main.btnStartClick();
    const double cpu0 = ThreadCpu();
    while (!sent) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    // Drain: until the count stands still for 200 ms.
    std::int64_t last = -1;
    while (last != main.monitor().MsgCount()) {
      last = main.monitor().MsgCount();
      const auto until = Clock::now() + std::chrono::milliseconds(200);
      while (Clock::now() < until) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
      }
    }
    Trial t;
    t.received = static_cast<int>(main.monitor().MsgCount());
    t.cpuSeconds = ThreadCpu() - cpu0;
    main.btnStopClick();
    return t;
  }
};

// tcpdump in a child; returns the packets it captured (and none dropped)
// and its CPU seconds.
Trial Tcpdump(std::atomic<bool>& sent) {
  const std::string log = "/tmp/standora-bench-tcpdump.txt";
  const char* argv[] = {"tcpdump", "-v",  "-n",   "-l",   "-i",
                        "lo",      "udp", "port", "1985", nullptr};
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&files, 2, log.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid = 0;
  Trial t;
  if (posix_spawnp(&pid, "tcpdump", &files, nullptr,
                   const_cast<char* const*>(argv), environ) != 0) {
    return t;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  while (!sent) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  kill(pid, SIGINT);
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  t.cpuSeconds = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 +
                 usage.ru_stime.tv_sec + usage.ru_stime.tv_usec / 1e6;
  std::ifstream in(log);
  std::string line;
  int captured = 0, dropped = 0;
  while (std::getline(in, line)) {
    if (line.find("packets captured") != std::string::npos) {
      captured = std::atoi(line.c_str());
    }
    if (line.find("dropped by kernel") != std::string::npos) {
      dropped = std::atoi(line.c_str());
    }
  }
  t.received = dropped == 0 ? captured : captured - dropped;
  return t;
}

// The highest rate of kRates at which every datagram of a trial arrives.
int Measure(const char* name,
            const std::function<Trial(std::atomic<bool>&)>& receive) {
  int best = 0;
  Trial atBest;
  for (const int rate : kRates) {
    const Trial t = Run(kTrial, rate, receive);
    std::fprintf(stderr, "  %s at %d/s: %d of %d\n", name, rate, t.received,
                 kTrial);
    if (t.received < kTrial) break;
    best = rate;
    atBest = t;
  }
  std::printf("| %-8s | %9d | %11.3f |\n", name, best,
              best == 0 ? 0.0 : atBest.cpuSeconds * 100000.0 / kTrial);
  std::fflush(stdout);
  return best;
}

void Latency(Program& p, int rate) {
  std::vector<double> ms;
  std::atomic<bool> sent{false};
  std::atomic<long long> postedAt{0};
  QWidget* target = p.main.rbStandby;
  struct Watch : QObject {
    std::atomic<long long>* postedAt;
    std::vector<double>* ms;
    QWidget* target;
    bool eventFilter(QObject* o, QEvent* e) override {
      if (o == target && e->type() == QEvent::MouseButtonRelease &&
          postedAt->load() != 0) {
        const long long now = Clock::now().time_since_epoch().count();
        ms->push_back((now - postedAt->load()) / 1e6);
        postedAt->store(0);
      }
      return false;
    }
  } watch;
  watch.postedAt = &postedAt;
  watch.ms = &ms;
  watch.target = target;
  qApp->installEventFilter(&watch);
  std::thread clicker([&] {
    while (!sent) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      if (postedAt.load() != 0) continue;
      postedAt = Clock::now().time_since_epoch().count();
      // Input events are made in the window's thread: the click is queued
      // there, then posted as a press and a release.
      QMetaObject::invokeMethod(
          target,
          [target] {
            const QPointF at(5, 5);
            QCoreApplication::postEvent(
                target, new QMouseEvent(QEvent::MouseButtonPress, at,
                                        target->mapToGlobal(at), Qt::LeftButton,
                                        Qt::LeftButton, Qt::NoModifier));
            QCoreApplication::postEvent(
                target, new QMouseEvent(QEvent::MouseButtonRelease, at,
                                        target->mapToGlobal(at), Qt::LeftButton,
                                        Qt::NoButton, Qt::NoModifier));
          },
          Qt::QueuedConnection);
    }
  });
  std::thread sender([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    SendFlood(100000, rate);
    sent = true;
  });
  p.main.btnStartClick();
  while (!sent) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  sender.join();
  clicker.join();
  QCoreApplication::processEvents();
  p.main.btnStopClick();
  qApp->removeEventFilter(&watch);
  std::sort(ms.begin(), ms.end());
  if (ms.empty()) return;
  std::printf(
      "click latency during a flood at %d/s: median %.2f ms, 99th "
      "percentile %.2f ms (%zu clicks)\n",
      rate, ms[ms.size() / 2], ms[ms.size() * 99 / 100], ms.size());
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  Application app(argc, argv);
  std::vector<std::string> modes(argv + 1, argv + argc);
  if (modes.empty()) modes = {"plain", "program", "tcpdump", "latency"};
  auto want = [&](const char* m) {
    return std::find(modes.begin(), modes.end(), m) != modes.end();
  };

  std::printf("| receiver | lossless/s | CPU s/100k |\n|---|---|---|\n");
  if (want("plain")) Measure("plain", PlainLoop);
  Program program;
  // Clicks are timed during a flood at the program's highest lossless rate
  // (10,000/s when that is not measured in this run).
  int programRate = 10000;
  if (want("program")) {
    programRate = Measure("program", [&](std::atomic<bool>& sent) {
      return program.Receive(sent);
    });
  }
  if (want("tcpdump")) Measure("tcpdump", Tcpdump);
  if (want("latency")) Latency(program, std::max(programRate, 1000));
  return 0;
}
