#pragma once

#include <chrono>
#include <ctime>

#include "common/tick.h"

namespace portprobe::testing {

// A moment of today that shows as hh:mm:ss.mmm in local time, whatever the time zone.
inline WallTime LocalTime(int hour, int minute, int second, int millisecond) {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  local.tm_hour = hour;
  local.tm_min = minute;
  local.tm_sec = second;
  local.tm_isdst = -1;
  return std::chrono::system_clock::from_time_t(std::mktime(&local)) + std::chrono::milliseconds(millisecond);
}

}  // namespace portprobe::testing
