// Message boxes as Qt dialogs.
#pragma once

#include "message_box.h"

namespace platform {

class QtMessageBoxes : public MessageBoxes {
 public:
  int MessageBox(QWidget* owner, const std::string& text,
                 const std::string& caption, unsigned type) override;
};

}  // namespace platform
