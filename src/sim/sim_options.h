#pragma once

#include <string>
#include <vector>

#include "common/byte_frame.h"

namespace portprobe::sim {

enum class SimRole { Echo, Responder, Stream, Flood };

// The CRC that the responder and the stream put after their frames.
enum class SimCrc { Modbus, Xmodem };

struct SimOptions {
  SimRole role = SimRole::Responder;
  std::string linkPath;  // empty: no symbolic link
  ByteFrame reply = {0x01, 0x03, 0x06, 0x00, 0xEA, 0x01, 0x90, 0x00, 0x01};
  SimCrc crc = SimCrc::Modbus;
  bool stay = false;  // keep running when the terminal closes the device
  int watchPid = 0;   // 0: watch no process
};

struct SimCommandLine {
  SimOptions options;
  bool help = false;
  std::string error;  // not empty: the arguments cannot be used
};

SimCommandLine ParseSimCommandLine(const std::vector<std::string>& args);

// The role's name on the command line.
const char* RoleName(SimRole role);

// The --help text.
extern const char kSimUsage[];

}  // namespace portprobe::sim
