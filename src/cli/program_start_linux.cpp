#include "cli/program_start.h"

#include <csignal>

namespace portprobe::cli {

// Arguments already are the bytes the caller passed, and the streams add nothing. A
// closed pipe fails the write, which the commands report with exit status 1, instead
// of killing the process.
std::vector<std::string> StartProgram(int argc, char** argv) {
  std::signal(SIGPIPE, SIG_IGN);
  return std::vector<std::string>(argv + 1, argv + argc);
}

}  // namespace portprobe::cli
