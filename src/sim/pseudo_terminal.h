#pragma once

#include <string>

#include "common/unique_fd.h"
#include "sim/device_end.h"

namespace portprobe::sim {

// A pseudo-terminal pair whose device side (the slave) is left to the terminal: the
// simulator keeps only the master. The device side is put in raw mode once, so bytes
// pass unchanged even before the terminal sets its own line settings.
class PseudoTerminal final : public DeviceEnd {
 public:
  // Throws std::system_error when the pair cannot be made.
  PseudoTerminal();

  int MasterFd() const { return master_.get(); }
  const std::string& DevicePath() const { return devicePath_; }

  // Whether some process (the terminal) has the device open. The kernel reports a
  // hang-up on the master while nobody does.
  bool DeviceOpen() const;

  const std::string& Name() const override { return devicePath_; }
  bool TerminalThere() override { return DeviceOpen(); }
  int Fd() const override { return MasterFd(); }
  void TerminalGone() override;

 private:
  UniqueFd master_;
  std::string devicePath_;
};

}  // namespace portprobe::sim
