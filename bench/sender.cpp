// Sends hellos to 224.0.0.2:1985 on loopback only (multicast interface
// 127.0.0.1, loop on, TTL 0), at a steady rate, from two routers in turn:
// 127.0.0.1 active (priority 110), 127.0.0.2 standby (priority 100).
// The pace is kept without catch-up bursts: when the sender falls behind
// (the machine paused it), it goes on at the rate from where it is.
//   sender RATE COUNT     prints "sent N seconds S late L"
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "hello.h"

namespace {

int Router(const char* address) {
  const int fd = socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_addr.s_addr = inet_addr(address);
  in_addr loopback{};
  loopback.s_addr = htonl(INADDR_LOOPBACK);
  const unsigned char loop = 1, ttl = 0;
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) ||
      setsockopt(fd, IPPROTO_IP, IP_MULTICAST_IF, &loopback, sizeof loopback) ||
      setsockopt(fd, IPPROTO_IP, IP_MULTICAST_LOOP, &loop, sizeof loop) ||
      setsockopt(fd, IPPROTO_IP, IP_MULTICAST_TTL, &ttl, sizeof ttl)) {
    std::perror("sender socket");
    std::exit(1);
  }
  return fd;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: sender RATE COUNT\n");
    return 2;
  }
  const double rate = std::atof(argv[1]);
  const long count = std::atol(argv[2]);
  const int routers[2] = {Router("127.0.0.1"), Router("127.0.0.2")};
  const std::vector<std::uint8_t> hello[2] = {
      testing_support::MakeHello(16, 110, 1, "cisco"),
      testing_support::MakeHello(8, 100, 1, "cisco")};
  sockaddr_in group{};
  group.sin_family = AF_INET;
  group.sin_port = htons(1985);
  group.sin_addr.s_addr = inet_addr("224.0.0.2");

  using Clock = std::chrono::steady_clock;
  const auto step = std::chrono::duration_cast<Clock::duration>(
      std::chrono::duration<double>(1.0 / rate));
  const auto start = Clock::now();
  auto next = start;
  long late = 0;
  for (long i = 0; i < count; ++i) {
    auto now = Clock::now();
    while (now < next) now = Clock::now();  // the sender is never timed
    if (now - next > 4 * step) {
      ++late;
      next = now;  // no burst to make up for the pause
    }
    const auto& bytes = hello[i % 2];
    sendto(routers[i % 2], bytes.data(), bytes.size(), 0,
           reinterpret_cast<const sockaddr*>(&group), sizeof group);
    next += step;
  }
  const double seconds =
      std::chrono::duration<double>(Clock::now() - start).count();
  std::printf("sent %ld seconds %.3f late %ld\n", count, seconds, late);
  return 0;
}
