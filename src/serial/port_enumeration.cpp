#include "serial/port_enumeration.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace portprobe {

namespace fs = std::filesystem;

namespace {

// Serial-core ports expose their UART type; 0 means no UART answered at that address.
bool IsPlaceholderUart(const fs::path& ttyDir) {
  std::ifstream typeFile(ttyDir / "type");
  int type = -1;
  return typeFile >> type && type == 0;
}

bool HasRealDevice(const fs::path& ttyDir) {
  std::error_code error;
  return fs::exists(ttyDir / "device", error) && !IsPlaceholderUart(ttyDir);
}

}  // namespace

std::vector<std::string> EnumerateSerialPorts(const std::string& ttyClassDir, std::size_t capacity) {
  std::vector<std::string> names;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(ttyClassDir, error)) {
    if (HasRealDevice(entry.path())) names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  if (names.size() > capacity) names.resize(capacity);
  return names;
}

std::string DevicePath(const std::string& portName) {
  if (portName.starts_with('/')) return portName;
  if (portName.starts_with("COM")) {
    int number = 0;
    const char* first = portName.data() + 3;
    const char* last = portName.data() + portName.size();
    const auto [end, error] = std::from_chars(first, last, number);
    if (error == std::errc() && end == last && first != last && number >= 1) {
      return "/dev/ttyS" + std::to_string(number - 1);
    }
  }
  return "/dev/" + portName;
}

}  // namespace portprobe
