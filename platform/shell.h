// The desktop shell: asks it to act on a file or address with a verb.
#pragma once

#include <cstdint>
#include <string>

class QWidget;

namespace platform {

inline constexpr int SW_SHOWNORMAL = 1;

class Shell {
 public:
  virtual ~Shell() = default;
  // Greater than 32 on success; 32 or less is an error code.
  virtual std::intptr_t ShellExecute(QWidget* owner, const std::string& verb,
                                     const std::string& file,
                                     const std::string& parameters,
                                     const std::string& directory,
                                     int show) = 0;
};

}  // namespace platform
