// portprobe-cli monitor --port PATH ...: the window's receive box and its automatic
// replies in a shell. Each block that the line's pauses end becomes one line of
// stdout, so the output can be piped, logged and searched.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>

#include "cli/error_output.h"
#include "cli/cli_command.h"
#include "cli/monitor_events.h"
#include "cli/monitor_loop.h"
#include "serial/open_result_text.h"
#include "cli/monitor_options.h"
#include "serial/port_enumeration.h"
#include "serial/serial_link.h"
#include "resources/strings.h"
#include "common/fill_text.h"
#include "common/utf8_path.h"
#include "common/c_file.h"

namespace portprobe::cli {

namespace {

constexpr int kOutputFailed = 1;
constexpr int kCannotStart = 2;

// Every line that is no rule is named with its line number, as a compiler names errors.
std::optional<AutoReplies> LoadRules(const std::string& path) {
  const Expected<RuleFile> file = LoadReplyRules(path);
  if (!file) {
    WriteError(FillText(resources::kRulesUnreadableCliText, {path, UnreadableReason(path, file.Reason())}));
    return std::nullopt;
  }
  for (const std::string& line : RuleErrorLines(path, file->errors)) PrintError("%s\n", line.c_str());
  if (!file->errors.empty()) return std::nullopt;
  AutoReplies replies;
  replies.SetRules(file->rules);
  return replies;
}

// A path as it is, even a relative one, and a name that the working directory holds
// (a link made there), as shell tools take them; otherwise a name of the port list
// (ttyUSB0, COM3) as the window takes it.
std::string PortPath(const std::string& port) {
  std::error_code ignored;
  const bool here =
      !ComPortNumber(port) && std::filesystem::exists(std::filesystem::symlink_status(PathFromUtf8(port), ignored));
  return here || port.find('/') != std::string::npos ? port : DevicePath(port);
}

// The window's status line for the port, so a script (or a test) knows when it listens.
void PrintOpened(const std::string& port, const LineSettings& settings) {
  const std::string status = StatusLineText(port, true, std::to_string(settings.baudRate),
                                            kParityLetters.at(static_cast<std::size_t>(settings.parityRow)),
                                            kDataBitsRows.at(static_cast<std::size_t>(settings.dataBitsRow)),
                                            kStopBitsRows.at(static_cast<std::size_t>(settings.stopBitsRow)));
  PrintError("portprobe-cli monitor: %s (Ctrl-C ends)\n", status.c_str());
}

void PrintSummary(MonitorLoop::End end, const MonitorCounts& counts) {
  const char* why = end == MonitorLoop::End::HungUp         ? "the port hung up"
                    : end == MonitorLoop::End::OutputFailed ? "the output could not be written"
                                                            : "stopped";
  // One write, so that a console shows the line whole.
  std::string line = "portprobe-cli monitor: " + std::string(why) + "; " + std::to_string(counts.blocks) + " blocks, " +
                     std::to_string(counts.bytesReceived) + " bytes received, " + std::to_string(counts.replies) +
                     " replies, " + std::to_string(counts.bytesSent) + " bytes sent";
  if (counts.repliesDropped > 0) {
    line += "; " + std::to_string(counts.repliesDropped) + " replies (" + std::to_string(counts.bytesDropped) +
            " bytes) dropped unsent";
  }
  WriteError(line + "\n");
}

int RunMonitor(const std::vector<std::string>& args) {
  const Expected<MonitorOptions> options = ReadMonitorOptions(args);
  if (!options) {
    WriteError(options.Reason());
    return UsageError(kMonitorCommand);
  }
  std::optional<AutoReplies> replies;
  if (!options->rulesPath.empty() && !(replies = LoadRules(options->rulesPath))) return kCannotStart;
  std::optional<BlockDecoder> decoder;
  if (!options->parserPath.empty()) {
    std::optional<std::string> script = LoadParserScript(options->parserPath);
    if (!script) return kCannotStart;
    decoder.emplace(std::move(*script));
  }

  CFile csv;
  std::optional<SampleCsvLog> samples;
  if (!options->csvPath.empty()) {
    if (!(csv = OpenCFile(options->csvPath, "wb"))) {
      PrintError("portprobe-cli monitor: cannot write %s: %s\n", options->csvPath.c_str(), std::strerror(errno));
      return kCannotStart;
    }
    samples.emplace(csv.get(), TextEncoding::Utf8);
  }

  MonitorEvents events;  // before the link's worker thread starts
  SerialLink link([&events] { events.Wake(); });
  const LineSettings settings = ApplyLineOptions(options->line, LineSettings{});
  const SerialLink::OpenResult opened =
      !events.Ready() ? SerialLink::OpenResult::EventFailed : link.OpenPort(PortPath(options->port), settings);
  if (opened != SerialLink::OpenResult::Opened) {
    PrintError("portprobe-cli monitor: %s: %s\n", options->port.c_str(), TextOf(opened).commandLine);
    return kCannotStart;
  }
  PrintOpened(options->port, settings);

  MonitorLoop loop(link, *options, replies ? &*replies : nullptr, decoder ? &*decoder : nullptr,
                   samples ? &*samples : nullptr, events);
  const MonitorLoop::End end = loop.Run();
  link.ClosePort();
  loop.Finish();
  PrintSummary(loop.OutputFailed() ? MonitorLoop::End::OutputFailed : end, loop.Counts());
  const Outcome logged = samples ? samples->Finish() : Outcome(Done{});
  if (!logged) PrintError("portprobe-cli monitor: %s: %s\n", options->csvPath.c_str(), logged.Reason().c_str());
  return loop.OutputFailed() || !logged ? kOutputFailed : 0;
}

}  // namespace

const CliCommand kMonitorCommand = {
    "monitor",
    "portprobe-cli monitor --port PATH [--baud N] [--parity none|odd|even|mark|space] [--data-bits 5-8]\n"
    "      [--stop-bits 1|1.5|2] [--gap MS] [--text] [--parser FILE] [--rules FILE] [--echo] [--csv FILE]",
    RunMonitor,
};

}  // namespace portprobe::cli
