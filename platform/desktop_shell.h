// The shell on a Linux desktop: "open" hands the address to the desktop's
// launcher (xdg-open), which starts the user's preferred application. The
// launch counts as done only when the launcher says it handed the address
// over (exits with 0); the event loop runs while it is found out.
#pragma once

#include <QString>

#include "shell.h"

namespace platform {

class DesktopShell : public Shell {
 public:
  // `launcher`: the program looked up on PATH.
  explicit DesktopShell(QString launcher = QStringLiteral("xdg-open"))
      : launcher_(std::move(launcher)) {}

  std::intptr_t ShellExecute(QWidget* owner, const std::string& verb,
                             const std::string& file,
                             const std::string& parameters,
                             const std::string& directory, int show) override;

 private:
  QString launcher_;
};

}  // namespace platform
