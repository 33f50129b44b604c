// Sends hellos to 224.0.0.2:1985 on loopback only (multicast interface
// 127.0.0.1, loop on, TTL 0), at a steady rate, from two routers in turn:
// 127.0.0.1 active (priority 110), 127.0.0.2 standby (priority 100).
// The pace is kept without catch-up bursts: when the sender falls behind
// (the machine paused it), it goes on at the rate from where it is. It
// sleeps between sends, leaving the machine's cores to the receivers.
//   sender RATE COUNT     prints "sent N seconds S late L"
#include <sys/prctl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "hello.h"
#include "loopback_sender.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: sender RATE COUNT\n");
    return 2;
  }
  const double rate = std::atof(argv[1]);
  const long count = std::atol(argv[2]);
  testing_support::LoopbackSender routers[2] = {
      testing_support::LoopbackSender("127.0.0.1"),
      testing_support::LoopbackSender("127.0.0.2")};
  if (!routers[0].ok() || !routers[1].ok()) {
    std::perror("sender socket");
    return 1;
  }
  const std::vector<std::uint8_t> hello[2] = {
      testing_support::MakeHello(16, 110, 1, "cisco"),
      testing_support::MakeHello(8, 100, 1, "cisco")};
  // Each hello has its due time on a steady grid. The sender sleeps until
  // the next is due and sends what is due, so at high rates a few go out
  // together (as many as fall into the system's shortest sleep). When the
  // machine pauses it for longer than a few steps, the grid moves on: the
  // hellos due meanwhile are sent at the rate from now, not in a burst.
  prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0);
  using Clock = std::chrono::steady_clock;
  const auto step = std::chrono::duration_cast<Clock::duration>(
      std::chrono::duration<double>(1.0 / rate));
  const auto slack =
      std::max<Clock::duration>(4 * step, std::chrono::milliseconds(1));
  const auto start = Clock::now();
  auto origin = start;
  long late = 0;
  for (long i = 0; i < count; ++i) {
    const auto due = origin + i * step;
    auto now = Clock::now();
    if (due > now) {
      std::this_thread::sleep_until(due);
    } else if (now - due > slack) {
      ++late;
      origin += now - due;  // no burst to make up for the pause
    }
    routers[i % 2].Send(hello[i % 2]);
  }
  const double seconds =
      std::chrono::duration<double>(Clock::now() - start).count();
  std::printf("sent %ld seconds %.3f late %ld\n", count, seconds, late);
  return 0;
}
