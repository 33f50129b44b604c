// The sockets service the listener and the interface list are written
// against: Windows Sockets 1.1 in shape (start-up and clean-up, handles, one
// call each for socket, bind, setsockopt, asynchronous select, recvfrom,
// shutdown, closesocket, the last error, the host's name and name resolution),
// with Linux's own numbers for families, options and error codes.
//
// Handles are never operating-system descriptors: INVALID_SOCKET is all ones,
// 0 is never a handle, and no handle value is given out twice in a run. Any
// call on a handle that is 0, unknown or closed fails with ENOTSOCK and
// touches no descriptor.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class QObject;

namespace platform {

using Socket = std::uintptr_t;
inline constexpr Socket INVALID_SOCKET = ~Socket(0);
inline constexpr int SOCKET_ERROR = -1;

// The window (any QObject) a socket notification is posted to.
using WindowHandle = QObject*;

// Linux's numbers, checked against the system headers where the real layer
// is built.
inline constexpr int kAfInet = 2;
inline constexpr int kSockDgram = 2;
inline constexpr int kIpProtoIp = 0;
inline constexpr int kIpAddMembership = 35;
inline constexpr int kSdReceive = 0;
inline constexpr long kFdRead = 0x01;

// Error codes (errno values) the layer itself gives.
inline constexpr int kENotSock = 88;
inline constexpr int kEInval = 22;
inline constexpr int kEFault = 14;

// Mirrors an IPv4 socket address; 16 bytes.
struct SockAddrIn {
  std::int16_t family = 0;
  std::uint16_t port = 0;  // network byte order
  std::uint32_t addr = 0;  // network byte order
  char zero[8] = {};
};
static_assert(sizeof(SockAddrIn) == 16);

// Mirrors a multicast membership request; 8 bytes.
struct IpMreq {
  std::uint32_t multiaddr = 0;  // group, network byte order
  std::uint32_t interface = 0;  // local address, network byte order
};
static_assert(sizeof(IpMreq) == 8);

// What start-up tells about the layer.
struct WsaData {
  std::uint16_t version = 0;
  std::uint16_t highVersion = 0;
  char description[257] = {};
  char systemStatus[129] = {};
};

// A resolved host: its addresses (4 bytes each, network byte order), the
// list ended by a null entry, as gethostbyname gives them.
struct HostEnt {
  const char* name = nullptr;
  char** aliases = nullptr;
  std::int16_t addrType = 0;
  std::int16_t length = 0;
  char** addrList = nullptr;
};

class SocketLayer {
 public:
  virtual ~SocketLayer() = default;

  // 0 on success, else an error code. Counted: each successful start-up
  // wants one clean-up; a clean-up without one fails and changes nothing.
  virtual int WSAStartup(std::uint16_t version, WsaData* data) = 0;
  virtual int WSACleanup() = 0;

  virtual Socket socket(int family, int type, int protocol) = 0;
  virtual int bind(Socket s, const SockAddrIn* addr, int addrLen) = 0;
  virtual int setsockopt(Socket s, int level, int option, const void* value,
                         int valueLen) = 0;
  // Notifies `window` with a notification of type `message` when one of
  // `events` (kFdRead) can be met: from the event loop, once a pass for as
  // long as data waits unread, so each datagram read on its notification
  // gets exactly one. The window may decline a notification (ignore the
  // event); it comes again on a later pass. None is delivered after
  // closesocket.
  virtual int WSAAsyncSelect(Socket s, WindowHandle window, unsigned message,
                             long events) = 0;
  // Reads one datagram, at most `len` bytes of it (the rest is dropped
  // silently); returns the number of bytes read or SOCKET_ERROR.
  virtual int recvfrom(Socket s, char* buffer, int len, int flags,
                       SockAddrIn* from, int* fromLen) = 0;
  virtual int shutdown(Socket s, int how) = 0;
  virtual int closesocket(Socket s) = 0;
  // The error code of the last failed call.
  virtual int WSAGetLastError() = 0;

  virtual int gethostname(char* name, int len) = 0;
  // Null when the name does not resolve. The entry stays valid until the
  // next call.
  virtual const HostEnt* gethostbyname(const char* name) = 0;
};

}  // namespace platform
