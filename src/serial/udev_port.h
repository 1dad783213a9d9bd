#pragma once

#include <libudev.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "serial/port_enumeration.h"

namespace portprobe {

struct UdevUnref {
  void operator()(udev* context) const { udev_unref(context); }
  void operator()(udev_device* device) const { udev_device_unref(device); }
  void operator()(udev_enumerate* enumeration) const { udev_enumerate_unref(enumeration); }
  void operator()(udev_monitor* monitor) const { udev_monitor_unref(monitor); }
};
template <typename T>
using UdevPointer = std::unique_ptr<T, UdevUnref>;

// A tty device as a port, whether or not it is a real serial port.
SerialPort PortOfDevice(udev_device* device);

// Whether a tty device is a serial port with hardware behind it: it has a parent
// device, and a serial-core UART reports a port type (0: nothing answered there).
bool IsRealSerialPort(udev_device* device);

// A udev property by name, empty when the device has none.
using PropertyLookup = std::function<std::string(const char* name)>;

// "FT232R USB UART (A50285BI)": the product as the device names itself (else as the
// USB database names it, else the vendor), then the serial number in brackets.
std::string PortDescription(const PropertyLookup& property);

// The /dev/serial/by-id link among udev's space-separated DEVLINKS, or empty.
std::string ByIdPath(std::string_view devlinks);

}  // namespace portprobe
