// The shell on a Linux desktop: "open" hands the address to the desktop's
// preferred application.
#pragma once

#include "shell.h"

namespace platform {

class DesktopShell : public Shell {
 public:
  std::intptr_t ShellExecute(QWidget* owner, const std::string& verb,
                             const std::string& file,
                             const std::string& parameters,
                             const std::string& directory, int show) override;
};

}  // namespace platform
