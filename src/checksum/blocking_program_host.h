#pragma once

#include <iostream>
#include <ostream>
#include <string>

#include "checksum/checksum_program_host.h"

namespace portprobe {

// A host that waits for the program for as long as it runs and writes each message,
// followed by a line feed, to a stream (standard error by default).
class BlockingProgramHost : public ChecksumProgramHost {
 public:
  explicit BlockingProgramHost(std::ostream& messages = std::cerr) : messages_(messages) {}

  void ShowMessage(const std::string& text) override;
  bool WaitForProgram(RunningProgram& program) override;

  // The runner only has something to say when a program could not be used.
  bool ShowedMessage() const { return showedMessage_; }

 private:
  std::ostream& messages_;
  bool showedMessage_ = false;
};

}  // namespace portprobe
