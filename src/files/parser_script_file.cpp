#include "files/parser_script_file.h"

#include "common/regular_file.h"

namespace portprobe {

std::optional<std::string> ReadParserScriptFile(const std::filesystem::path& path, std::string* error) {
  std::string reason;
  std::optional<std::string> bytes = ReadRegularFile(path.string(), kMaxParserScriptBytes, &reason);
  if (!bytes && error != nullptr) *error = reason;
  return bytes;
}

}  // namespace portprobe
