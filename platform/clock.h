// The local time of day, for time stamps.
#pragma once

namespace platform {

struct TimeOfDay {
  int hours = 0;
  int minutes = 0;
  int seconds = 0;
  int milliseconds = 0;
};

TimeOfDay LocalTimeOfDay();

}  // namespace platform
