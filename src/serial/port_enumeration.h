#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace portprobe {

inline constexpr std::size_t kMaxEnumeratedPorts = 128;

// Where udev keeps a stable link to each USB serial device (Linux).
inline constexpr std::string_view kByIdFolder = "/dev/serial/by-id/";

// A serial port as the system knows it.
struct SerialPort {
  std::string name;         // kernel name: ttyUSB0; on Windows the port name: COM5
  std::string path;         // device node: /dev/ttyUSB0; on Windows \\.\COM5
  std::string byIdPath;     // stable link under /dev/serial/by-id, or empty (always on Windows)
  std::string description;  // product and serial number where udev has them, the
                            // device's friendly name on Windows, or empty
  // Twin adapters without a serial number share one by-id link, which then names no
  // one device: such a device is known again by its path only.
  bool byIdNamesDevice = true;

  bool operator==(const SerialPort&) const = default;
};

// Serial ports that have a real device behind them (ttyUSB0, ttyACM0, ttyS0), sorted by
// name, at most `capacity`. Placeholder UARTs that report no port type are left out.
// On Windows: the present devices that have a COM port, sorted by its number.
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

// A port-list row: "ttyUSB0 — FT232R USB UART (A50285BI)", or the name alone.
std::string PortListText(const SerialPort& port);

// A USB serial adapter or a USB modem (ttyUSB, ttyACM; on Windows a port whose friendly
// name says USB): the ports that the window may open at start-up without being asked.
bool IsUsbAdapter(const SerialPort& port);

// The kernel's consoles (/proc/consoles: ttyS0, ttyUSB0 ...), which the window never
// opens unasked; none on Windows.
std::vector<std::string> ConsolePortNames();

// Device path of a port-list name: a port on the network keeps its name; otherwise
// LocalDevicePath.
std::string DevicePath(const std::string& portName);
// A name starting with "/" is a path already, "COMn" is /dev/ttyS(n-1), any other name
// lives under /dev. On Windows a name starting with \\.\ is a path already, any other
// is prefixed with it.
std::string LocalDevicePath(const std::string& portName);

// The port name in a device's friendly name: "USB-SERIAL CH340 (COM5)" gives COM5,
// from "(COM" to the next ")" or the end; empty when it has no "(COM".
std::string PortNameInFriendlyName(std::string_view friendlyName);

// n of a name "COMn" with n from 1; nothing for any other name.
std::optional<int> ComPortNumber(std::string_view portName);

}  // namespace portprobe
