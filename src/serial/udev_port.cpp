#include "serial/udev_port.h"

#include <cstring>

namespace portprobe {

SerialPort PortOfDevice(udev_device* device) {
  const auto property = [device](const char* name) {
    const char* value = udev_device_get_property_value(device, name);
    return std::string(value != nullptr ? value : "");
  };
  const char* node = udev_device_get_devnode(device);
  const char* name = udev_device_get_sysname(device);
  SerialPort port;
  port.name = name != nullptr ? name : "";
  port.path = node != nullptr ? node : DevicePath(port.name);
  port.byIdPath = ByIdPath(property("DEVLINKS"));
  port.byIdNamesDevice = port.byIdPath.empty() || !property("ID_SERIAL_SHORT").empty();
  port.description = PortDescription(property);
  return port;
}

bool IsRealSerialPort(udev_device* device) {
  if (udev_device_get_parent(device) == nullptr) return false;
  const char* type = udev_device_get_sysattr_value(device, "type");
  return type == nullptr || std::strcmp(type, "0") != 0;
}

}  // namespace portprobe
