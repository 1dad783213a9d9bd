#include "session/port_status.h"

#include <cstddef>

#include "resources/strings.h"

namespace portprobe {

namespace {

template <typename Rows>
void CopyRow(const Rows& rows, int row, std::string& text) {
  if (row >= 0 && static_cast<std::size_t>(row) < rows.size()) text = rows[static_cast<std::size_t>(row)];
}

}  // namespace

void PortStatus::PickRow(Setting setting, int row) {
  switch (setting) {
    case Setting::DataBits:
      CopyRow(kDataBitsRows, row, dataBitsText_);
      break;
    case Setting::Parity:
      CopyRow(kParityLetters, row, parityLetter_);
      break;
    case Setting::StopBits:
      CopyRow(kStopBitsRows, row, stopBitsText_);
      break;
  }
}

void PortStatus::PickBaudRate(std::uint32_t rate) {
  if (rate != 0) baudText_ = std::to_string(rate);
}

void PortStatus::PickRows(const LineSettings& rows) {
  PickBaudRate(rows.baudRate);
  PickRow(Setting::DataBits, rows.dataBitsRow);
  PickRow(Setting::Parity, rows.parityRow);
  PickRow(Setting::StopBits, rows.stopBitsRow);
}

// With no port chosen yet (none found at start-up) the line says so alone.
std::string PortStatus::Text(bool open) const {
  if (portName_.empty()) return resources::kNoSerialDeviceText;
  return StatusLineText(portName_, open, baudText_, parityLetter_, dataBitsText_, stopBitsText_);
}

}  // namespace portprobe
