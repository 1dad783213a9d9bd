// portprobe-cli checksum ROW HEXTEXT: appends the checksum of a row of the checksum
// list to a hex frame and prints the frame as the send box would show it.
#include <cstdio>
#include <span>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "checksum/blocking_program_host.h"
#include "checksum/checksum_engine.h"
#include "checksum/checksum_rows.h"
#include "codec/hex_format.h"
#include "cli/error_output.h"
#include "cli/cli_command.h"
#include "codec/hex_codec.h"
#include "common/fill_text.h"
#include "resources/strings.h"

namespace portprobe::cli {

namespace {

// A row of the checksum list from 1 on, by its name or its number.
std::optional<ChecksumType> ParseRow(std::string_view text) {
  const std::span<const ChecksumRow> rows = ChecksumRows();
  for (ChecksumType row = 1; row < static_cast<ChecksumType>(rows.size()); ++row) {
    if (text == rows[row].cliName || text == std::to_string(row)) return row;
  }
  return std::nullopt;
}

// One name a line, in list order.
std::string RowNames() {
  std::string names;
  for (const ChecksumRow& row : ChecksumRows()) {
    if (!row.cliName.empty()) names.append(row.cliName).append("\n");
  }
  return names;
}

int RunChecksumCommand(const std::vector<std::string>& args) {
  if (args.size() == 1 && args[0] == "--list") return PrintResult(RowNames());
  if (args.size() != 2 || args[0].starts_with('-')) return UsageError(kChecksumCommand);
  const std::optional<ChecksumType> type = ParseRow(args[0]);
  if (!type) {
    WriteError(FillText(resources::kUnknownChecksumCliText, {args[0]}) + RowNames());
    return kUsageError;
  }
  if (const std::optional<HexTextStop> stop = FindHexTextStop(args[1])) {
    return BadInput(kChecksumCommand, HexStopText(*stop), args[1]);
  }
  ByteFrame frame = ParseHexText(args[1]);
  std::ostringstream messages;  // a program's messages go to stderr; the frame is still printed
  BlockingProgramHost host(messages);
  AppendChecksum(frame, *type, host);
  WriteError(messages.str());
  const int printed = PrintResult(FormatHexBytes(frame) + "\n");
  // A program that is missing or cannot run leaves the frame unchanged: not a success.
  return host.ShowedMessage() ? 1 : printed;
}

}  // namespace

const CliCommand kChecksumCommand = {
    "checksum",
    "portprobe-cli checksum ROW HEXTEXT | --list   (ROW: a row number from 1, or a name that --list prints)",
    RunChecksumCommand,
};

}  // namespace portprobe::cli
