#include "udev/udev_testbed.h"

#include <gtest/gtest.h>
#include <umockdev.h>

#include <filesystem>

namespace portprobe::testing {

namespace fs = std::filesystem;

namespace {

// umockdev answers the ioctls of its device nodes itself, and refuses the terminal
// ones; these run on the pseudo-terminal behind the node, as on a real adapter.
gboolean RunOnTheTerminal(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer) {
  gint error = 0;
  const gint result = umockdev_ioctl_client_execute(client, &error, nullptr);
  umockdev_ioctl_client_complete(client, result, error);
  return TRUE;
}

}  // namespace

UdevTestbed::UdevTestbed() : testbed_(umockdev_testbed_new()), passThrough_(umockdev_ioctl_base_new()) {
  g_signal_connect(passThrough_, "handle-ioctl", G_CALLBACK(RunOnTheTerminal), nullptr);
}

UdevTestbed::~UdevTestbed() {
  g_object_unref(testbed_);
  g_object_unref(passThrough_);
}

std::string UdevTestbed::AddUsbSerial(const UsbSerialAdapter& adapter) {
  const std::string usb = "/devices/pci0000:00/usb1/1-" + std::to_string(adapter.minor + 1);
  const std::string tty = usb + "/" + adapter.name;
  const std::string model = adapter.model;
  std::string modelWord = model;
  for (char& c : modelWord) c = c == ' ' ? '_' : c;
  Add("P: " + usb + "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\nA: idVendor=0403\nA: idProduct=6001\n\n" + "P: " + tty +
      "\nN: " + adapter.name + "\nS: serial/by-id/" + adapter.byIdName + "\nE: SUBSYSTEM=tty\nE: DEVNAME=/dev/" +
      adapter.name + "\nE: ID_BUS=usb\nE: ID_MODEL=" + modelWord +
      "\nE: ID_MODEL_FROM_DATABASE=FT232 Serial (UART) IC\nE: ID_VENDOR_FROM_DATABASE=Future Technology Devices" +
      "\nE: ID_SERIAL_SHORT=" + adapter.serial + "\nE: DEVLINKS=/dev/serial/by-id/" + adapter.byIdName +
      " /dev/serial/by-path/pci-0000:00:14.0-usb-0:" + std::to_string(adapter.minor + 1) +
      ":1.0-port0\nA: dev=188:" + std::to_string(adapter.minor) + "\n");
  // umockdev finds the handler by the path a node is opened by.
  for (const std::string& path : {"/dev/" + adapter.name, "/dev/serial/by-id/" + adapter.byIdName}) {
    if (!handledPaths_.insert(path).second) continue;  // an adapter plugged in again
    GError* error = nullptr;
    if (!umockdev_testbed_attach_ioctl(testbed_, path.c_str(), passThrough_, &error)) {
      ADD_FAILURE() << "umockdev did not take the ioctl handler: " << (error != nullptr ? error->message : "?");
      g_clear_error(&error);
    }
  }
  return "/sys" + tty;
}

void UdevTestbed::Add(const std::string& description) {
  GError* error = nullptr;
  if (!umockdev_testbed_add_from_string(testbed_, description.c_str(), &error)) {
    ADD_FAILURE() << "umockdev refused the devices: " << (error != nullptr ? error->message : "?");
    g_clear_error(&error);
  }
}

void UdevTestbed::AnnounceRemoval(const std::string& sysPath) {
  umockdev_testbed_uevent(testbed_, sysPath.c_str(), "remove");
}

// udev takes the device's links away with it.
void UdevTestbed::Remove(const std::string& sysPath) {
  umockdev_testbed_remove_device(testbed_, sysPath.c_str());
  std::error_code error;
  gchar* root = umockdev_testbed_get_root_dir(testbed_);
  const fs::path byId = fs::path(root) / "dev/serial/by-id";
  g_free(root);
  for (const fs::directory_entry& link : fs::directory_iterator(byId, error)) {
    if (!fs::exists(link.path(), error)) fs::remove(link.path(), error);
  }
}

int UdevTestbed::DeviceFd(const std::string& devicePath) {
  return umockdev_testbed_get_dev_fd(testbed_, devicePath.c_str());
}

bool UnderUmockdev() { return umockdev_in_mock_environment(); }

}  // namespace portprobe::testing
