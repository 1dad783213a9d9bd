// A COM port opens for one program at a time on Windows, so an open port has no
// other holders to name.
#include "serial/device_holders.h"

namespace portprobe {

std::vector<DeviceHolder> FindDeviceHolders(const std::string&, const std::string&) { return {}; }

bool MayReopenDevice(const std::string&) { return true; }

}  // namespace portprobe
