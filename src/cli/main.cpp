// portprobe-cli: the terminal's engines (checksums, conversions, packet parsers)
// for scripts and automation.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_command.h"

namespace portprobe::cli {

namespace {

// Subcommands register here, one row each.
const std::vector<const CliCommand*> kCommands = {
    &kChecksumCommand,
    &kConvertCommand,
    &kParseCommand,
    &kPortsCommand,
};

// What --help adds to the usage lines.
constexpr const char* kHelpDetails = R"(
HEXTEXT is read as the terminal's send box reads it: bytes of exactly two hex digits
(0-9, a-f, A-F), each preceded by any number of spaces, CRs or LFs. Reading stops
quietly at the first pair that is not such a byte, so "12 3 45" gives 12 alone, and a
lone digit at the end is dropped ("123" gives 12). parse reads at most 512 bytes.

parse writes what the script prints to stdout as it prints it. Its trace files
__parser__0.txt and __parser__1.txt go to $XDG_STATE_HOME/portprobe
(default ~/.local/state/portprobe), never to the working directory.

ports writes one serial port a line: its path, its /dev/serial/by-id path and its
description (product and serial number), separated by tabs; a field that udev does not
know is empty. With --json: an array of objects {"path", "by_id", "description"}.
No ports is not an error: nothing (or []) is printed and the exit status is 0.

Exit status: 0 done; 1 the output could not be written, or a custom checksum program
is missing or cannot run (the frame is printed unchanged); 2 bad arguments, or a
script that cannot be read (the reason on stderr); 3 parse ran longer than --timeout
("解析器运行超时" on stderr, after what the script printed); 130 parse stopped by
Ctrl-C, after what the script printed.
)";

void PrintUsage(std::FILE* stream) {
  std::fputs("usage: portprobe-cli COMMAND ARGS...\n", stream);
  for (const CliCommand* command : kCommands) {
    std::fprintf(stream, "  %.*s\n", static_cast<int>(command->usage.size()), command->usage.data());
  }
}

}  // namespace

}  // namespace portprobe::cli

int main(int argc, char** argv) {
  using namespace portprobe::cli;
  if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
    PrintUsage(stdout);
    std::fputs(kHelpDetails, stdout);
    return 0;
  }
  if (argc >= 2) {
    const std::string name = argv[1];
    for (const CliCommand* command : kCommands) {
      if (command->name == name) return command->run(std::vector<std::string>(argv + 2, argv + argc));
    }
  }
  PrintUsage(stderr);
  return kUsageError;
}
