#pragma once

#include <string>

#include "common/running_program.h"

namespace portprobe {

// What the checksum-program runner needs from its caller: a way to tell the user
// something, and a wait that suits the caller. The terminal keeps its window painting
// while it waits and lets the user stop a program that does not end; the command line
// simply blocks.
class ChecksumProgramHost {
 public:
  virtual ~ChecksumProgramHost() = default;
  virtual void ShowMessage(const std::string& text) = 0;
  // Returns when the program has ended (true) or when the user chose to stop it
  // (false); the runner then kills the program and leaves the frame unchanged.
  virtual bool WaitForProgram(RunningProgram& program) = 0;
};

}  // namespace portprobe
