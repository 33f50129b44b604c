// Sends COUNT small HSRP-like datagrams to 224.0.0.2:1985 out of the
// interface that holds LOCAL_ADDRESS, with a time-to-live of 1:
// `group_sender LOCAL_ADDRESS COUNT`. For network namespaces a test made
// itself; at most 1000 datagrams.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: group_sender LOCAL_ADDRESS COUNT\n");
    return 2;
  }
  const int count = std::atoi(argv[2]);
  if (count < 0 || count > 1000) return 2;
  const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in local{};
  local.sin_family = AF_INET;
  if (fd < 0 || ::inet_pton(AF_INET, argv[1], &local.sin_addr) != 1) return 1;
  const unsigned char ttl = 1;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
      ::setsockopt(fd, IPPROTO_IP, IP_MULTICAST_IF, &local.sin_addr,
                   sizeof local.sin_addr) != 0 ||
      ::setsockopt(fd, IPPROTO_IP, IP_MULTICAST_TTL, &ttl, sizeof ttl) != 0) {
    std::perror("group_sender");
    return 1;
  }
  sockaddr_in group{};
  group.sin_family = AF_INET;
  group.sin_port = htons(1985);
  group.sin_addr.s_addr = inet_addr("224.0.0.2");
  const unsigned char hello[20] = {0,   0,   16,  3, 10, 100, 1,  0, 'c', 'i',
                                   's', 'c', 'o', 0, 0,  0,   10, 0, 0,   254};
  for (int i = 0; i < count; ++i) {
    if (::sendto(fd, hello, sizeof hello, 0,
                 reinterpret_cast<sockaddr*>(&group), sizeof group) < 0) {
      std::perror("sendto");
      return 1;
    }
  }
  ::close(fd);
  return 0;
}
