#pragma once

#include <array>

#include "serial/line_settings.h"

namespace portprobe {

// The termios side of PortDevice on Linux. Kept apart from termios_rows.h, whose
// kernel definitions clash with <termios.h>.

// Puts the line into raw mode with the given settings and flow control. Rates with a
// speed code go through it, the others (43000, 56000, any typed rate) as arbitrary
// rates; a rate that the driver does not keep counts as refused.
ApplyResult ApplyLineSettings(int fd, const LineSettings& settings);

// The driver's settings as a port was found, put back when it is closed, so that a
// terminal shared with a shell (/dev/tty) is not left raw.
class SavedLineSettings {
 public:
  bool Save(int fd);
  void Restore(int fd) const;

 private:
  // Holds a termios2, whose header clashes with <termios.h> used elsewhere.
  alignas(8) std::array<unsigned char, 64> bytes_{};
  bool saved_ = false;
};

}  // namespace portprobe
