// portprobe-cli: the terminal's engines (checksums, conversions, packet parsers)
// for scripts and automation.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_command.h"

namespace portprobe::cli {

namespace {

// Subcommands register here, one row each.
const std::vector<const CliCommand*> kCommands = {
    &kChecksumCommand,
    &kConvertCommand,
    &kParseCommand,
};

void PrintUsage() {
  std::fputs("usage: portprobe-cli COMMAND ARGS...\n", stderr);
  for (const CliCommand* command : kCommands) {
    std::fprintf(stderr, "  %.*s\n", static_cast<int>(command->usage.size()), command->usage.data());
  }
}

}  // namespace

}  // namespace portprobe::cli

int main(int argc, char** argv) {
  using namespace portprobe::cli;
  if (argc >= 2) {
    const std::string name = argv[1];
    for (const CliCommand* command : kCommands) {
      if (command->name == name) return command->run(std::vector<std::string>(argv + 2, argv + argc));
    }
  }
  PrintUsage();
  return kUsageError;
}
