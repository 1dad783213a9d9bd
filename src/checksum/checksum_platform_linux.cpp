#include "checksum/answer_word.h"
#include "checksum/checksum_platform.h"
#include "codec/hex_format.h"

namespace portprobe {

const char kDefaultResultFile[] = "/tmp/self.txt";

std::string ChecksumProgramPath(const std::string& directory, int number) {
  return directory + "/self_" + std::to_string(number);
}

// One argument; none for an empty frame.
std::vector<std::string> ChecksumProgramArguments(const ByteFrame& frame) {
  if (frame.empty()) return {};
  return {LowerHexDigits(frame)};
}

// An exit status has only 8 bits, so the answer is written on standard output.
std::uint32_t ChecksumProgramAnswer(const RunningProgram& program) {
  return AnswerWord(program.OutputHead(kAnswerOutputLimit), program.ExitStatus());
}

}  // namespace portprobe
