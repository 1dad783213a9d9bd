#include "common/state_directory.h"

#include <filesystem>
#include <system_error>

#include "common/utf8_path.h"

namespace portprobe {

std::string MakeStateDirectory() {
  const std::string folder = StateDirectory();
  std::error_code error;
  std::filesystem::create_directories(PathFromUtf8(folder), error);
  return std::filesystem::is_directory(PathFromUtf8(folder), error) ? folder : std::string();
}

}  // namespace portprobe
