#include "cli/cli_command.h"

#include <cstdio>
#include <filesystem>
#include <string_view>

#include "common/utf8_path.h"
#include "files/parser_script_file.h"
#include "resources/strings.h"
#include "common/fill_text.h"

namespace portprobe::cli {

int UsageError(const CliCommand& command) {
  std::fprintf(stderr, "usage: %.*s\n", static_cast<int>(command.usage.size()), command.usage.data());
  return kUsageError;
}

int PrintResult(std::string_view text) {
  // A result that could not be written (full disk, closed pipe) must not look printed.
  const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
  return written && std::fflush(stdout) == 0 ? 0 : 1;
}

std::optional<std::string> LoadParserScript(const std::string& path) {
  std::error_code ignored;
  const std::filesystem::path scriptPath = PathFromUtf8(path);
  // A folder is named as such: the shared reader only says it is no regular file.
  const Expected<std::string> script = std::filesystem::is_directory(scriptPath, ignored)
                                           ? Failure{resources::kIsFolderReason}
                                           : ReadParserScriptFile(scriptPath);
  if (script) return *script;
  std::fputs(FillText(resources::kParserUnreadableCliText, {path, script.Reason()}).c_str(), stderr);
  return std::nullopt;
}

}  // namespace portprobe::cli
