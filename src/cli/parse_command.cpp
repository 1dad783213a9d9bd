// portprobe-cli parse SCRIPT [HEXTEXT]: runs a packet-parser script over a frame, as
// the terminal's tools menu does, and writes what it prints to stdout.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "parser/packet_parser.h"
#include "send/hex_codec.h"
#include "send/parser_script_file.h"

namespace portprobe::cli {

namespace {

int RunParse(const std::vector<std::string>& args) {
  if (args.empty() || args.size() > 2) return UsageError(kParseCommand);
  const std::optional<std::string> script = ReadParserScriptFile(args[0]);
  if (!script) {
    std::fputs("载入解析器失败\n", stderr);
    return kUsageError;
  }
  const ByteFrame frame = ParseHexText(args.size() == 2 ? args[1] : std::string(), kMaxParserFrameBytes);
  bool written = true;
  parser::PacketParser parser([&written](std::string_view text) {
    written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && written;
  });
  parser.RunParser(*script, frame.data(), static_cast<std::uint32_t>(frame.size()));
  // Output that could not be written (full disk, closed pipe) must not look printed.
  return written && std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

const CliCommand kParseCommand = {"parse", "portprobe-cli parse SCRIPT [HEXTEXT]", RunParse};

}  // namespace portprobe::cli
