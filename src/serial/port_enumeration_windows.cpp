// The COM ports that the device-setup service knows: devices of the ports class and
// devices that offer the COM port interface, present now.
#include "serial/port_enumeration.h"

#include <windows.h>
// The class and interface GUIDs are defined here, not taken from a library.
#include <initguid.h>
#include <devguid.h>
#include <setupapi.h>
#include <winioctl.h>

#include <algorithm>
#include <cctype>

#include "common/wide_text.h"

namespace portprobe {

namespace {

// A text property of the device; empty when it has none.
std::string RegistryText(HDEVINFO list, SP_DEVINFO_DATA& device, DWORD property) {
  DWORD size = 0;
  SetupDiGetDeviceRegistryPropertyW(list, &device, property, nullptr, nullptr, 0, &size);
  if (size == 0) return "";
  std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
  if (!SetupDiGetDeviceRegistryPropertyW(list, &device, property, nullptr, reinterpret_cast<BYTE*>(text.data()), size,
                                         nullptr)) {
    return "";
  }
  text.resize(text.find(L'\0'));
  return Utf8FromWide(text);
}

// The port name that the port's driver keeps in the device's own registry key.
std::string PortNameValue(HDEVINFO list, SP_DEVINFO_DATA& device) {
  const HKEY key = SetupDiOpenDevRegKey(list, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
  if (key == INVALID_HANDLE_VALUE) return "";
  wchar_t name[64] = {};
  DWORD size = sizeof name - sizeof(wchar_t);
  DWORD type = 0;
  const bool read =
      RegQueryValueExW(key, L"PortName", nullptr, &type, reinterpret_cast<BYTE*>(name), &size) == ERROR_SUCCESS &&
      type == REG_SZ;
  RegCloseKey(key);
  return read ? Utf8FromWide(name) : "";
}

// Adds the COM ports among the devices of one list; printer ports (LPT1) share the
// ports class and are left out.
void AddPorts(HDEVINFO list, std::vector<SerialPort>& ports) {
  if (list == INVALID_HANDLE_VALUE) return;
  SP_DEVINFO_DATA device{};
  device.cbSize = sizeof device;
  for (DWORD index = 0; SetupDiEnumDeviceInfo(list, index, &device); ++index) {
    SerialPort port;
    port.description = RegistryText(list, device, SPDRP_FRIENDLYNAME);
    port.name = PortNameValue(list, device);
    if (port.name.empty()) port.name = PortNameInFriendlyName(port.description);
    if (!ComPortNumber(port.name)) continue;
    port.path = LocalDevicePath(port.name);
    const bool known =
        std::any_of(ports.begin(), ports.end(), [&](const SerialPort& p) { return p.name == port.name; });
    if (!known) ports.push_back(std::move(port));
  }
  SetupDiDestroyDeviceInfoList(list);
}

}  // namespace

std::vector<SerialPort> EnumerateSerialPorts(std::size_t capacity) {
  std::vector<SerialPort> ports;
  AddPorts(SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT), ports);
  AddPorts(SetupDiGetClassDevsW(&GUID_DEVINTERFACE_COMPORT, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE),
           ports);
  std::sort(ports.begin(), ports.end(),
            [](const SerialPort& a, const SerialPort& b) { return *ComPortNumber(a.name) < *ComPortNumber(b.name); });
  if (ports.size() > capacity) ports.resize(capacity);
  return ports;
}

std::string LocalDevicePath(const std::string& portName) {
  constexpr std::string_view kDevicePrefix = R"(\\.\)";
  if (portName.starts_with(kDevicePrefix)) return portName;
  return std::string(kDevicePrefix) + portName;
}

bool IsUsbAdapter(const SerialPort& port) {
  std::string description = port.description;
  std::transform(description.begin(), description.end(), description.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return description.find("USB") != std::string::npos;
}

std::vector<std::string> ConsolePortNames() { return {}; }

}  // namespace portprobe
