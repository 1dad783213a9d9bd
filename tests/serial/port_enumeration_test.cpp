#include "serial/port_enumeration.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/temp_dir.h"

namespace portprobe {
namespace {

namespace fs = std::filesystem;

void AddTty(const fs::path& root, const std::string& name, bool device, const char* type = nullptr) {
  fs::create_directories(root / name);
  if (device) fs::create_directory_symlink(root, root / name / "device");
  if (type != nullptr) std::ofstream(root / name / "type") << type << "\n";
}

TEST(EnumerateSerialPorts, ListsRealDevicesSortedAndBounded) {
  testing::TempDir dir;
  const fs::path root = dir.Path() / "tty";
  AddTty(root, "ttyUSB1", true);
  AddTty(root, "ttyACM0", true);
  AddTty(root, "ttyS0", true, "4");
  AddTty(root, "ttyS1", true, "0");  // placeholder UART: no port type
  AddTty(root, "tty5", false);       // virtual console: no device
  AddTty(root, "ttyUSB0", true);
  EXPECT_EQ(EnumerateSerialPorts(root), (std::vector<std::string>{"ttyACM0", "ttyS0", "ttyUSB0", "ttyUSB1"}));
  EXPECT_EQ(EnumerateSerialPorts(root, 2), (std::vector<std::string>{"ttyACM0", "ttyS0"}));
  EXPECT_TRUE(EnumerateSerialPorts((dir.Path() / "missing").string()).empty());
}

TEST(DevicePath, MapsListNamesToDevices) {
  EXPECT_EQ(DevicePath("ttyUSB0"), "/dev/ttyUSB0");
  EXPECT_EQ(DevicePath("COM1"), "/dev/ttyS0");
  EXPECT_EQ(DevicePath("COM128"), "/dev/ttyS127");
  EXPECT_EQ(DevicePath("/dev/pts/7"), "/dev/pts/7");
  EXPECT_EQ(DevicePath("/dev/serial/by-id/usb-x"), "/dev/serial/by-id/usb-x");
  EXPECT_EQ(DevicePath("---------"), "/dev/---------");
  EXPECT_EQ(DevicePath("COM0"), "/dev/COM0");
  EXPECT_EQ(DevicePath("COMx"), "/dev/COMx");
}

}  // namespace
}  // namespace portprobe
