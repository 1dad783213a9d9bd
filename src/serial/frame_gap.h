#pragma once

#include <cstdint>

namespace portprobe {

// The pause after which received bytes start a new block, in milliseconds: the bounds
// that the options dialog, the settings file and portprobe-cli monitor --gap keep to.
inline constexpr std::int32_t kMinFrameGapMilliseconds = 1;
inline constexpr std::int32_t kMaxFrameGapMilliseconds = 10000;
// The gap of a first start, of `--gap`'s absence and of a plain device.
inline constexpr std::int32_t kDefaultFrameGapMilliseconds = 100;

}  // namespace portprobe
