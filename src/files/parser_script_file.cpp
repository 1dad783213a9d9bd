#include "files/parser_script_file.h"

#include "common/regular_file.h"

namespace portprobe {

// As UTF-8: path.string() would be in the ANSI code page on Windows.
Expected<std::string> ReadParserScriptFile(const std::filesystem::path& path) {
  const std::u8string utf8 = path.u8string();
  return ReadTextFile(std::string(utf8.begin(), utf8.end()), kMaxParserScriptBytes);
}

}  // namespace portprobe
