#pragma once

#include <memory>
#include <vector>

#include "serial/port_enumeration.h"

namespace portprobe {

// A serial port that came or went while the program runs.
struct PortChange {
  enum class Kind { Added, Removed };
  Kind kind;
  SerialPort port;
};

// Listens to udev for tty devices that come and go. The owner watches `Fd()` for
// reading (the window through its event loop) and then takes the changes; nothing here
// blocks. Without udev (a container without its netlink socket) `Fd()` is -1, and so
// it is on Windows, which has no watcher: ports that come and go show at the next listing.
class PortWatcher {
 public:
  PortWatcher();
  ~PortWatcher();
  PortWatcher(const PortWatcher&) = delete;
  PortWatcher& operator=(const PortWatcher&) = delete;

  int Fd() const;
  // Every change that arrived since the last call, in order. A removed port carries
  // what udev last knew of it (its by-id path among it).
  std::vector<PortChange> TakeChanges();

 private:
  struct Native;
  std::unique_ptr<Native> native_;
};

}  // namespace portprobe
