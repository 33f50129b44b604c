#include "loopback_sender.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace testing_support {

LoopbackSender::LoopbackSender(const char* source) {
  fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd_ < 0) return;
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_addr.s_addr = inet_addr(source);
  const in_addr loopback{htonl(INADDR_LOOPBACK)};
  const unsigned char loop = 1;
  const unsigned char ttl = 0;
  if (::bind(fd_, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
      ::setsockopt(fd_, IPPROTO_IP, IP_MULTICAST_IF, &loopback,
                   sizeof loopback) != 0 ||
      ::setsockopt(fd_, IPPROTO_IP, IP_MULTICAST_LOOP, &loop, sizeof loop) !=
          0 ||
      ::setsockopt(fd_, IPPROTO_IP, IP_MULTICAST_TTL, &ttl, sizeof ttl) != 0) {
    ::close(fd_);
    fd_ = -1;
  }
}

LoopbackSender::~LoopbackSender() {
  if (fd_ >= 0) ::close(fd_);
}

bool LoopbackSender::Send(const std::vector<std::uint8_t>& bytes) {
  if (fd_ < 0) return false;
  sockaddr_in group{};
  group.sin_family = AF_INET;
  group.sin_port = htons(1985);
  group.sin_addr.s_addr = inet_addr("224.0.0.2");
  const ssize_t n = ::sendto(fd_, bytes.data(), bytes.size(), 0,
                             reinterpret_cast<sockaddr*>(&group), sizeof group);
  return n == static_cast<ssize_t>(bytes.size());
}

}  // namespace testing_support
