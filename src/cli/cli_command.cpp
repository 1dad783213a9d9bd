#include "cli/cli_command.h"

#include <cstdio>
#include <filesystem>
#include <string_view>

#include "automation/frame_text.h"
#include "cli/error_output.h"
#include "common/utf8_path.h"
#include "files/parser_script_file.h"
#include "resources/strings.h"
#include "common/fill_text.h"

namespace portprobe::cli {

int BadInput(const CliCommand& command, const std::string& problem, const std::string& argument) {
  PrintError("portprobe-cli %.*s: %s: %s\n", static_cast<int>(command.name.size()), command.name.data(),
             problem.c_str(), TerminalSafeText(argument).c_str());
  return kUsageError;
}

std::string HexStopText(const HexTextStop& stop) {
  return FillText(resources::kHexStopsText, {std::to_string(stop.character)});
}

int UsageError(const CliCommand& command) {
  PrintError("usage: %.*s\n", static_cast<int>(command.usage.size()), command.usage.data());
  return kUsageError;
}

int PrintResult(std::string_view text) {
  // A result that could not be written (full disk, closed pipe) must not look printed.
  const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
  return written && std::fflush(stdout) == 0 ? 0 : 1;
}

// A folder is named as such: the shared readers only say it is no regular file.
std::string UnreadableReason(const std::string& path, const std::string& reason) {
  std::error_code ignored;
  return std::filesystem::is_directory(PathFromUtf8(path), ignored) ? resources::kIsFolderReason : reason;
}

std::optional<std::string> LoadParserScript(const std::string& path) {
  const Expected<std::string> script = ReadParserScriptFile(PathFromUtf8(path));
  if (script) return *script;
  WriteError(FillText(resources::kParserUnreadableCliText, {path, UnreadableReason(path, script.Reason())}));
  return std::nullopt;
}

}  // namespace portprobe::cli
