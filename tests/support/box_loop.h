// What a box does while it is open, for the test doubles of the boxes: a
// local event loop, as a real box runs, in which `action` plays the user
// and the network; the box closes when the action is over.
#pragma once

#include <QEventLoop>
#include <QTimer>
#include <functional>

namespace testing_support {

inline void RunBoxLoop(const std::function<void()>& action) {
  QEventLoop loop;
  QTimer::singleShot(0, &loop, [&] {
    struct Close {
      QEventLoop& loop;
      ~Close() { loop.quit(); }
    } close{loop};
    if (action) action();
  });
  loop.exec();
}

}  // namespace testing_support
