#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace portprobe {

// Rows of the four setting lists, in list order.
inline constexpr std::array<const char*, 12> kBaudRows = {"300",   "600",   "1200",  "2400",  "4800",  "9600",
                                                          "19200", "38400", "43000", "56000", "57600", "115200"};
inline constexpr std::array<std::uint32_t, 12> BaudRateTable = {300,   600,   1200,  2400,  4800,  9600,
                                                                19200, 38400, 43000, 56000, 57600, 115200};
// Mark, space, 5 data bits and 1.5 stop bits came later: their rows follow the
// original ones, which keep their places. Linux sets 1.5 stop bits with the flag of
// 2, which the UART makes 1.5 only at 5 data bits (2 at 6 to 8).
inline constexpr std::array<const char*, 5> kParityRows = {"无None", "奇Odd", "偶Even", "标志Mark", "空格Space"};
inline constexpr std::array<const char*, 5> kParityLetters = {"N", "O", "E", "M", "S"};
// The names the command line takes for the parity rows.
inline constexpr std::array<const char*, 5> kParityNames = {"none", "odd", "even", "mark", "space"};
inline constexpr std::array<const char*, 4> kDataBitsRows = {"8", "7", "6", "5"};
inline constexpr std::array<const char*, 3> kStopBitsRows = {"1", "2", "1.5"};

inline constexpr int kDefaultBaudRow = 5;  // 9600

// The selected rows of the four setting lists; -1 means no row is selected, which
// leaves that part of the port's settings as the driver has it.
struct LineSettings {
  int baudRow = kDefaultBaudRow;
  int parityRow = 0;
  int dataBitsRow = 0;
  int stopBitsRow = 0;
};

enum class ApplyResult {
  NotATerminal,  // the current settings could not be read
  Refused,       // the driver did not take the new settings
  Applied,
};

// Puts the line into raw mode with the given settings. Flow control stays as the
// driver had it. Standard rates go through the classic speed codes, the others
// (43000, 56000) as arbitrary rates; a rate that the driver does not keep counts
// as refused.
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

// The status line: port name, " OPENED," or " CLOSED,", then baud, parity letter,
// data bits and stop bits separated by commas.
std::string StatusLineText(const std::string& portName, bool isOpen, const std::string& baudText,
                           const std::string& parityLetter, const std::string& dataBitsText,
                           const std::string& stopBitsText);

}  // namespace portprobe
