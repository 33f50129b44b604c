// Carries one socket's read readiness to its window as a notification,
// delivered at once from the event loop, and none after Close().
//
// The window may decline a notification (it ignores the event) when it
// cannot take one now; the socket is still readable, so the relay is asked
// again on a later pass of the event loop. A window thus never misses a
// datagram and the relay keeps no queue of its own.
#pragma once

#include <QObject>
#include <QPointer>

#include "socket_layer.h"

namespace platform {

class NotificationRelay : public QObject {
 public:
  NotificationRelay(Socket socket, WindowHandle window, unsigned message);

  // The socket can be read: tells the window. True when the window took
  // the notification; false when it declined or the relay is closed.
  bool Notify();
  bool closed() const { return closed_; }
  // No notification is delivered from now on. The relay (with its
  // children) deletes itself once no notification of it is on the stack
  // and control is back in the event loop.
  void Close();

 private:
  // Sends one notification; true when the window took it.
  bool Deliver();

  int delivering_ = 0;
  // A notification was declined since the last one was taken.
  bool readableAgain_ = false;
  Socket socket_;
  QPointer<QObject> window_;
  unsigned message_;
  bool closed_ = false;
};

}  // namespace platform
