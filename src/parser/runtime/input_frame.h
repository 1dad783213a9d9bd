#pragma once

#include <cstdint>
#include <span>

#include "parser/runtime/word.h"

namespace portprobe::parser {

// The bytes a script runs over: not copied, never written.
struct InputFrame {
  std::span<const std::uint8_t> bytes;
};

// A little-endian value of width 1, 2 or 4 (any other width gives 0) at a signed 16-bit
// byte offset from the frame's start. Bytes outside the frame read as 0.
Word ReadFrameValue(const InputFrame& frame, Word offset, Word width);

}  // namespace portprobe::parser
