// portprobe-cli ports [--json]: the serial ports that the terminal's port list shows,
// for scripts that look for a device by its by-id path or description.
#include <cstdio>
#include <string>

#include "cli/cli_command.h"
#include "serial/port_enumeration.h"

namespace portprobe::cli {

namespace {

// A JSON string: quotes, backslashes and control characters escaped; other bytes
// (UTF-8 descriptions) as they are.
std::string JsonString(const std::string& text) {
  std::string json = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      json += '\\';
      json += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
      json += escape;
    } else {
      json += c;
    }
  }
  return json + "\"";
}

std::string JsonList(const std::vector<SerialPort>& ports) {
  std::string json = "[";
  for (const SerialPort& port : ports) {
    if (json.size() > 1) json += ",";
    json += "\n  {\"path\": " + JsonString(port.path) + ", \"by_id\": " + JsonString(port.byIdPath) +
            ", \"description\": " + JsonString(port.description) + "}";
  }
  return json + (ports.empty() ? "]\n" : "\n]\n");
}

// One port a line, its fields separated by tabs; a field the system does not have (udev
// without a by-id link, any by-id path on Windows) is empty.
std::string TabSeparatedList(const std::vector<SerialPort>& ports) {
  std::string text;
  for (const SerialPort& port : ports) text += port.path + "\t" + port.byIdPath + "\t" + port.description + "\n";
  return text;
}

int RunPortsCommand(const std::vector<std::string>& args) {
  const bool json = args.size() == 1 && args[0] == "--json";
  if (!args.empty() && !json) return UsageError(kPortsCommand);
  const std::vector<SerialPort> ports = EnumerateSerialPorts();
  return PrintResult(json ? JsonList(ports) : TabSeparatedList(ports));
}

}  // namespace

const CliCommand kPortsCommand = {
    "ports",
    "portprobe-cli ports [--json]",
    RunPortsCommand,
};

}  // namespace portprobe::cli
