#pragma once

#include <ctime>

namespace portprobe {

// The local calendar time of `seconds`, thread-safe (each system has its own call).
std::tm LocalTime(std::time_t seconds);

}  // namespace portprobe
