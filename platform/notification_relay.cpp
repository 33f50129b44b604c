#include "notification_relay.h"

#include <QCoreApplication>

#include "socket_notify_event.h"

namespace platform {

NotificationRelay::NotificationRelay(Socket socket, WindowHandle window,
                                     unsigned message)
    : socket_(socket), window_(window), message_(message) {}

bool NotificationRelay::Notify() {
  if (closed_ || !window_) return false;
  // The window's handler may close the socket, and with it this relay, and
  // may run event loops of its own: the relay outlives this call.
  ++delivering_;
  struct Done {
    NotificationRelay* r;
    ~Done() {
      if (--r->delivering_ == 0 && r->closed_) r->deleteLater();
    }
  } done{this};
  bool taken = Deliver();
  // The window declined a notification while it was handling this one
  // (the socket became readable again meanwhile): it is handled now, one
  // after another, without a pass of the event loop in between, which the
  // handler's own processing of pending messages has just made.
  while (taken && readableAgain_ && !closed_ && window_) taken = Deliver();
  return taken;
}

bool NotificationRelay::Deliver() {
  SocketNotifyEvent notify(message_, socket_, kFdRead);
  readableAgain_ = false;
  QCoreApplication::sendEvent(window_, &notify);
  if (!notify.isAccepted()) readableAgain_ = true;
  return notify.isAccepted();
}

void NotificationRelay::Close() {
  if (closed_) return;
  closed_ = true;
  if (delivering_ == 0) deleteLater();
}

}  // namespace platform
