// Carries one socket's read readiness to its window as a posted
// notification, at most one pending at a time, and none after Close().
#pragma once

#include <QObject>
#include <QPointer>

#include "socket_layer.h"

namespace platform {

class NotificationRelay : public QObject {
 public:
  NotificationRelay(Socket socket, WindowHandle window, unsigned message);

  // Posts a notification unless one is already pending or the relay is
  // closed. Returns true when one was posted.
  bool Post();
  // The program read from the socket: the next Post() may go out.
  void Consumed() { pending_ = false; }
  bool pending() const { return pending_; }
  // No notification is delivered from now on, also none already posted.
  // The relay deletes itself once control is back in the event loop.
  void Close();

 protected:
  bool event(QEvent* e) override;

 private:
  Socket socket_;
  QPointer<QObject> window_;
  unsigned message_;
  bool pending_ = false;
  bool closed_ = false;
};

}  // namespace platform
