#include "parser/runtime/input_frame.h"

namespace portprobe::parser {

ScriptValue ReadFrameValue(const InputFrame& frame, ScriptValue offset, ScriptValue width) {
  if (width != 1 && width != 2 && width != 4) return 0;
  const std::int64_t start = static_cast<std::int16_t>(offset);
  ScriptValue value = 0;
  for (ScriptValue i = 0; i < width; ++i) {
    const std::int64_t position = start + i;
    if (position >= 0 && position < static_cast<std::int64_t>(frame.bytes.size()))
      value |= static_cast<ScriptValue>(frame.bytes[position]) << (8 * i);
  }
  return value;
}

}  // namespace portprobe::parser
