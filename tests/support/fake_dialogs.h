// The standard dialogs and the shell for tests: record what was shown or
// asked, and answer at once or after an action run "while the dialog is
// open", inside its own local event loop.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "box_loop.h"
#include "dialogs.h"
#include "shell.h"

namespace testing_support {

class FakeDialogs : public platform::Dialogs {
 public:
  void ShowMessage(const std::string& text) override {
    messages.push_back(text);
    RunBoxLoop(std::function<void()>(whileOpen));
  }
  void ShowException(const std::string& message) override {
    exceptions.push_back(message);
    RunBoxLoop(std::function<void()>(whileOpen));
  }
  std::function<void()> whileOpen;
  std::vector<std::string> messages;
  std::vector<std::string> exceptions;
};

class FakeShell : public platform::Shell {
 public:
  struct Request {
    QWidget* owner;
    std::string verb, file, parameters, directory;
    int show;
  };
  std::intptr_t ShellExecute(QWidget* owner, const std::string& verb,
                             const std::string& file,
                             const std::string& parameters,
                             const std::string& directory, int show) override {
    requests.push_back({owner, verb, file, parameters, directory, show});
    if (throws) throw std::runtime_error("shell threw");
    return result;
  }
  std::intptr_t result = 42;
  bool throws = false;
  std::vector<Request> requests;
};

}  // namespace testing_support
