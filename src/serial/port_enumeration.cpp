#include "serial/port_enumeration.h"

#include <charconv>
#include <filesystem>
#include <system_error>

#include "serial/network_address.h"

namespace portprobe {

namespace {

bool SameDevice(const std::string& path, const SerialPort& port) {
  if (path == port.path || path == port.byIdPath) return true;
  std::error_code error;
  return std::filesystem::equivalent(path, port.path, error);
}

bool KnownById(const SerialPort& port) { return !port.byIdPath.empty() && port.byIdNamesDevice; }

}  // namespace

SerialPort FindSerialPort(const std::string& path) {
  for (SerialPort& port : EnumerateSerialPorts()) {
    if (SameDevice(path, port)) return std::move(port);
  }
  return PortOfPath(path);
}

SerialPort PortOfPath(const std::string& path) {
  SerialPort port;
  port.name = path;
  port.path = path;
  if (path.starts_with(kByIdFolder)) port.byIdPath = path;
  return port;
}

bool IsSameDevice(const SerialPort& known, const SerialPort& other) {
  return KnownById(known) ? other.byIdPath == known.byIdPath : other.path == known.path;
}

const std::string& ReopenPath(const SerialPort& port) { return KnownById(port) ? port.byIdPath : port.path; }

std::string DevicePath(const std::string& portName) {
  return IsNetworkPortName(portName) ? portName : LocalDevicePath(portName);
}

std::string PortListText(const SerialPort& port) {
  return port.description.empty() ? port.name : port.name + " — " + port.description;
}

std::string PortNameInFriendlyName(std::string_view friendlyName) {
  const std::size_t open = friendlyName.find("(COM");
  if (open == std::string_view::npos) return "";
  const std::string_view name = friendlyName.substr(open + 1);
  return std::string(name.substr(0, name.find(')')));
}

std::optional<int> ComPortNumber(std::string_view portName) {
  if (!portName.starts_with("COM")) return std::nullopt;
  int number = 0;
  const char* first = portName.data() + 3;
  const char* last = portName.data() + portName.size();
  const auto [end, error] = std::from_chars(first, last, number);
  if (error != std::errc() || end != last || first == last || number < 1) return std::nullopt;
  return number;
}

}  // namespace portprobe
