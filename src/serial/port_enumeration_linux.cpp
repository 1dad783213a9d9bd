#include "serial/port_enumeration.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>

#include "serial/udev_port.h"

namespace portprobe {

namespace {

// udev keeps a device's own strings in *_ENC properties with \xNN escapes.
std::string DecodeUdevString(const std::string& encoded) {
  std::string text;
  for (std::size_t i = 0; i < encoded.size(); ++i) {
    unsigned byte = 0;
    const char* digits = encoded.data() + i + 2;
    if (encoded.compare(i, 2, "\\x") == 0 && i + 4 <= encoded.size() &&
        std::from_chars(digits, digits + 2, byte, 16).ptr == digits + 2) {
      text += static_cast<char>(byte);
      i += 3;
    } else {
      text += encoded[i];
    }
  }
  return text;
}

// udev replaces spaces by underscores in the plain ID_MODEL.
std::string Spaced(std::string text) {
  std::replace(text.begin(), text.end(), '_', ' ');
  return text;
}

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string ProductName(const PropertyLookup& property) {
  if (std::string model = Trimmed(DecodeUdevString(property("ID_MODEL_ENC"))); !model.empty()) return model;
  if (std::string model = Spaced(property("ID_MODEL")); !model.empty()) return model;
  if (std::string model = property("ID_MODEL_FROM_DATABASE"); !model.empty()) return model;
  return property("ID_VENDOR_FROM_DATABASE");
}

}  // namespace

std::vector<SerialPort> EnumerateSerialPorts(std::size_t capacity) {
  std::vector<SerialPort> ports;
  const UdevPointer<udev> context(udev_new());
  if (!context) return ports;
  const UdevPointer<udev_enumerate> enumeration(udev_enumerate_new(context.get()));
  if (!enumeration) return ports;
  udev_enumerate_add_match_subsystem(enumeration.get(), "tty");
  udev_enumerate_scan_devices(enumeration.get());
  udev_list_entry* entry = nullptr;
  udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumeration.get())) {
    const UdevPointer<udev_device> device(udev_device_new_from_syspath(context.get(), udev_list_entry_get_name(entry)));
    if (device && IsRealSerialPort(device.get())) ports.push_back(PortOfDevice(device.get()));
  }
  std::sort(ports.begin(), ports.end(), [](const SerialPort& a, const SerialPort& b) { return a.name < b.name; });
  if (ports.size() > capacity) ports.resize(capacity);
  return ports;
}

std::string PortDescription(const PropertyLookup& property) {
  std::string description = ProductName(property);
  const std::string serial = property("ID_SERIAL_SHORT");
  if (!serial.empty()) description += (description.empty() ? "(" : " (") + serial + ")";
  return description;
}

std::string ByIdPath(std::string_view devlinks) {
  while (!devlinks.empty()) {
    const std::size_t end = std::min(devlinks.find(' '), devlinks.size());
    if (devlinks.substr(0, end).starts_with(kByIdFolder)) return std::string(devlinks.substr(0, end));
    devlinks.remove_prefix(std::min(end + 1, devlinks.size()));
  }
  return "";
}

bool IsUsbAdapter(const SerialPort& port) { return port.name.starts_with("ttyUSB") || port.name.starts_with("ttyACM"); }

// Each line of /proc/consoles starts with the device's name.
std::vector<std::string> ConsolePortNames() {
  std::ifstream consoles("/proc/consoles");
  std::vector<std::string> names;
  std::string line;
  while (std::getline(consoles, line)) {
    std::istringstream words(line);
    std::string name;
    if (words >> name) names.push_back(name);
  }
  return names;
}

std::string LocalDevicePath(const std::string& portName) {
  if (portName.starts_with('/')) return portName;
  if (const std::optional<int> number = ComPortNumber(portName)) return "/dev/ttyS" + std::to_string(*number - 1);
  return "/dev/" + portName;
}

}  // namespace portprobe
