// No watcher on Windows: Fd() is -1 and no change ever arrives.
#include "serial/port_watcher.h"

namespace portprobe {

struct PortWatcher::Native {};

PortWatcher::PortWatcher() : native_(std::make_unique<Native>()) {}

PortWatcher::~PortWatcher() = default;

int PortWatcher::Fd() const { return -1; }

std::vector<PortChange> PortWatcher::TakeChanges() { return {}; }

}  // namespace portprobe
