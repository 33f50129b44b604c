#include "clock.h"

#include <chrono>
#include <ctime>

namespace platform {

TimeOfDay LocalTimeOfDay() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t t = system_clock::to_time_t(now);
  // Worked out once a second: a flood asks many times within one.
  thread_local std::time_t second = -1;
  thread_local std::tm local{};
  if (t != second) {
    localtime_r(&t, &local);
    second = t;
  }
  const auto ms =
      duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
  return {local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(ms)};
}

}  // namespace platform
