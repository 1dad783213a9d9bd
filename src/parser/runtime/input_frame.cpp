#include "parser/runtime/input_frame.h"

namespace portprobe::parser {

Word ReadFrameValue(const InputFrame& frame, Word offset, Word width) {
  if (width != 1 && width != 2 && width != 4) return 0;
  const std::int64_t start = static_cast<std::int16_t>(offset);
  Word value = 0;
  for (Word i = 0; i < width; ++i) {
    const std::int64_t position = start + i;
    if (position >= 0 && position < static_cast<std::int64_t>(frame.bytes.size()))
      value |= static_cast<Word>(frame.bytes[position]) << (8 * i);
  }
  return value;
}

}  // namespace portprobe::parser
