#pragma once

#include <cstdint>
#include <span>

#include "parser/runtime/script_value.h"

namespace portprobe::parser {

// The bytes a script runs over: not copied, never written.
struct InputFrame {
  std::span<const std::uint8_t> bytes;
};

// A little-endian value of width 1, 2 or 4 (any other width gives 0) at a signed 16-bit
// byte offset from the frame's start. Bytes outside the frame read as 0.
ScriptValue ReadFrameValue(const InputFrame& frame, ScriptValue offset, ScriptValue width);

}  // namespace portprobe::parser
