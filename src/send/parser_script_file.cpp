#include "send/parser_script_file.h"

#include <fstream>
#include <system_error>

namespace portprobe {

std::optional<std::string> ReadParserScriptFile(const std::filesystem::path& path) {
  // file_size fails for directories and other files whose size cannot be known.
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error || size > kMaxParserScriptBytes) return std::nullopt;
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size), '\0');
  file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (file.gcount() != static_cast<std::streamsize>(bytes.size())) return std::nullopt;
  return bytes;
}

}  // namespace portprobe
