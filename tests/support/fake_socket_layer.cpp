#include "fake_socket_layer.h"

#include <arpa/inet.h>

#include <QCoreApplication>
#include <QEvent>

#include <algorithm>
#include <cstring>
#include <sstream>
#include <stdexcept>

#include "address.h"

namespace testing_support {

using namespace platform;

namespace {

template <typename... Args>
std::string Join(const Args&... args) {
  std::ostringstream out;
  const char* sep = "";
  ((out << sep << args, sep = ","), ...);
  return out.str();
}

}  // namespace

// Plays the part of the system's poll for one selected socket: while
// datagrams wait, one wake-up at a time is posted, and each asks the relay
// to notify its window, as a readable socket makes the real notifier fire
// on every pass of the event loop.
class FakeSocketLayer::Readiness : public QObject {
 public:
  Readiness(NotificationRelay* relay, const FakeSocketLayer& layer)
      : QObject(relay), relay_(relay), layer_(layer) {}

  void Arm() {
    if (armed_ || relay_->closed() || layer_.datagrams_.empty()) return;
    armed_ = true;
    QCoreApplication::postEvent(this, new QEvent(kWake));
  }

 protected:
  bool event(QEvent* e) override {
    if (e->type() != kWake) return QObject::event(e);
    armed_ = false;
    // As a poll would: only a socket with a datagram waiting is readable.
    if (relay_->closed() || layer_.datagrams_.empty()) return true;
    relay_->Notify();  // may close the relay and delete it later
    Arm();
    return true;
  }

 private:
  static inline const QEvent::Type kWake =
      static_cast<QEvent::Type>(QEvent::registerEventType());
  NotificationRelay* relay_;
  const FakeSocketLayer& layer_;
  bool armed_ = false;
};

FakeSocketLayer::FakeSocketLayer()
    : relayParent_(std::make_unique<QObject>()) {}

FakeSocketLayer::~FakeSocketLayer() = default;

int FakeSocketLayer::Enter(const std::string& name, const std::string& args) {
  calls_.push_back({name, args});
  if (throws_.count(name) != 0) {
    throw std::runtime_error(name + " threw");
  }
  const auto it = failures_.find(name);
  return it == failures_.end() ? 0 : it->second;
}

int FakeSocketLayer::Fail(int code) {
  lastError_ = code;
  return SOCKET_ERROR;
}

std::vector<std::string> FakeSocketLayer::CallNames() const {
  std::vector<std::string> names;
  for (const Call& c : calls_) names.push_back(c.name);
  return names;
}

void FakeSocketLayer::SetHostAddresses(const std::vector<std::string>& dotted,
                                       bool resolves) {
  resolves_ = resolves;
  hostAddrs_.clear();
  for (const std::string& d : dotted) hostAddrs_.push_back(InetAddr(d.c_str()));
}

int FakeSocketLayer::WSAStartup(std::uint16_t version, WsaData* data) {
  if (const int code = Enter("WSAStartup", Join(version))) return code;
  if (data != nullptr) {
    *data = WsaData();
    data->version = version;
    data->highVersion = version;
  }
  ++started_;
  return 0;
}

int FakeSocketLayer::WSACleanup() {
  if (const int code = Enter("WSACleanup", "")) return Fail(code);
  if (started_ == 0) return Fail(kEInval);
  --started_;
  return 0;
}

Socket FakeSocketLayer::socket(int family, int type, int protocol) {
  if (const int code = Enter("socket", Join(family, type, protocol))) {
    Fail(code);
    return INVALID_SOCKET;
  }
  const Socket s = next_++;
  open_.insert(s);
  return s;
}

int FakeSocketLayer::bind(Socket s, const SockAddrIn* addr, int addrLen) {
  const std::string args = addr == nullptr
                               ? Join(s, "null", addrLen)
                               : Join(s, addr->family, ntohs(addr->port),
                                      InetNtoa(addr->addr), addrLen);
  if (const int code = Enter("bind", args)) return Fail(code);
  if (!IsOpen(s)) return Fail(kENotSock);
  return 0;
}

int FakeSocketLayer::setsockopt(Socket s, int level, int option,
                                const void* value, int valueLen) {
  std::string shown = "?";
  if (value != nullptr && valueLen == sizeof(IpMreq)) {
    IpMreq m;
    std::memcpy(&m, value, sizeof m);
    shown = InetNtoa(m.multiaddr) + "/" + InetNtoa(m.interface);
  }
  if (const int code =
          Enter("setsockopt", Join(s, level, option, shown, valueLen))) {
    return Fail(code);
  }
  if (!IsOpen(s)) return Fail(kENotSock);
  return 0;
}

int FakeSocketLayer::WSAAsyncSelect(Socket s, WindowHandle window,
                                    unsigned message, long events) {
  if (const int code = Enter(
          "WSAAsyncSelect",
          Join(s, window != nullptr ? "window" : "null", message, events))) {
    return Fail(code);
  }
  if (!IsOpen(s)) return Fail(kENotSock);
  CloseRelay(s);
  if (events != 0) {
    auto* relay = new NotificationRelay(s, window, message);
    relay->setParent(relayParent_.get());
    relays_[s] = new Readiness(relay, *this);
    PostIfWaiting();
  }
  return 0;
}

void FakeSocketLayer::Deliver(const std::vector<std::uint8_t>& bytes,
                              std::uint32_t source) {
  datagrams_.push_back({bytes, source});
  PostIfWaiting();
}

void FakeSocketLayer::PostIfWaiting() {
  if (datagrams_.empty()) return;
  for (auto& [socket, readiness] : relays_) readiness->Arm();
}

int FakeSocketLayer::recvfrom(Socket s, char* buffer, int len, int flags,
                              SockAddrIn* from, int* fromLen) {
  // A receive that throws has taken its datagram: the exception stands for
  // a fault in handling it, not for a datagram that stays.
  if (throws_.count("recvfrom") != 0 && IsOpen(s) && !datagrams_.empty()) {
    datagrams_.pop_front();
  }
  if (const int code = Enter("recvfrom", Join(s, len, flags))) {
    return Fail(code);
  }
  if (!IsOpen(s)) return Fail(kENotSock);
  if (datagrams_.empty()) return Fail(kEAgain);
  const Datagram d = datagrams_.front();
  datagrams_.pop_front();
  const std::size_t n =
      std::min<std::size_t>(d.bytes.size(), static_cast<std::size_t>(len));
  if (n != 0) std::memcpy(buffer, d.bytes.data(), n);
  if (from != nullptr) {
    *from = SockAddrIn();
    from->family = kAfInet;
    from->addr = d.source;
    *fromLen = sizeof(SockAddrIn);
  }
  PostIfWaiting();
  return static_cast<int>(n);
}

int FakeSocketLayer::shutdown(Socket s, int how) {
  if (const int code = Enter("shutdown", Join(s, how))) return Fail(code);
  if (!IsOpen(s)) return Fail(kENotSock);
  return 0;
}

void FakeSocketLayer::CloseRelay(Socket s) {
  const auto it = relays_.find(s);
  if (it == relays_.end()) return;
  static_cast<NotificationRelay*>(it->second->parent())->Close();
  relays_.erase(it);
}

int FakeSocketLayer::closesocket(Socket s) {
  if (const int code = Enter("closesocket", Join(s))) return Fail(code);
  if (!IsOpen(s)) return Fail(kENotSock);
  CloseRelay(s);
  open_.erase(s);
  return 0;
}

int FakeSocketLayer::gethostname(char* name, int len) {
  if (const int code = Enter("gethostname", Join(len))) return Fail(code);
  if (static_cast<int>(hostName_.size()) >= len) return Fail(kEFault);
  std::memcpy(name, hostName_.c_str(), hostName_.size() + 1);
  return 0;
}

const HostEnt* FakeSocketLayer::gethostbyname(const char* name) {
  if (const int code =
          Enter("gethostbyname", name != nullptr ? name : "null")) {
    Fail(code);
    return nullptr;
  }
  if (!resolves_) {
    Fail(2);
    return nullptr;
  }
  return host_.Set(hostName_, hostAddrs_);
}

}  // namespace testing_support
