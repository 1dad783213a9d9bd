#pragma once

#include <string>

namespace portprobe::sim {

// Where the simulated device meets the terminal: the master of a pseudo-terminal, or
// a TCP port that the terminal connects to.
class DeviceEnd {
 public:
  virtual ~DeviceEnd() = default;
  // What the terminal opens: the device's path, or tcp://HOST:PORT.
  virtual const std::string& Name() const = 0;
  // Whether a terminal is there now; a terminal that has come is taken up.
  virtual bool TerminalThere() = 0;
  // What the device reads and writes while a terminal is there.
  virtual int Fd() const = 0;
  // What tells of a terminal coming while none is there; -1: look again now and then.
  virtual int ArrivalFd() const { return -1; }
  // The terminal went away; what the device held for it is dropped.
  virtual void TerminalGone() = 0;
};

}  // namespace portprobe::sim
