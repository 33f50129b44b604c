// The message box service: a text, a caption and buttons, waited for until
// the user closes it.
#pragma once

#include <string>

class QWidget;

namespace platform {

inline constexpr unsigned MB_OK = 0x0;  // one OK button, no icon
inline constexpr int IDOK = 1;

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // Shows the box and returns once it is closed, with the button pressed.
  // `owner` null: the box belongs to no window, and while it is open the
  // program's windows go on taking input and the event loop runs on.
  virtual int MessageBox(QWidget* owner, const std::string& text,
                         const std::string& caption, unsigned type) = 0;
};

}  // namespace platform
