#pragma once

#include <set>
#include <string>

typedef struct _UMockdevTestbed UMockdevTestbed;
typedef struct _UMockdevIoctlBase UMockdevIoctlBase;

namespace portprobe::testing {

// A USB serial adapter as udev describes it.
struct UsbSerialAdapter {
  std::string name;      // ttyUSB0
  std::string model;     // FT232R USB UART
  std::string serial;    // A50285BI
  std::string byIdName;  // the link's name under /dev/serial/by-id
  int minor = 0;         // of the device node, unique in a testbed
};

// A faked sysfs, /dev and udev event stream for this process and the processes it
// starts (umockdev). The test executable runs under umockdev-wrapper, which preloads
// the library that redirects them.
class UdevTestbed {
 public:
  UdevTestbed();
  ~UdevTestbed();
  UdevTestbed(const UdevTestbed&) = delete;
  UdevTestbed& operator=(const UdevTestbed&) = delete;

  // Adds the adapter (a USB device and its tty) and announces it; returns the tty's
  // sysfs path. Its /dev node is a pseudo-terminal whose far end is `DeviceFd`; the
  // node's ioctls reach that terminal.
  std::string AddUsbSerial(const UsbSerialAdapter& adapter);
  // Adds devices from umockdev's text format and announces them.
  void Add(const std::string& description);
  // Announces the device's removal, as udev does on an unplug.
  void AnnounceRemoval(const std::string& sysPath);
  // Takes the device and its node away; nothing may use the node any more.
  void Remove(const std::string& sysPath);
  // The far end of a device node's pseudo-terminal: what the device sends is written here.
  int DeviceFd(const std::string& devicePath);

 private:
  UMockdevTestbed* testbed_;
  UMockdevIoctlBase* passThrough_;
  std::set<std::string> handledPaths_;
};

// Whether the umockdev library is preloaded, so that a testbed takes effect.
bool UnderUmockdev();

}  // namespace portprobe::testing
