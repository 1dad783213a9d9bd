#pragma once

#include <string>
#include <string_view>

#include "common/tick.h"

namespace portprobe {

// "12:34:56.789": the local time of `time` with milliseconds.
std::string ClockText(WallTime time);

// "[12:34:56.789] ": the local time of `time` with milliseconds, as it stands before a
// block or line of the receive box.
std::string TimestampText(WallTime time);
constexpr int kTimestampWidth = 15;

// Puts a timestamp at the start of every line of character text that is shown piece
// by piece. Lines break at CR, LF and CR LF; a CR LF whose two bytes come in two
// pieces is one break. A line's timestamp is the time of the piece that holds its
// first byte, so it is only written once that byte has come.
class LineTimestamps {
 public:
  // Appends `piece` to `text`, with the timestamp of `time` before each line it begins.
  void Stamp(std::string_view piece, WallTime time, std::string& text);
  // The next byte begins a line (the box was cleared, or a line was ended elsewhere).
  void StartLine() {
    atLineStart_ = true;
    afterCr_ = false;
  }
  // The next byte continues the line that stands.
  void ContinueLine() { atLineStart_ = afterCr_ = false; }

 private:
  bool atLineStart_ = true;
  // The last byte was a CR, so an LF next only completes its break.
  bool afterCr_ = false;
};

}  // namespace portprobe
