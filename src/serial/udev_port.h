#pragma once

#include <libudev.h>

#include <memory>
#include <optional>

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

}  // namespace portprobe
