#pragma once

#include <cstdint>
#include <string>

#include "serial/line_settings.h"

namespace portprobe {

// What the status line tells of the port: its name, the rate and the texts of the
// rows last applied or picked in the setting lists.
class PortStatus {
 public:
  enum class Setting { DataBits, Parity, StopBits };

  void SetPortName(std::string name) { portName_ = std::move(name); }
  const std::string& PortName() const { return portName_; }
  // Takes row `row` of the list for `setting`; no row (-1) changes nothing.
  void PickRow(Setting setting, int row);
  // Takes the rate; 0 changes nothing.
  void PickBaudRate(std::uint32_t rate);
  const std::string& BaudText() const { return baudText_; }
  void PickRows(const LineSettings& rows);
  std::string Text(bool open) const;

 private:
  std::string portName_;
  std::string baudText_;
  std::string parityLetter_ = "N";
  std::string dataBitsText_;
  std::string stopBitsText_;
};

}  // namespace portprobe
