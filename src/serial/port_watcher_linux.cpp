#include "serial/port_watcher.h"

#include <cstring>

#include "serial/udev_port.h"

namespace portprobe {

struct PortWatcher::Native {
  UdevPointer<udev> context{udev_new()};
  UdevPointer<udev_monitor> monitor;
};

PortWatcher::PortWatcher() : native_(std::make_unique<Native>()) {
  if (!native_->context) return;
  native_->monitor.reset(udev_monitor_new_from_netlink(native_->context.get(), "udev"));
  if (!native_->monitor) return;
  if (udev_monitor_filter_add_match_subsystem_devtype(native_->monitor.get(), "tty", nullptr) < 0 ||
      udev_monitor_enable_receiving(native_->monitor.get()) < 0) {
    native_->monitor.reset();
  }
}

PortWatcher::~PortWatcher() = default;

int PortWatcher::Fd() const { return native_->monitor ? udev_monitor_get_fd(native_->monitor.get()) : -1; }

// The monitor's socket does not block: receiving returns nothing once it is drained.
std::vector<PortChange> PortWatcher::TakeChanges() {
  std::vector<PortChange> changes;
  if (!native_->monitor) return changes;
  while (UdevPointer<udev_device> device{udev_monitor_receive_device(native_->monitor.get())}) {
    const char* action = udev_device_get_action(device.get());
    if (action == nullptr) continue;
    if (std::strcmp(action, "add") == 0 && IsRealSerialPort(device.get())) {
      changes.push_back({PortChange::Kind::Added, PortOfDevice(device.get())});
    } else if (std::strcmp(action, "remove") == 0) {
      changes.push_back({PortChange::Kind::Removed, PortOfDevice(device.get())});
    }
  }
  return changes;
}

}  // namespace portprobe
