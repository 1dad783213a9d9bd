#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "codec/hex_codec.h"

namespace portprobe::cli {

// Exit status of a subcommand given arguments it cannot use.
inline constexpr int kUsageError = 2;

// One subcommand of portprobe-cli: its name, its usage line and its entry point,
// which receives the arguments after the subcommand's name.
struct CliCommand {
  std::string_view name;
  std::string_view usage;
  int (*run)(const std::vector<std::string>& args);
};

// portprobe-cli checksum ROW HEXTEXT
extern const CliCommand kChecksumCommand;
// portprobe-cli convert dec2hex|hex2dec|hex2bin TEXT
extern const CliCommand kConvertCommand;
// Runs a packet-parser script over a hex frame: portprobe-cli parse SCRIPT [HEXTEXT].
extern const CliCommand kParseCommand;
// Lists the serial ports: portprobe-cli ports [--json].
extern const CliCommand kPortsCommand;
// Shows what arrives on a port block by block, and answers it: portprobe-cli monitor --port PATH ...
extern const CliCommand kMonitorCommand;

// Prints the command's usage line to stderr and returns kUsageError.
int UsageError(const CliCommand& command);

// Why a file given on the command line cannot be read: `reason`, or that it is a folder.
std::string UnreadableReason(const std::string& path, const std::string& reason);

// A packet-parser script, read without ever blocking on a FIFO or a device; nothing
// when it cannot be read, which is then said on stderr.
std::optional<std::string> LoadParserScript(const std::string& path);

// Writes a command's result to stdout; 0 when it was written, 1 otherwise.
int PrintResult(std::string_view text);

// Says on stderr that the command's argument is no input it can take, and returns
// kUsageError. The argument shows escaped.
int BadInput(const CliCommand& command, const std::string& problem, const std::string& argument);
// "第N个字符起不是十六进制".
std::string HexStopText(const HexTextStop& stop);

}  // namespace portprobe::cli
