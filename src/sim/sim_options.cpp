#include "sim/sim_options.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string_view>

#include "codec/hex_codec.h"
#include "serial/frame_gap.h"
#include "serial/network_address.h"

namespace portprobe::sim {

const char kSimUsage[] =
    "usage: portprobe-sim [--role ROLE] [--rules FILE] [--link PATH | --listen tcp://HOST:PORT]\n"
    "                     [--reply HEXTEXT] [--crc CRC] [--gap MS] [--rate HZ] [--stay] [--watch-pid PID]\n"
    "\n"
    "A serial device simulator for PortProbe. It creates a pseudo-terminal pair, prints\n"
    "the device to open in the terminal (portprobe --port PATH) as the first line of its\n"
    "standard output, and plays a device there. Notes go to standard error.\n"
    "\n"
    "Roles:\n"
    "  responder  (default) answers every frame it receives (bytes followed by 20 ms of\n"
    "             silence, or --gap) with the reply frame and its CRC-16/MODBUS, low byte\n"
    "             first.\n"
    "             The default reply frame is 01 03 06 00 EA 01 90 00 01, Modbus-RTU style:\n"
    "             device 1, function 3, 6 data bytes holding the registers 234, 400, 1.\n"
    "  echo       sends back every byte it receives.\n"
    "  stream     sends frames AA 55 NN followed by their CRC (NN counts up), three at a\n"
    "             time 30 ms apart, with 500 ms between the groups: in hexadecimal\n"
    "             display every group is a block of its own.\n"
    "  flood      sends 00 01 02 ... FF 00 01 ... as fast as the device takes them.\n"
    "  wave       prints three series as text lines for the waveform view, 100 lines a\n"
    "             second (or --rate): sine:0.588 square:1 noise:0.132\n"
    "  rules      (chosen by --rules FILE) answers every frame it receives by the first\n"
    "             rule of FILE that matches it, as the terminal's automatic replies do;\n"
    "             a frame that no rule matches gets no answer. One rule a line,\n"
    "             PATTERN -> REPLY, where PATTERN is hex bytes that the start of the frame\n"
    "             must have (?? matches any byte; +NAME after it: the frame must end in\n"
    "             that checksum of the bytes before it) and REPLY hex bytes or \"text\" with\n"
    "             \\r \\n \\t \\0 \\\\ \\\" \\xHH escapes, optionally followed by +NAME, a\n"
    "             checksum of portprobe-cli checksum (e.g. +crc16-modbus). # starts a\n"
    "             comment. A file with a line that is no rule is refused (exit 2).\n"
    "\n"
    "Options:\n"
    "  --role ROLE       echo, responder, stream, flood or wave\n"
    "  --rules FILE      answer by the rules in FILE (the rules role)\n"
    "  --link PATH       also make PATH a symbolic link to the device, removed at the end\n"
    "  --listen tcp://HOST:PORT\n"
    "                    play the device on a TCP port instead, for one connection at a time;\n"
    "                    the terminal opens tcp://HOST:PORT. It listens on that address only:\n"
    "                    127.0.0.1 keeps it to this machine\n"
    "  --reply HEXTEXT   the responder's reply frame, e.g. \"7E 03 01 01 55\"\n"
    "  --crc CRC         the CRC after the responder's and the stream's frames: modbus\n"
    "                    (CRC-16/MODBUS, the default) or xmodem (CRC-16/XMODEM)\n"
    "  --gap MS          the silence in milliseconds that ends a frame (1 to 10000; 20)\n"
    "  --rate HZ         the wave role's lines per second (1 to 10000; 100)\n"
    "  --stay            keep running when the terminal closes the device, for its next open;\n"
    "                    a frame not yet answered then is dropped, never sent to the next open\n"
    "  --watch-pid PID   end when the process PID ends\n"
    "  -h, --help        show this text\n"
    "\n"
    "It ends cleanly on Ctrl-C, SIGTERM or SIGHUP, when the terminal closes the device\n"
    "(unless --stay is given) and when the watched process ends.\n";

namespace {

constexpr int kMaxWaveRate = 10'000;

struct RoleEntry {
  SimRole role;
  const char* name;
};
// The rules role is chosen by its file, so --role does not name it.
constexpr RoleEntry kRoleNames[] = {{SimRole::Echo, "echo"},
                                    {SimRole::Responder, "responder"},
                                    {SimRole::Stream, "stream"},
                                    {SimRole::Flood, "flood"},
                                    {SimRole::Wave, "wave"},
                                    {SimRole::Rules, "rules"}};

std::optional<SimRole> ParseRole(std::string_view text) {
  for (const RoleEntry& entry : kRoleNames) {
    if (text == entry.name && entry.role != SimRole::Rules) return entry.role;
  }
  return std::nullopt;
}

std::optional<int> ParsePositive(std::string_view text) {
  int number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end != text.data() + text.size() || number <= 0) return std::nullopt;
  return number;
}

// The decoder stops quietly at the first bad pair; a reply given on the command line
// must be hex text to its end, two digits for every decoded byte.
bool IsWholeHexText(std::string_view text, std::size_t decodedBytes) {
  std::size_t digits = 0;
  for (const char c : text) digits += (c != ' ' && c != '\r' && c != '\n');
  return digits == 2 * decodedBytes;
}

// Applies an option that takes a value; returns an error text, empty when it fits.
std::string ApplyValue(std::string_view name, const std::string& value, SimOptions& options) {
  if (name == "--role") {
    const std::optional<SimRole> role = ParseRole(value);
    if (!role) return "unknown role: " + value;
    options.role = *role;
  } else if (name == "--rules") {
    if (value.empty()) return "--rules needs a file";
    options.role = SimRole::Rules;
    options.rulesPath = value;
  } else if (name == "--link") {
    if (value.empty()) return "--link needs a path";
    options.linkPath = value;
  } else if (name == "--listen") {
    const std::optional<NetworkAddress> address = ParseNetworkAddress(value);
    if (!address || address->protocol != NetworkAddress::Protocol::RawTcp) return "--listen needs tcp://HOST:PORT";
    options.listenAddress = value;
  } else if (name == "--crc") {
    if (value != "modbus" && value != "xmodem") return "unknown CRC: " + value;
    options.crc = value == "modbus" ? SimCrc::Modbus : SimCrc::Xmodem;
  } else if (name == "--reply") {
    options.reply = ParseHexText(value);
    if (options.reply.empty() || !IsWholeHexText(value, options.reply.size())) {
      return "--reply needs hex text such as \"01 02 03\"";
    }
  } else if (name == "--gap") {
    const std::optional<int> gap = ParsePositive(value);
    if (!gap || *gap > kMaxFrameGapMilliseconds) return "--gap needs milliseconds from 1 to 10000";
    options.gapMilliseconds = *gap;
  } else if (name == "--rate") {
    const std::optional<int> rate = ParsePositive(value);
    if (!rate || *rate > kMaxWaveRate) return "--rate needs lines per second from 1 to 10000";
    options.waveRate = *rate;
  } else {
    const std::optional<int> pid = ParsePositive(value);
    if (!pid) return "--watch-pid needs a process id";
    options.watchPid = *pid;
  }
  return {};
}

bool TakesValue(std::string_view arg) {
  return arg == "--role" || arg == "--rules" || arg == "--link" || arg == "--listen" || arg == "--reply" || arg == "--crc" ||
         arg == "--gap" || arg == "--rate" || arg == "--watch-pid";
}

}  // namespace

const char* RoleName(SimRole role) {
  for (const RoleEntry& entry : kRoleNames) {
    if (entry.role == role) return entry.name;
  }
  return "";
}

std::vector<std::string> LoadSimRules(SimOptions& options) {
  Expected<RuleFile> file = LoadReplyRules(options.rulesPath);
  if (!file) return {"cannot read the rules file " + options.rulesPath + ": " + file.Reason()};
  options.rules = std::move(file->rules);
  return RuleErrorLines(options.rulesPath, file->errors);
}

SimCommandLine ParseSimCommandLine(const std::vector<std::string>& args) {
  SimCommandLine result;
  for (std::size_t i = 0; i < args.size() && result.error.empty(); ++i) {
    const std::string& arg = args[i];
    if (arg == "-h" || arg == "--help") {
      result.help = true;
    } else if (arg == "--stay") {
      result.options.stay = true;
    } else if (TakesValue(arg) && i + 1 < args.size()) {
      result.error = ApplyValue(arg, args[++i], result.options);
    } else {
      result.error = TakesValue(arg) ? arg + " needs a value" : "unknown argument: " + arg;
    }
  }
  const auto given = [&args](const char* option) { return std::find(args.begin(), args.end(), option) != args.end(); };
  if (result.error.empty() && given("--rules") && given("--role"))
    result.error = "--rules and --role exclude each other";
  if (result.error.empty() && given("--link") && given("--listen"))
    result.error = "--link and --listen exclude each other";
  return result;
}

}  // namespace portprobe::sim
