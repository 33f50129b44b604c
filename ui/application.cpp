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

QFont WindowFont() {
  QFont f(QStringLiteral("Liberation Sans"));
  f.setStyleHint(QFont::SansSerif);
  f.setPixelSize(11);
  return f;
}

QFont PanelFont() {
  QFont f(QStringLiteral("Liberation Sans Narrow"));
  f.setStyleHint(QFont::SansSerif);
  f.setPixelSize(11);
  return f;
}

void Application::ProcessMessages() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}
