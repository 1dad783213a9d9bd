#pragma once

#include <chrono>
#include <ctime>

#include "common/tick.h"
#include "serial/local_time.h"

namespace portprobe::testing {

// A moment of today that shows as hh:mm:ss.mmm in local time, whatever the time zone.
inline WallTime LocalTime(int hour, int minute, int second, int millisecond) {
  std::tm local = portprobe::LocalTime(std::time(nullptr));
  local.tm_hour = hour;
  local.tm_min = minute;
  local.tm_sec = second;
  local.tm_isdst = -1;
  return std::chrono::system_clock::from_time_t(std::mktime(&local)) + std::chrono::milliseconds(millisecond);
}

}  // namespace portprobe::testing
