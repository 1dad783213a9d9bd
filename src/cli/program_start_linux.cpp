#include "cli/program_start.h"

namespace portprobe::cli {

// Arguments already are the bytes the caller passed, and the streams add nothing.
std::vector<std::string> StartProgram(int argc, char** argv) { return std::vector<std::string>(argv + 1, argv + argc); }

}  // namespace portprobe::cli
