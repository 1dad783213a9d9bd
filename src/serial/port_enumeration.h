#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace portprobe {

inline constexpr std::size_t kMaxEnumeratedPorts = 128;

// A serial port as udev knows it.
struct SerialPort {
  std::string name;         // kernel name: ttyUSB0
  std::string path;         // device node: /dev/ttyUSB0
  std::string byIdPath;     // stable link under /dev/serial/by-id, or empty
  std::string description;  // product and serial number where udev has them, or empty
  // Twin adapters without a serial number share one by-id link, which then names no
  // one device: such a device is known again by its path only.
  bool byIdNamesDevice = true;

  bool operator==(const SerialPort&) const = default;
};

// Serial ports that have a real device behind them (ttyUSB0, ttyACM0, ttyS0), sorted by
// name, at most `capacity`. Placeholder UARTs that report no port type are left out.
std::vector<SerialPort> EnumerateSerialPorts(std::size_t capacity = kMaxEnumeratedPorts);

// The listed port that `path` names: its device node, its by-id link, or a link or
// name that resolves to the same node; a port of that path alone when none does.
SerialPort FindSerialPort(const std::string& path);

// A port known only by its path: its by-id link when the path is one.
SerialPort PortOfPath(const std::string& path);

// Whether `other` is the device `known` was: the same by-id link where `known` has
// one (a USB adapter may come back under another name), else the same path.
bool IsSameDevice(const SerialPort& known, const SerialPort& other);

// The path that reaches `port` again after it went away: its by-id link, else its path.
const std::string& ReopenPath(const SerialPort& port);

// A udev property by name, empty when the device has none.
using PropertyLookup = std::function<std::string(const char* name)>;

// "FT232R USB UART (A50285BI)": the product as the device names itself (else as the
// USB database names it, else the vendor), then the serial number in brackets.
std::string PortDescription(const PropertyLookup& property);

// The /dev/serial/by-id link among udev's space-separated DEVLINKS, or empty.
std::string ByIdPath(std::string_view devlinks);

// A port-list row: "ttyUSB0 — FT232R USB UART (A50285BI)", or the name alone.
std::string PortListText(const SerialPort& port);

// Device path of a port-list name: a name starting with "/" is a path already,
// "COMn" is /dev/ttyS(n-1), any other name lives under /dev.
std::string DevicePath(const std::string& portName);

}  // namespace portprobe
