// The one UDP socket on which HSRP hellos are received: joined to the HSRP
// group on the chosen interface, with each datagram announced to the main
// window as a WM_SOCKET_NOTIFY message and read by ReadMessage.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>

#include "clock.h"
#include "message_box.h"
#include "socket_layer.h"

namespace standora {

inline constexpr std::uint16_t HSRP_PORT = 1985;
inline constexpr const char* HSRP_GROUP = "224.0.0.2";
inline constexpr unsigned WM_SOCKET_NOTIFY = 0x8190;  // WM_APP + 0x190
inline constexpr std::uint16_t kWinsockVersion = 0x0101;
inline constexpr std::size_t kReceiveBufferSize = 256;

// One datagram as ReadMessage hands it on.
struct ReceivedDatagram {
  std::array<std::uint8_t, kReceiveBufferSize> buffer{};
  std::size_t length = 0;    // bytes received, at most 255
  std::uint32_t source = 0;  // sender, network byte order
  std::string timeStamp;     // taken before the read
};

class HsrpListener {
 public:
  using Clock = std::function<platform::TimeOfDay()>;

  HsrpListener(platform::SocketLayer& sockets, platform::MessageBoxes& boxes,
               Clock clock = platform::LocalTimeOfDay);

  // Opens, binds and joins; every failure is shown in an error box. The
  // caller stays in its receiving state whatever happens.
  void StartReception(const std::string& interfaceText,
                      platform::WindowHandle notifyWindow);
  // Reads the one datagram a notification announced. False after a failed
  // receive, which has been shown and has closed the socket. A box lets the
  // event loop run, and datagrams that arrive meanwhile are read too; a
  // receive that fails while one of this listener's boxes is open closes
  // its socket at once and has its box shown after that one, so failures
  // never pile boxes on top of each other.
  bool ReadMessage(ReceivedDatagram& out);
  void StopReception();

  // The socket: INVALID_SOCKET before the first start, 0 after a stop.
  platform::Socket ListenSocket = platform::INVALID_SOCKET;
  std::int32_t FromLen = 0;
  // The text of the last error box.
  std::string ErrorText;

 private:
  void StartSteps(const std::string& interfaceText,
                  platform::WindowHandle notifyWindow);
  // `format` with its placeholder filled by `code`, in decimal.
  static std::string Formatted(const char* format, int code);
  // ErrorText from `format` and `code`, in a box.
  void ShowError(const char* format, int code);
  void ShowBox();
  // Shows, one after another, the boxes of failures that came while a box
  // was open.
  void ShowWaitingErrors();

  platform::SocketLayer& sockets_;
  platform::MessageBoxes& boxes_;
  Clock clock_;
  platform::WsaData wsaData_;
  int boxesOpen_ = 0;
  std::deque<std::string> waitingErrors_;
};

}  // namespace standora
