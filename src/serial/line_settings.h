#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "serial/flow_control.h"
#include "resources/strings.h"

namespace portprobe {

// Rows of the four setting lists, in list order. The fast rates of USB adapters follow
// the original twelve, so those keep their rows.
inline constexpr std::array<const char*, 19> kBaudRows = {
    "300",   "600",    "1200",   "2400",   "4800",   "9600",    "19200",   "38400",   "43000",  "56000",
    "57600", "115200", "230400", "460800", "921600", "1000000", "1500000", "2000000", "3000000"};
inline constexpr std::array<std::uint32_t, 19> BaudRateTable = {
    300,   600,    1200,   2400,   4800,   9600,    19200,   38400,   43000,  56000,
    57600, 115200, 230400, 460800, 921600, 1000000, 1500000, 2000000, 3000000};
// Mark, space, 5 data bits and 1.5 stop bits came later: their rows follow the
// original ones, which keep their places. Linux sets 1.5 stop bits with the flag of
// 2, which the UART makes 1.5 only at 5 data bits (2 at 6 to 8).
inline constexpr std::array<const char*, 5> kParityRows = std::to_array(resources::kParityRowTexts);
inline constexpr std::array<const char*, 5> kParityLetters = {"N", "O", "E", "M", "S"};
// The names the command line takes for the parity rows.
inline constexpr std::array<const char*, 5> kParityNames = {"none", "odd", "even", "mark", "space"};
inline constexpr std::array<const char*, 4> kDataBitsRows = {"8", "7", "6", "5"};
inline constexpr std::array<const char*, 3> kStopBitsRows = {"1", "2", "1.5"};

inline constexpr int kDefaultBaudRow = 5;  // 9600

// The rate and the selected rows of the three other setting lists. The rate is a
// number, since any rate may be typed into the baud list; 0 there, like -1 for a list
// without a selected row, leaves that part of the port's settings as the driver has it.
struct LineSettings {
  std::uint32_t baudRate = BaudRateTable[kDefaultBaudRow];
  int parityRow = 0;
  int dataBitsRow = 0;
  int stopBitsRow = 0;
  FlowControl flowControl = FlowControl::None;
};

// Whether `row` is a row of the list `table`; -1 is a list without a selected row.
template <typename Table>
bool ValidRow(int row, const Table& table) {
  return row >= 0 && static_cast<std::size_t>(row) < table.size();
}

enum class ApplyResult {
  NotATerminal,  // the current settings could not be read
  Refused,       // the driver did not take the new settings
  Applied,
};

// Whether a driver that rounds an arbitrary rate to what its divisor gives still
// keeps `wanted`: within 2% a line still works.
bool RateWithinTolerance(std::uint64_t kept, std::uint64_t wanted);

// The status line: port name, " OPENED," or " CLOSED,", then baud, parity letter,
// data bits and stop bits separated by commas.
std::string StatusLineText(const std::string& portName, bool isOpen, const std::string& baudText,
                           const std::string& parityLetter, const std::string& dataBitsText,
                           const std::string& stopBitsText);

}  // namespace portprobe
