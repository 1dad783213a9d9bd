// portprobe-cli parse [--timeout SECONDS] SCRIPT [HEXTEXT]: runs a packet-parser script
// over a frame, as the terminal's tools menu does, and writes what it prints to stdout
// as it prints it.
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/error_output.h"
#include "cli/cli_command.h"
#include "cli/parse_stop.h"
#include "common/state_directory.h"
#include "parser/packet_parser.h"
#include "codec/hex_codec.h"
#include "files/parser_script_file.h"
#include "resources/strings.h"

namespace portprobe::cli {

namespace {

constexpr int kUnreadableScript = 2;
constexpr int kTimedOut = 3;
// As a shell reports a command that a signal ended.
constexpr int kStoppedBySignal = 128;

struct ParseArguments {
  std::optional<std::chrono::duration<double>> timeLimit;
  std::string script;
  std::string hexText;
};

std::optional<double> PositiveSeconds(const std::string& text) {
  double seconds = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(seconds) || seconds <= 0) {
    return std::nullopt;
  }
  return seconds;
}

std::optional<ParseArguments> ReadArguments(std::vector<std::string> args) {
  ParseArguments parsed;
  if (!args.empty() && args[0] == "--timeout") {
    const std::optional<double> seconds = args.size() >= 2 ? PositiveSeconds(args[1]) : std::nullopt;
    if (!seconds) return std::nullopt;
    parsed.timeLimit = std::chrono::duration<double>(*seconds);
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.empty() || args.size() > 2) return std::nullopt;
  parsed.script = args[0];
  if (args.size() == 2) parsed.hexText = args[1];
  return parsed;
}

int RunParse(const std::vector<std::string>& args) {
  const std::optional<ParseArguments> parsed = ReadArguments(args);
  if (!parsed) return UsageError(kParseCommand);
  const std::optional<std::string> script = LoadParserScript(parsed->script);
  if (!script) return kUnreadableScript;
  const ByteFrame frame = ParseHexText(parsed->hexText, kMaxParserFrameBytes);
  // Each text goes out at once, so a run that is stopped or killed has shown all it printed.
  bool written = true;
  parser::PacketParser parser([&written](std::string_view text) {
    written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0 && written;
  });
  parser.SetTraceFolder(MakeStateDirectory());
  ParseStop stop(parser, parsed->timeLimit);
  parser.RunParser(*script, frame);
  stop.Finish();
  if (stop.StopSignal() != 0) return kStoppedBySignal + stop.StopSignal();
  if (stop.TimedOut()) {
    WriteError(resources::kParserTimedOutCliText);
    return kTimedOut;
  }
  // Output that could not be written (full disk, closed pipe) must not look printed.
  return written ? 0 : 1;
}

}  // namespace

const CliCommand kParseCommand = {
    "parse",
    "portprobe-cli parse [--timeout SECONDS] SCRIPT [HEXTEXT]",
    RunParse,
};

}  // namespace portprobe::cli
