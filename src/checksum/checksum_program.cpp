#include "checksum/checksum_program.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "checksum/checksum_platform.h"
#include "checksum/result_file.h"
#include "common/utf8_path.h"

namespace portprobe {

namespace {

std::string MissingProgramMessage(const std::string& path) { return path + " :自定义校验程序不存在!"; }

std::string UnstartableProgramMessage(const std::string& path, const std::string& reason) {
  return path + " :自定义校验程序无法启动(" + reason + ")!";
}

}  // namespace

std::uint32_t RunChecksumProgram(const ByteFrame& frame, int number, ChecksumProgramHost& host,
                                 const std::string& directory, const std::string& resultFile) {
  const std::string path = ChecksumProgramPath(directory, number);
  std::error_code ignored;
  const std::filesystem::file_status status = std::filesystem::status(PathFromUtf8(path), ignored);
  if (!std::filesystem::exists(status)) {
    host.ShowMessage(MissingProgramMessage(path));
    return 0;
  }
  // Starting a directory fails as if access were denied, which would name the wrong reason.
  if (std::filesystem::is_directory(status)) {
    host.ShowMessage(UnstartableProgramMessage(path, std::generic_category().message(EISDIR)));
    return 0;
  }
  // The program is told where the result file is.
  RunningProgram program(path, ChecksumProgramArguments(frame), {std::string(kResultFileVariable) + "=" + resultFile});
  if (!program.StartFailure().empty()) {
    host.ShowMessage(UnstartableProgramMessage(path, program.StartFailure()));
    return 0;
  }
  if (!host.WaitForProgram(program)) {
    program.Kill();
    return 0;
  }
  return ChecksumProgramAnswer(program);
}

}  // namespace portprobe
