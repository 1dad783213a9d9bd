#pragma once

#include <string>
#include <vector>

namespace portprobe::testing {

struct CliRun {
  int exitStatus = -1;
  std::string out;
  std::string err;
};

// Runs a program as a real process, in `workingDirectory` when one is given, and
// collects its exit status and both output streams. The arguments are quoted for
// the shell and so must not hold a single quote.
CliRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                  const std::string& workingDirectory = "");

}  // namespace portprobe::testing
