// Message boxes for tests: records each box and, instead of waiting for a
// click, runs an optional action "while the box is open", inside the box's
// own local event loop.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "box_loop.h"
#include "message_box.h"

namespace testing_support {

struct ShownBox {
  QWidget* owner;
  std::string text;
  std::string caption;
  unsigned type;
};

class FakeMessageBoxes : public platform::MessageBoxes {
 public:
  int MessageBox(QWidget* owner, const std::string& text,
                 const std::string& caption, unsigned type) override {
    shown.push_back({owner, text, caption, type});
    ++open;
    // A copy, so the action may replace itself.
    RunBoxLoop(std::function<void()>(whileOpen));
    --open;
    return platform::IDOK;
  }

  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const ShownBox& b : shown) texts.push_back(b.text);
    return texts;
  }

  std::vector<ShownBox> shown;
  std::function<void()> whileOpen;
  int open = 0;
};

}  // namespace testing_support
