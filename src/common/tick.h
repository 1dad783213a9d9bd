#pragma once

#include <chrono>
#include <cstdint>

namespace portprobe {

// Milliseconds of a monotonic clock, truncated to 32 bits. Ticks wrap after about
// 49 days, so two ticks are compared through their signed 32-bit difference.
using Tick = std::uint32_t;

Tick CurrentTick();

// The wall-clock time at which bytes arrived, for the timestamps the user reads. Ticks
// measure pauses; this only names the moment.
using WallTime = std::chrono::system_clock::time_point;

inline std::int32_t TickDifference(Tick later, Tick earlier) { return static_cast<std::int32_t>(later - earlier); }

}  // namespace portprobe
