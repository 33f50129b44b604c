#include "hsrp_listener.h"

#include "address.h"
#include "monitor_state.h"

namespace standora {

using namespace platform;

HsrpListener::HsrpListener(SocketLayer& sockets, MessageBoxes& boxes,
                           Clock clock)
    : sockets_(sockets), boxes_(boxes), clock_(std::move(clock)) {}

std::string HsrpListener::Formatted(const char* format, int code) {
  std::string text = format;
  const auto at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, std::to_string(code));
  return text;
}

void HsrpListener::ShowError(const char* format, int code) {
  ErrorText = Formatted(format, code);
  ShowBox();
}

void HsrpListener::ShowBox() {
  ++boxesOpen_;
  struct Closed {
    int& open;
    ~Closed() { --open; }
  } closed{boxesOpen_};
  boxes_.MessageBox(nullptr, ErrorText, "Error", MB_OK);
}

void HsrpListener::ShowWaitingErrors() {
  // Only the outermost box's caller shows them, so boxes never nest.
  while (boxesOpen_ == 0 && !waitingErrors_.empty()) {
    ErrorText = std::move(waitingErrors_.front());
    waitingErrors_.pop_front();
    ShowBox();
  }
}

// Each step runs only when the one before it succeeded. A box lets the
// event loop run, so by the time it is closed the user may have stopped and
// started again: a failure closes the socket it happened on, never whatever
// ListenSocket holds by then.
void HsrpListener::StartReception(const std::string& interfaceText,
                                  WindowHandle notifyWindow) {
  StartSteps(interfaceText, notifyWindow);
  ShowWaitingErrors();
}

void HsrpListener::StartSteps(const std::string& interfaceText,
                              WindowHandle notifyWindow) {
  const int started = sockets_.WSAStartup(kWinsockVersion, &wsaData_);
  if (started != 0) {
    ShowError("WSAStartup failed! Error: %s", started);
    return;
  }

  ListenSocket = sockets_.socket(kAfInet, kSockDgram, 0);
  const Socket s = ListenSocket;
  if (s == INVALID_SOCKET) {
    ShowError("Allocating socket failed! Error: %s",
              sockets_.WSAGetLastError());
    return;
  }

  SockAddrIn local;
  local.family = kAfInet;
  local.port = Htons(HSRP_PORT);
  local.addr = InetAddr(interfaceText.c_str());
  if (sockets_.bind(s, &local, sizeof local) == SOCKET_ERROR) {
    ShowError("Binding socket failed! Error: %s", sockets_.WSAGetLastError());
    sockets_.closesocket(s);
    return;
  }

  IpMreq membership;
  membership.multiaddr = InetAddr(HSRP_GROUP);
  membership.interface = InetAddr(interfaceText.c_str());
  if (sockets_.setsockopt(s, kIpProtoIp, kIpAddMembership, &membership,
                          sizeof membership) == SOCKET_ERROR) {
    ShowError("setsockopt failed! Error: %s", sockets_.WSAGetLastError());
    sockets_.closesocket(s);
    return;
  }

  if (sockets_.WSAAsyncSelect(s, notifyWindow, WM_SOCKET_NOTIFY, kFdRead) ==
      SOCKET_ERROR) {
    ShowError("WSAAsyncSelect failed! Error: %s", sockets_.WSAGetLastError());
    sockets_.closesocket(s);
  }
}

bool HsrpListener::ReadMessage(ReceivedDatagram& out) {
  FromLen = sizeof(SockAddrIn);
  const TimeOfDay now = clock_();
  out.timeStamp =
      TimeStampText(now.hours, now.minutes, now.seconds, now.milliseconds);

  const Socket s = ListenSocket;
  SockAddrIn from;
  const int received = sockets_.recvfrom(
      s, reinterpret_cast<char*>(out.buffer.data()),
      static_cast<int>(kReceiveBufferSize - 1), 0, &from, &FromLen);
  if (received == SOCKET_ERROR) {
    constexpr const char* kFailed = "recvfrom failed! Error: %s";
    const int code = sockets_.WSAGetLastError();
    if (boxesOpen_ != 0) {
      // A box of ours is open: this one waits its turn, and its socket,
      // which would otherwise fail again and again meanwhile, is closed now.
      waitingErrors_.push_back(Formatted(kFailed, code));
      sockets_.closesocket(s);
      return false;
    }
    ShowError(kFailed, code);
    sockets_.closesocket(s);
    ShowWaitingErrors();
    return false;
  }
  out.buffer[kReceiveBufferSize - 1] = 0;
  out.length = received < 0 ? 0 : static_cast<std::size_t>(received);
  out.source = from.addr;
  return true;
}

void HsrpListener::StopReception() {
  sockets_.shutdown(ListenSocket, kSdReceive);
  sockets_.closesocket(ListenSocket);
  ListenSocket = 0;
  sockets_.WSACleanup();
}

}  // namespace standora
