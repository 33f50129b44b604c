#include "notification_relay.h"

#include <QCoreApplication>

#include "socket_notify_event.h"

namespace platform {
namespace {

const QEvent::Type kRelayEvent =
    static_cast<QEvent::Type>(QEvent::registerEventType());

}  // namespace

NotificationRelay::NotificationRelay(Socket socket, WindowHandle window,
                                     unsigned message)
    : socket_(socket), window_(window), message_(message) {}

bool NotificationRelay::Post() {
  if (closed_ || pending_) return false;
  pending_ = true;
  QCoreApplication::postEvent(this, new QEvent(kRelayEvent));
  return true;
}

void NotificationRelay::Close() {
  if (closed_) return;
  closed_ = true;
  QCoreApplication::removePostedEvents(this, kRelayEvent);
  deleteLater();
}

bool NotificationRelay::event(QEvent* e) {
  if (e->type() != kRelayEvent) return QObject::event(e);
  if (!closed_ && window_) {
    SocketNotifyEvent notify(message_, socket_, kFdRead);
    QCoreApplication::sendEvent(window_, &notify);
  }
  return true;
}

}  // namespace platform
