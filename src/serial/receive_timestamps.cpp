#include "serial/receive_timestamps.h"

#include <cstdio>

#include "serial/local_time.h"

namespace portprobe {

std::string ClockText(WallTime time) {
  const auto sinceEpoch = std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch());
  auto seconds = static_cast<std::time_t>(sinceEpoch.count() / 1000);
  auto milliseconds = static_cast<int>(sinceEpoch.count() % 1000);
  if (milliseconds < 0) {  // before 1970: the remainder counts back from the next second
    milliseconds += 1000;
    --seconds;
  }
  const std::tm local = LocalTime(seconds);
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", local.tm_hour, local.tm_min, local.tm_sec, milliseconds);
  return text;
}

std::string TimestampText(WallTime time) { return "[" + ClockText(time) + "] "; }

// Whole runs without a break are copied at once: floods of text pass through here.
void LineTimestamps::Stamp(std::string_view piece, WallTime time, std::string& text) {
  std::string stamp;
  while (!piece.empty()) {
    const bool completesCrLf = afterCr_ && piece.front() == '\n';
    if (atLineStart_ && !completesCrLf) {
      if (stamp.empty()) stamp = TimestampText(time);
      text += stamp;
      atLineStart_ = false;
    }
    const std::size_t breakAt = completesCrLf ? 0 : piece.find_first_of("\r\n");
    const std::size_t end = breakAt == std::string_view::npos ? piece.size() : breakAt + 1;
    text += piece.substr(0, end);
    if (breakAt != std::string_view::npos) {
      atLineStart_ = true;
      afterCr_ = piece[breakAt] == '\r';
    } else {
      afterCr_ = false;
    }
    piece.remove_prefix(end);
  }
}

}  // namespace portprobe
