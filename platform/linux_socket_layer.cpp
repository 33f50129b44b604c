#include "linux_socket_layer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "notification_relay.h"

namespace platform {

static_assert(kAfInet == AF_INET);
static_assert(kSockDgram == SOCK_DGRAM);
static_assert(kIpProtoIp == IPPROTO_IP);
static_assert(kIpAddMembership == IP_ADD_MEMBERSHIP);
static_assert(kSdReceive == SHUT_RD);
static_assert(kENotSock == ENOTSOCK);
static_assert(kEInval == EINVAL);
static_assert(kEFault == EFAULT);

namespace {

constexpr std::uint16_t kVersion11 = 0x0101;
constexpr int kReceiveBuffer = 1 << 20;  // bytes asked for; the system doubles

sockaddr_in ToSystem(const SockAddrIn& a) {
  sockaddr_in s{};
  s.sin_family = static_cast<sa_family_t>(a.family);
  s.sin_port = a.port;
  s.sin_addr.s_addr = a.addr;
  return s;
}

// The name of the interface that carries `addr` (network order); empty when
// none does.
std::string InterfaceOf(std::uint32_t addr) {
  ifaddrs* list = nullptr;
  if (::getifaddrs(&list) != 0) return {};
  std::string name;
  for (const ifaddrs* i = list; i != nullptr; i = i->ifa_next) {
    if (i->ifa_addr == nullptr || i->ifa_addr->sa_family != AF_INET) continue;
    const auto* in = reinterpret_cast<const sockaddr_in*>(i->ifa_addr);
    if (in->sin_addr.s_addr == addr) {
      name = i->ifa_name;
      break;
    }
  }
  ::freeifaddrs(list);
  return name;
}

// This machine's IPv4 addresses on interfaces that are up, loopback left
// out, in the system's order, each once.
std::vector<std::uint32_t> OwnAddresses() {
  std::vector<std::uint32_t> addrs;
  ifaddrs* list = nullptr;
  if (::getifaddrs(&list) != 0) return addrs;
  for (const ifaddrs* i = list; i != nullptr; i = i->ifa_next) {
    if (i->ifa_addr == nullptr || i->ifa_addr->sa_family != AF_INET) continue;
    if (!(i->ifa_flags & IFF_UP) || (i->ifa_flags & IFF_LOOPBACK)) continue;
    const auto a =
        reinterpret_cast<const sockaddr_in*>(i->ifa_addr)->sin_addr.s_addr;
    if (std::find(addrs.begin(), addrs.end(), a) == addrs.end()) {
      addrs.push_back(a);
    }
  }
  ::freeifaddrs(list);
  return addrs;
}

bool IsOwnName(const char* name) {
  char own[256] = {};
  if (::gethostname(own, sizeof own - 1) != 0) return false;
  return ::strcasecmp(own, name) == 0;
}

}  // namespace

struct LinuxSocketLayer::Entry {
  int fd = -1;
  // Owned through Qt: closed and deleted later, never deleted here while a
  // notification of it may be on the stack.
  NotificationRelay* relay = nullptr;
  QSocketNotifier* notifier = nullptr;
};

LinuxSocketLayer::LinuxSocketLayer() : relays_(std::make_unique<QObject>()) {}

LinuxSocketLayer::~LinuxSocketLayer() { CloseAll(); }

int LinuxSocketLayer::Fail(int code) {
  lastError_ = code;
  return SOCKET_ERROR;
}

LinuxSocketLayer::Entry* LinuxSocketLayer::Find(Socket s) {
  const auto it = sockets_.find(s);
  return it == sockets_.end() ? nullptr : it->second.get();
}

int LinuxSocketLayer::WSAStartup(std::uint16_t version, WsaData* data) {
  // Version 1.1 or later is served as 1.1.
  const int major = version & 0xFF;
  const int minor = version >> 8;
  if (major < 1 || (major == 1 && minor < 1)) return kEInval;
  if (data != nullptr) {
    *data = WsaData();
    data->version = kVersion11;
    data->highVersion = kVersion11;
    std::strcpy(data->description, "Standora sockets on Linux");
    std::strcpy(data->systemStatus, "Running");
  }
  ++started_;
  return 0;
}

int LinuxSocketLayer::WSACleanup() {
  if (started_ == 0) return Fail(kEInval);
  // The last clean-up closes what is still open.
  if (--started_ == 0) CloseAll();
  return 0;
}

Socket LinuxSocketLayer::socket(int family, int type, int protocol) {
  const int fd = ::socket(family, type | SOCK_CLOEXEC, protocol);
  if (fd < 0) {
    Fail(errno);
    return INVALID_SOCKET;
  }
  if (family == AF_INET) {
    const int off = 0;
    ::setsockopt(fd, IPPROTO_IP, IP_MULTICAST_ALL, &off, sizeof off);
  }
  if ((type & 0xF) == SOCK_DGRAM) {
    // Room for a few thousand hellos while the program is busy (a window
    // being drawn, a box coming up): the system's default holds a few
    // hundred. The system caps it (rmem_max) without failing.
    ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &kReceiveBuffer,
                 sizeof kReceiveBuffer);
  }
  auto entry = std::make_unique<Entry>();
  entry->fd = fd;
  const Socket handle = nextHandle_++;
  sockets_.emplace(handle, std::move(entry));
  return handle;
}

int LinuxSocketLayer::bind(Socket s, const SockAddrIn* addr, int addrLen) {
  Entry* e = Find(s);
  if (e == nullptr) return Fail(kENotSock);
  if (addr == nullptr || addrLen < static_cast<int>(sizeof(SockAddrIn))) {
    return Fail(kEFault);
  }
  sockaddr_in target = ToSystem(*addr);
  const int on = 1;
  ::setsockopt(e->fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);

  const std::uint32_t host = ntohl(target.sin_addr.s_addr);
  if (target.sin_family == AF_INET && host != INADDR_ANY &&
      !IN_MULTICAST(host)) {
    // A unicast address must be one of ours: try it on a socket of its own.
    const int probe = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (probe < 0) return Fail(errno);
    sockaddr_in p = target;
    p.sin_port = 0;
    const int rc = ::bind(probe, reinterpret_cast<sockaddr*>(&p), sizeof p);
    const int err = errno;
    ::close(probe);
    if (rc != 0) return Fail(err);

    const std::string device = InterfaceOf(target.sin_addr.s_addr);
    if (!device.empty()) {
      // Without it the membership alone still keeps other interfaces'
      // multicast out; this keeps their unicast out too.
      ::setsockopt(e->fd, SOL_SOCKET, SO_BINDTODEVICE, device.c_str(),
                   static_cast<socklen_t>(device.size()));
    }
    target.sin_addr.s_addr = htonl(INADDR_ANY);
  }
  if (::bind(e->fd, reinterpret_cast<sockaddr*>(&target), sizeof target) != 0) {
    return Fail(errno);
  }
  return 0;
}

int LinuxSocketLayer::setsockopt(Socket s, int level, int option,
                                 const void* value, int valueLen) {
  Entry* e = Find(s);
  if (e == nullptr) return Fail(kENotSock);
  if (valueLen < 0) return Fail(kEFault);
  if (::setsockopt(e->fd, level, option, value,
                   static_cast<socklen_t>(valueLen)) != 0) {
    return Fail(errno);
  }
  return 0;
}

int LinuxSocketLayer::WSAAsyncSelect(Socket s, WindowHandle window,
                                     unsigned message, long events) {
  Entry* e = Find(s);
  if (e == nullptr) return Fail(kENotSock);
  StopWatching(*e);
  if (events == 0) return 0;
  if (window == nullptr || (events & ~kFdRead) != 0) return Fail(kEInval);

  const int flags = ::fcntl(e->fd, F_GETFL);
  if (flags < 0 || ::fcntl(e->fd, F_SETFL, flags | O_NONBLOCK) != 0) {
    return Fail(errno);
  }
  auto* relay = new NotificationRelay(s, window, message);
  relay->setParent(relays_.get());
  // Level-triggered: while the socket holds a datagram that the window has
  // not taken, the notifier fires again on the next pass of the loop. No
  // notification is posted and the notifier is never switched off and on,
  // so a datagram costs one poll, one notification and one recvfrom.
  auto* notifier = new QSocketNotifier(e->fd, QSocketNotifier::Read, relay);
  QObject::connect(notifier, &QSocketNotifier::activated, relay,
                   [relay] { relay->Notify(); });
  e->relay = relay;
  e->notifier = notifier;
  return 0;
}

int LinuxSocketLayer::recvfrom(Socket s, char* buffer, int len, int flags,
                               SockAddrIn* from, int* fromLen) {
  Entry* e = Find(s);
  if (e == nullptr) return Fail(kENotSock);
  if (buffer == nullptr || len < 0 ||
      (from != nullptr && (fromLen == nullptr ||
                           *fromLen < static_cast<int>(sizeof(SockAddrIn))))) {
    return Fail(kEFault);
  }
  sockaddr_in sender{};
  socklen_t senderLen = sizeof sender;
  const ssize_t n =
      ::recvfrom(e->fd, buffer, static_cast<std::size_t>(len), flags,
                 reinterpret_cast<sockaddr*>(&sender), &senderLen);
  if (n < 0) return Fail(errno);
  if (from != nullptr) {
    *from = SockAddrIn();
    from->family = static_cast<std::int16_t>(sender.sin_family);
    from->port = sender.sin_port;
    from->addr = sender.sin_addr.s_addr;
    *fromLen = static_cast<int>(sizeof(SockAddrIn));
  }
  return static_cast<int>(n);
}

int LinuxSocketLayer::shutdown(Socket s, int how) {
  Entry* e = Find(s);
  if (e == nullptr) return Fail(kENotSock);
  if (::shutdown(e->fd, how) != 0) return Fail(errno);
  return 0;
}

void LinuxSocketLayer::StopWatching(Entry& e) {
  if (e.relay == nullptr) return;
  // The notifier may be on the stack here (the window's handler runs inside
  // its activation): it stops watching before its descriptor is closed and
  // is deleted later with its relay.
  e.notifier->setEnabled(false);
  e.notifier = nullptr;
  e.relay->Close();
  e.relay = nullptr;
}

void LinuxSocketLayer::CloseEntry(Entry& e) {
  StopWatching(e);
  ::close(e.fd);
  e.fd = -1;
}

int LinuxSocketLayer::closesocket(Socket s) {
  Entry* e = Find(s);
  if (e == nullptr) return Fail(kENotSock);
  CloseEntry(*e);
  sockets_.erase(s);
  return 0;
}

void LinuxSocketLayer::CloseAll() {
  for (auto& [handle, entry] : sockets_) CloseEntry(*entry);
  sockets_.clear();
}

int LinuxSocketLayer::gethostname(char* name, int len) {
  if (name == nullptr || len <= 0) return Fail(kEFault);
  if (::gethostname(name, static_cast<std::size_t>(len)) != 0) {
    return Fail(errno);
  }
  // gethostname need not terminate a name that fills the buffer.
  if (std::memchr(name, '\0', static_cast<std::size_t>(len)) == nullptr) {
    return Fail(kEFault);
  }
  return 0;
}

const HostEnt* LinuxSocketLayer::gethostbyname(const char* name) {
  if (name == nullptr) {
    Fail(kEFault);
    return nullptr;
  }
  if (IsOwnName(name)) {
    // As the machine's own name resolves on other systems: to its interface
    // addresses rather than to whatever the hosts file maps it to.
    std::vector<std::uint32_t> addrs = OwnAddresses();
    if (addrs.empty()) addrs.push_back(htonl(INADDR_LOOPBACK));
    return host_.Set(name, addrs);
  }

  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_DGRAM;
  addrinfo* found = nullptr;
  const int rc = ::getaddrinfo(name, nullptr, &hints, &found);
  if (rc != 0) {
    Fail(rc == EAI_SYSTEM ? errno : ENOENT);
    return nullptr;
  }
  std::vector<std::uint32_t> addrs;
  for (const addrinfo* i = found; i != nullptr; i = i->ai_next) {
    const auto a =
        reinterpret_cast<const sockaddr_in*>(i->ai_addr)->sin_addr.s_addr;
    if (std::find(addrs.begin(), addrs.end(), a) == addrs.end()) {
      addrs.push_back(a);
    }
  }
  ::freeaddrinfo(found);
  return host_.Set(name, addrs);
}

}  // namespace platform
