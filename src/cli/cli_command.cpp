#include "cli/cli_command.h"

#include <cstdio>

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

}  // namespace portprobe::cli
