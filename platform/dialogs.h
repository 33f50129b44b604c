// The class library's standard dialogs: the plain message dialog and the box
// that shows an exception.
#pragma once

#include <string>

namespace platform {

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // Modal for the whole program, centred on the screen, the application
  // title as caption, no icon, one OK button. Returns once it is closed.
  virtual void ShowMessage(const std::string& text) = 0;
  // The exception's message under the application title, with an error icon
  // and one OK button. Returns once it is closed.
  virtual void ShowException(const std::string& message) = 0;
};

}  // namespace platform
