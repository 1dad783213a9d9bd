// portprobe-cli checksum ROW HEXTEXT: appends the checksum of a row of the checksum
// list to a hex frame and prints the frame as the send box would show it.
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "checksum/blocking_program_host.h"
#include "checksum/checksum_engine.h"
#include "checksum/hex_format.h"
#include "cli/cli_command.h"
#include "send/hex_codec.h"

namespace portprobe::cli {

namespace {

struct RowName {
  std::string_view name;
  ChecksumType type;
};

constexpr RowName kRowNames[] = {
    {"1", kXorChecksum},
    {"2", kCrc16LowFirst},
    {"3", kCrc16HighFirst},
    {"4", kFirstCustomChecksum},
    {"5", kFirstCustomChecksum + 1},
    {"6", kFirstCustomChecksum + 2},
    {"xor", kXorChecksum},
    {"crc16le", kCrc16LowFirst},
    {"crc16be", kCrc16HighFirst},
    {"custom1", kFirstCustomChecksum},
    {"custom2", kFirstCustomChecksum + 1},
    {"custom3", kFirstCustomChecksum + 2},
};

std::optional<ChecksumType> ParseRow(std::string_view text) {
  for (const RowName& row : kRowNames) {
    if (row.name == text) return row.type;
  }
  return std::nullopt;
}

int RunChecksumCommand(const std::vector<std::string>& args) {
  const std::optional<ChecksumType> type = args.size() == 2 ? ParseRow(args[0]) : std::nullopt;
  if (!type) return UsageError(kChecksumCommand);
  ByteFrame frame = ParseHexText(args[1]);
  BlockingProgramHost host;  // program messages go to stderr; the frame is still printed
  AppendChecksum(frame, *type, host);
  const std::string text = FormatHexBytes(frame) + "\n";
  std::fwrite(text.data(), 1, text.size(), stdout);
  return 0;
}

}  // namespace

const CliCommand kChecksumCommand = {
    "checksum",
    "portprobe-cli checksum ROW HEXTEXT   (ROW: 1-6 or xor, crc16le, crc16be, custom1-custom3)",
    RunChecksumCommand,
};

}  // namespace portprobe::cli
