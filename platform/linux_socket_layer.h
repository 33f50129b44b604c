// The sockets service over POSIX sockets, with notifications carried by the
// Qt event loop.
//
// Reception of multicast on a chosen interface: a Linux socket bound to a
// unicast address never receives multicast, so binding an address of this
// machine checks the address (the bind fails with the system's code where it
// is not ours), then binds the socket to any address on the port, shared
// with other monitors (SO_REUSEADDR) and tied to that address's interface
// (SO_BINDTODEVICE). Every socket has IP_MULTICAST_ALL off, so it hears only
// the groups it joined, and only on the interfaces it joined them on.
#pragma once

#include <map>
#include <memory>

#include <QObject>

#include "host_entry.h"
#include "socket_layer.h"

namespace platform {

class NotificationRelay;

class LinuxSocketLayer : public SocketLayer {
 public:
  LinuxSocketLayer();
  ~LinuxSocketLayer() override;
  LinuxSocketLayer(const LinuxSocketLayer&) = delete;
  LinuxSocketLayer& operator=(const LinuxSocketLayer&) = delete;

  int WSAStartup(std::uint16_t version, WsaData* data) override;
  int WSACleanup() override;
  Socket socket(int family, int type, int protocol) override;
  int bind(Socket s, const SockAddrIn* addr, int addrLen) override;
  int setsockopt(Socket s, int level, int option, const void* value,
                 int valueLen) override;
  int WSAAsyncSelect(Socket s, WindowHandle window, unsigned message,
                     long events) override;
  int recvfrom(Socket s, char* buffer, int len, int flags, SockAddrIn* from,
               int* fromLen) override;
  int shutdown(Socket s, int how) override;
  int closesocket(Socket s) override;
  int WSAGetLastError() override { return lastError_; }
  int gethostname(char* name, int len) override;
  const HostEnt* gethostbyname(const char* name) override;

  // Number of sockets open now.
  std::size_t openSockets() const { return sockets_.size(); }

 private:
  struct Entry;

  Entry* Find(Socket s);
  int Fail(int code);
  void StopWatching(Entry& e);
  void CloseEntry(Entry& e);
  void CloseAll();

  std::map<Socket, std::unique_ptr<Entry>> sockets_;
  // Parent of the sockets' notification relays, so that none outlives the
  // layer.
  std::unique_ptr<QObject> relays_;
  Socket nextHandle_ = 0x100;
  int started_ = 0;
  int lastError_ = 0;

  HostEntry host_;  // the last resolved host
};

}  // namespace platform
