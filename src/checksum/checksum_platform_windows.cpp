#include "checksum/checksum_platform.h"
#include "codec/hex_format.h"

namespace portprobe {

const char kDefaultResultFile[] = "C:\\self.txt";

std::string ChecksumProgramPath(const std::string& directory, int number) {
  return directory + "\\self_" + std::to_string(number) + ".exe";
}

// The command line is the path, two spaces and the digits, unquoted; an empty frame
// leaves the two spaces alone.
std::vector<std::string> ChecksumProgramArguments(const ByteFrame& frame) { return {"  " + LowerHexDigits(frame)}; }

// The exit code is the whole 32-bit answer; a killed program answers 0.
std::uint32_t ChecksumProgramAnswer(const RunningProgram& program) { return program.ExitStatus().value_or(0); }

}  // namespace portprobe
