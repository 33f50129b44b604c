// The standard dialogs as Qt message boxes.
#pragma once

#include <string>

#include "dialogs.h"

namespace platform {

class QtDialogs : public Dialogs {
 public:
  explicit QtDialogs(std::string title) : title_(std::move(title)) {}
  void ShowMessage(const std::string& text) override;
  void ShowException(const std::string& message) override;

 private:
  std::string title_;
};

}  // namespace platform
