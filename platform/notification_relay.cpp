#include "notification_relay.h"

#include <QCoreApplication>

#include "socket_notify_event.h"

namespace platform {

NotificationRelay::NotificationRelay(Socket socket, WindowHandle window,
                                     unsigned message)
    : socket_(socket), window_(window), message_(message) {}

bool NotificationRelay::Notify() {
  if (closed_ || !window_) return false;
  SocketNotifyEvent notify(message_, socket_, kFdRead);
  // The window's handler may close the socket, and with it this relay, and
  // may run event loops of its own: the relay outlives this call.
  ++delivering_;
  struct Done {
    NotificationRelay* r;
    ~Done() {
      if (--r->delivering_ == 0 && r->closed_) r->deleteLater();
    }
  } done{this};
  QCoreApplication::sendEvent(window_, &notify);
  return notify.isAccepted();
}

void NotificationRelay::Close() {
  if (closed_) return;
  closed_ = true;
  if (delivering_ == 0) deleteLater();
}

}  // namespace platform
