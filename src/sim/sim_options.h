#pragma once

#include <string>
#include <vector>

#include "automation/reply_rules.h"
#include "common/byte_frame.h"

namespace portprobe::sim {

// Rules: answers by a rules file (--rules), as the terminal's automatic replies do.
enum class SimRole { Echo, Responder, Stream, Flood, Wave, Rules };

// The CRC that the responder and the stream put after their frames.
enum class SimCrc { Modbus, Xmodem };

struct SimOptions {
  SimRole role = SimRole::Responder;
  std::string linkPath;  // empty: no symbolic link
  std::string listenAddress;  // tcp://HOST:PORT to play the device on; empty: a pseudo-terminal
  ByteFrame reply = {0x01, 0x03, 0x06, 0x00, 0xEA, 0x01, 0x90, 0x00, 0x01};
  SimCrc crc = SimCrc::Modbus;
  std::string rulesPath;         // the rules role's file
  std::vector<ReplyRule> rules;  // read from it by LoadSimRules
  int gapMilliseconds = 20;      // a frame ends after this much silence
  int waveRate = 100;            // the wave role's lines per second
  bool stay = false;             // keep running when the terminal closes the device
  int watchPid = 0;              // 0: watch no process
};

struct SimCommandLine {
  SimOptions options;
  bool help = false;
  std::string error;  // not empty: the arguments cannot be used
};

SimCommandLine ParseSimCommandLine(const std::vector<std::string>& args);

// Reads the rules file of the rules role into `options`. Returns what is wrong with it:
// one text for each line of the file that is no rule, or why it cannot be read; none
// when every line is good.
std::vector<std::string> LoadSimRules(SimOptions& options);

// The role's name on the command line.
const char* RoleName(SimRole role);

// The --help text.
extern const char kSimUsage[];

}  // namespace portprobe::sim
