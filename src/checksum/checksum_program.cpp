#include "checksum/checksum_program.h"

#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

#include "checksum/answer_word.h"
#include "codec/hex_format.h"
#include "checksum/result_file.h"

namespace portprobe {

namespace {

std::string ChecksumProgramPath(const std::string& directory, int number) {
  return directory + "/self_" + std::to_string(number);
}

std::vector<std::string> ChecksumProgramArguments(const std::string& path, const ByteFrame& frame) {
  std::vector<std::string> arguments = {path};
  if (!frame.empty()) arguments.push_back(LowerHexDigits(frame));
  return arguments;
}

// The terminal's environment, with PORTPROBE_RESULT_FILE set to the path in use.
std::vector<std::string> ChecksumProgramEnvironment(const std::string& resultFile) {
  const std::string prefix = std::string(kResultFileVariable) + "=";
  std::vector<std::string> environment;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    if (!std::string_view(*entry).starts_with(prefix)) environment.emplace_back(*entry);
  }
  environment.push_back(prefix + resultFile);
  return environment;
}

std::string MissingProgramMessage(const std::string& path) { return path + " :自定义校验程序不存在!"; }

std::string UnstartableProgramMessage(const std::string& path, int error) {
  return path + " :自定义校验程序无法启动(" + std::generic_category().message(error) + ")!";
}

}  // namespace

std::uint32_t RunChecksumProgram(const ByteFrame& frame, int number, ChecksumProgramHost& host,
                                 const std::string& directory, const std::string& resultFile) {
  const std::string path = ChecksumProgramPath(directory, number);
  std::error_code ignored;
  const std::filesystem::file_status status = std::filesystem::status(path, ignored);
  if (!std::filesystem::exists(status)) {
    host.ShowMessage(MissingProgramMessage(path));
    return 0;
  }
  // Starting a directory fails with EACCES, which would name the wrong reason.
  if (std::filesystem::is_directory(status)) {
    host.ShowMessage(UnstartableProgramMessage(path, EISDIR));
    return 0;
  }
  RunningProgram program(ChecksumProgramArguments(path, frame), ChecksumProgramEnvironment(resultFile));
  if (program.StartError() != 0) {
    host.ShowMessage(UnstartableProgramMessage(path, program.StartError()));
    return 0;
  }
  if (!host.WaitForProgram(program)) {
    program.Kill();
    return 0;
  }
  return AnswerWord(program.OutputHead(kAnswerOutputLimit), program.ExitStatus());
}

}  // namespace portprobe
