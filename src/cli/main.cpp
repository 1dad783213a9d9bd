// portprobe-cli: the terminal's engines (checksums, conversions, packet parsers) and a
// monitor of a port, for scripts and automation.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_command.h"
#include "cli/error_output.h"
#include "cli/program_start.h"
#include "serial/line_options.h"

namespace portprobe::cli {

namespace {

// Subcommands register here, one row each.
const std::vector<const CliCommand*> kCommands = {
    &kChecksumCommand, &kConvertCommand, &kParseCommand, &kPortsCommand, &kMonitorCommand,
};

// What --help adds to the usage lines.
constexpr const char* kHelpDetails = R"(
HEXTEXT is read as the terminal's send box reads it: bytes of exactly two hex digits
(0-9, a-f, A-F), each preceded by any number of spaces, CRs or LFs. Reading stops
quietly at the first pair that is not such a byte, so "12 3 45" gives 12 alone, and a
lone digit at the end is dropped ("123" gives 12). parse reads at most 512 bytes.
checksum and convert refuse a text that reading stops in, saying where, with exit
status 2; convert dec2hex takes a decimal integer of 32 bits (-2147483648 to
2147483647), hex2dec and hex2bin at most 4 bytes.

parse writes what the script prints to stdout as it prints it. Its trace files
__parser__0.txt and __parser__1.txt go to $XDG_STATE_HOME/portprobe
(default ~/.local/state/portprobe; on Windows %LOCALAPPDATA%\portprobe), never to the
working directory.

ports writes one serial port a line: its path, its /dev/serial/by-id path and its
description (product and serial number), separated by tabs; a field that udev does not
know is empty. With --json: an array of objects {"path", "by_id", "description"}.
No ports is not an error: nothing (or []) is printed and the exit status is 0.

monitor opens the port as the window does (exclusively, raw; 9600 8N1 unless the line
options say otherwise; PATH may also be a name of the port list: ttyUSB0, COM1) and
prints each block of received bytes on one line once the line has paused for longer
than the gap: the local time of the block's first byte, then its bytes as hex, e.g.
  12:34:56.789 01 03 00 00 00 03 05 CB
Each reply goes out as soon as its block has ended and follows it as a line marked TX
(shown as the blocks are):
  12:34:56.791 TX 01 03 06 00 EA 01 90 00 01 F8 B3
)";

// What --help says after the monitor's line options.
constexpr const char* kMonitorHelpDetails =
    R"(  --gap MS           the pause that ends a block, 1 to 10000 ms (default 100)
  --text             show blocks as text in double quotes; control bytes and bytes
                     that are no valid UTF-8 stand as \r \n \t \0 \xHH (and \\ \"), so
                     a block stays on one line
  --rules FILE       answer each block by the first rule that matches it, as the
                     window's "自动应答" does (one rule a line, PATTERN -> REPLY, see
                     readme.txt); a file with mistakes is refused, each mistake named
                     with its line number
  --echo             send every block that no rule answers back unchanged, as a
                     loopback device does, and show it as a TX line
  --parser FILE      run this packet-parser script over each block, as the window's
                     live decoder does, and print its output after the block's lines
Options may also be written --option=value.
stdout is written line by line, so `| tee log.txt` shows each block as it ends. Ctrl-C
(also SIGTERM and SIGHUP on Linux, Ctrl-Break or closing the console on Windows) or the
port hanging up (device unplugged, far end closed) end the monitor with status 0 after
printing the block under way; a one-line summary (blocks, bytes received, replies,
bytes sent) then goes to stderr.

Exit status: 0 done; 1 the output could not be written, or a custom checksum program
is missing or cannot run (the frame is printed unchanged); 2 bad arguments, or a
script that cannot be read (the reason on stderr), or for monitor a port that cannot
be opened or a rules file with mistakes; 3 parse ran longer than --timeout
("解析器运行超时" on stderr, after what the script printed); 130 parse stopped by
Ctrl-C (143 SIGTERM, 129 SIGHUP), after what the script printed.
)";

std::string UsageText() {
  std::string text = "usage: portprobe-cli COMMAND ARGS...   (or --help, --version)\n";
  for (const CliCommand* command : kCommands) text += "  " + std::string(command->usage) + "\n";
  return text;
}

}  // namespace

}  // namespace portprobe::cli

int main(int argc, char** argv) {
  using namespace portprobe::cli;
  const std::vector<std::string> args = StartProgram(argc, argv);
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    std::fputs(UsageText().c_str(), stdout);
    std::fputs(kHelpDetails, stdout);
    std::fputs(portprobe::kLineOptionsHelp, stdout);
    std::fputs(kMonitorHelpDetails, stdout);
    return 0;
  }
  if (args.size() == 1 && args[0] == "--version") return PrintResult("portprobe-cli " PORTPROBE_VERSION "\n");
  if (!args.empty()) {
    for (const CliCommand* command : kCommands) {
      if (command->name == args[0]) return command->run(std::vector<std::string>(args.begin() + 1, args.end()));
    }
  }
  WriteError(UsageText());
  return kUsageError;
}
