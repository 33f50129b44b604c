#include "application.h"

#include <cstdio>
#include <exception>

#include "dialogs.h"

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

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

QFont WindowFont() {
  QFont f(QStringLiteral("Liberation Sans"));
  f.setStyleHint(QFont::SansSerif);
  f.setPixelSize(11);
  return f;
}

void Application::ProcessMessages() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}
