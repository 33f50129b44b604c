// Sends datagrams to the HSRP group on this machine only: out through the
// loopback interface, looped back to local sockets, with a time-to-live of
// 0 so that no copy ever leaves the host.
#pragma once

#include <cstdint>
#include <vector>

namespace testing_support {

class LoopbackSender {
 public:
  // Sends from `source`, an address of the loopback range (127.0.0.0/8).
  explicit LoopbackSender(const char* source = "127.0.0.1");
  ~LoopbackSender();
  LoopbackSender(const LoopbackSender&) = delete;
  LoopbackSender& operator=(const LoopbackSender&) = delete;

  // Sends one datagram to 224.0.0.2:1985; true when it went out whole.
  bool Send(const std::vector<std::uint8_t>& bytes);
  bool ok() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

}  // namespace testing_support
