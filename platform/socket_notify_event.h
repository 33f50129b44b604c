// The notification a socket posts to its window: the message number chosen
// in WSAAsyncSelect, the socket, and the event (kFdRead).
#pragma once

#include <QEvent>

#include "socket_layer.h"

namespace platform {

class SocketNotifyEvent : public QEvent {
 public:
  SocketNotifyEvent(unsigned message, Socket socket, long events)
      : QEvent(static_cast<QEvent::Type>(message)),
        socket_(socket),
        events_(events) {}

  Socket socket() const { return socket_; }
  long events() const { return events_; }

 private:
  Socket socket_;
  long events_;
};

}  // namespace platform
