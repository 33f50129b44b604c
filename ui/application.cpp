#include "application.h"

#include <cstdio>
#include <exception>

#include "dialogs.h"

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
  // The windows' font for everything, the message boxes included.
  setFont(WindowFont());
}

void Application::ShowException(const char* message) {
  if (dialogs_ != nullptr) {
    dialogs_->ShowException(message);
  } else {
    std::fprintf(stderr, "%s: %s\n", kApplicationTitle, message);
  }
}

bool Application::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    ShowException(e.what());
  } catch (...) {
    ShowException("Unknown exception.");
  }
  return false;
}

QByteArray PlatformFor(const QByteArray& chosen, const QByteArray& display) {
  if (!chosen.isEmpty() || display.isEmpty()) return {};
  return QByteArrayLiteral("xcb");
}

namespace {

// A sans-serif face at the 11 pixels the windows' fixed layouts were drawn
// for.
QFont SansAt11(const QString& family) {
  QFont f(family);
  f.setStyleHint(QFont::SansSerif);
  f.setPixelSize(11);
  return f;
}

}  // namespace

QFont WindowFont() { return SansAt11(QStringLiteral("Liberation Sans")); }

QFont PanelFont() { return SansAt11(QStringLiteral("Liberation Sans Narrow")); }

void Application::ProcessMessages() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}
