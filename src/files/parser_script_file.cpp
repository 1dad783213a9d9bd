#include "files/parser_script_file.h"

#include "common/regular_file.h"

namespace portprobe {

Expected<std::string> ReadParserScriptFile(const std::filesystem::path& path) {
  return ReadRegularFile(path.string(), kMaxParserScriptBytes);
}

}  // namespace portprobe
