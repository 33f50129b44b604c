// A sockets service for tests: records every call with its arguments, fails
// any call with a chosen code or throws from it, hands out scripted
// datagrams and host entries, and posts notifications through the event
// loop as the real layer does.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <QObject>

#include "host_entry.h"
#include "notification_relay.h"
#include "socket_layer.h"

namespace testing_support {

struct Call {
  std::string name;
  std::string args;
};

class FakeSocketLayer : public platform::SocketLayer {
 public:
  static constexpr int kEAgain = 11;

  FakeSocketLayer();
  ~FakeSocketLayer() override;

  // Every later call of `name` fails with `code` (for WSAStartup: returns
  // it) until Heal.
  void FailWith(const std::string& name, int code) { failures_[name] = code; }
  // Every later call of `name` throws std::runtime_error until Heal.
  void ThrowOn(const std::string& name) { throws_.insert(name); }
  void Heal() {
    failures_.clear();
    throws_.clear();
  }

  // Queues a datagram for the listening socket and, once it is selected,
  // has its window notified from the event loop; a notification the window
  // declines comes again on a later pass, as long as datagrams wait.
  void Deliver(const std::vector<std::uint8_t>& bytes, std::uint32_t source);
  std::size_t queued() const { return datagrams_.size(); }

  void SetHostName(const std::string& name) { hostName_ = name; }
  // The addresses the host name resolves to, dotted; with `resolves` false
  // the name does not resolve at all.
  void SetHostAddresses(const std::vector<std::string>& dotted,
                        bool resolves = true);

  const std::vector<Call>& calls() const { return calls_; }
  std::vector<std::string> CallNames() const;
  void ClearCalls() { calls_.clear(); }
  int startups() const { return started_; }
  std::size_t openSockets() const { return open_.size(); }

  int WSAStartup(std::uint16_t version, platform::WsaData* data) override;
  int WSACleanup() override;
  platform::Socket socket(int family, int type, int protocol) override;
  int bind(platform::Socket s, const platform::SockAddrIn* addr,
           int addrLen) override;
  int setsockopt(platform::Socket s, int level, int option, const void* value,
                 int valueLen) override;
  int WSAAsyncSelect(platform::Socket s, platform::WindowHandle window,
                     unsigned message, long events) override;
  int recvfrom(platform::Socket s, char* buffer, int len, int flags,
               platform::SockAddrIn* from, int* fromLen) override;
  int shutdown(platform::Socket s, int how) override;
  int closesocket(platform::Socket s) override;
  int WSAGetLastError() override { return lastError_; }
  int gethostname(char* name, int len) override;
  const platform::HostEnt* gethostbyname(const char* name) override;

 private:
  struct Datagram {
    std::vector<std::uint8_t> bytes;
    std::uint32_t source;
  };

  // Records the call; returns the failure code to give, or 0. Throws when
  // asked to.
  int Enter(const std::string& name, const std::string& args);
  int Fail(int code);
  bool IsOpen(platform::Socket s) const { return open_.count(s) != 0; }
  void CloseRelay(platform::Socket s);
  void PostIfWaiting();

  std::vector<Call> calls_;
  std::map<std::string, int> failures_;
  std::set<std::string> throws_;
  int lastError_ = 0;
  int started_ = 0;
  platform::Socket next_ = 0x200;
  std::set<platform::Socket> open_;
  class Readiness;
  std::map<platform::Socket, Readiness*> relays_;
  std::unique_ptr<QObject> relayParent_;
  std::deque<Datagram> datagrams_;

  std::string hostName_ = "fakehost";
  bool resolves_ = true;
  std::vector<std::uint32_t> hostAddrs_;
  platform::HostEntry host_;
};

}  // namespace testing_support
