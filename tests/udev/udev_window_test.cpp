// The window's port list and reconnect over umockdev's faked USB serial adapters:
// ports that come and go while it runs, and the open one unplugged and plugged back.
#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>
#include <unistd.h>

#include "app/dialog_test_support.h"
#include "resources/strings.h"
#include "support/wait.h"
#include "udev/udev_testbed.h"

namespace portprobe {
namespace {

using namespace resources;

const testing::UsbSerialAdapter kAdapter = {"ttyUSB0", "FT232R USB UART", "A50285BI",
                                            "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0", 0};
const std::string kById = "/dev/serial/by-id/" + kAdapter.byIdName;

class UdevWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testing::UnderUmockdev()) GTEST_SKIP() << "needs umockdev-wrapper";
  }
  // A window that lists what udev knows, after `leadingPorts`.
  std::unique_ptr<MainDialog> StartWindow(std::vector<std::string> leadingPorts = {}) {
    TerminalOptions options;
    options.leadingPorts = std::move(leadingPorts);
    return std::make_unique<MainDialog>(prompter_, options);
  }
  QStringList Rows(const MainDialog& dialog) const {
    QStringList rows;
    const QComboBox* list = dialog.ComboBox(kPortList);
    for (int row = 0; row < list->count() && list->itemText(row) != QStringLiteral("---------"); ++row) {
      rows << list->itemText(row);
    }
    return rows;
  }
  QString Status(const MainDialog& dialog) const { return dialog.Label(kStatusLabel)->text(); }
  // What the adapter behind `path` sends.
  void DeviceSends(const std::string& path, const std::string& bytes) {
    ASSERT_EQ(::write(testbed_.DeviceFd(path), bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }

  testing::UdevTestbed testbed_;
  testing::TempDir stateFolder_;
  testing::ScopedEnvironment stateHome_{"XDG_STATE_HOME", stateFolder_.Path().string()};
  testing::ScriptedPrompter prompter_;
};

TEST_F(UdevWindowTest, PortsThatComeAndGoChangeTheListAndKeepTheSelection) {
  const std::string adapter = testbed_.AddUsbSerial(kAdapter);
  const std::unique_ptr<MainDialog> dialog = StartWindow();
  QComboBox* list = dialog->ComboBox(kPortList);
  ASSERT_EQ(Rows(*dialog), QStringList{QStringLiteral("ttyUSB0 — FT232R USB UART (A50285BI)")});
  ASSERT_TRUE(dialog->IsOpen());
  EXPECT_EQ(list->itemData(0, Qt::ToolTipRole).toString(), QString::fromStdString(kById));
  EXPECT_TRUE(dialog->Label(kStatusLabel)->toolTip().endsWith(QString::fromStdString("\n" + kById)));
  EXPECT_EQ(Status(*dialog), QStringLiteral("ttyUSB0 OPENED,9600,N,8,1"));

  const std::string board =
      testbed_.AddUsbSerial({"ttyACM0", "Pico Serial Console Adapter", "E6614C311B", "usb-Pico-if00", 1});
  const QString boardRow = QStringLiteral("ttyACM0 — Pico Serial Console Adapter (E6614C311B)");
  EXPECT_EVENTUALLY_EQ(Rows(*dialog), (QStringList{boardRow, QStringLiteral("ttyUSB0 — FT232R USB UART (A50285BI)")}));
  EXPECT_EQ(list->currentIndex(), 1);  // still the open adapter
  EXPECT_TRUE(dialog->IsOpen());
  // The drop-down is wide enough for the longest row.
  EXPECT_GE(list->view()->minimumWidth(), list->view()->fontMetrics().horizontalAdvance(boardRow));

  testbed_.AnnounceRemoval(board);
  testbed_.Remove(board);
  EXPECT_EVENTUALLY_EQ(Rows(*dialog).size(), 1);
  EXPECT_EQ(list->currentIndex(), 0);
  EXPECT_TRUE(dialog->IsOpen());
  DeviceSends("/dev/ttyUSB0", "ok");
  EXPECT_EVENTUALLY_EQ(dialog->RxCount(), 2);
  EXPECT_TRUE(prompter_.messages.isEmpty());
}

TEST_F(UdevWindowTest, TheUnpluggedAdapterIsReopenedWhenItReturnsUnderAnotherName) {
  const std::string adapter = testbed_.AddUsbSerial(kAdapter);
  const std::unique_ptr<MainDialog> dialog = StartWindow();
  ASSERT_TRUE(dialog->IsOpen());
  testing::Choose(dialog->ComboBox(kBaudList), 11);  // 115200

  testbed_.AnnounceRemoval(adapter);
  EXPECT_TRUE(testing::WaitUntil([&] { return !dialog->IsOpen(); }));
  testbed_.Remove(adapter);
  EXPECT_TRUE(prompter_.messages.isEmpty());
  const std::string gone = QString::fromUtf8(kAwaitingReturnLineText).arg(QStringLiteral("ttyUSB0")).toStdString();
  EXPECT_NE(dialog->ReceiveText().find(gone), std::string::npos);
  EXPECT_TRUE(Status(*dialog).endsWith(QStringLiteral("已断开，等待重连…"))) << Status(*dialog).toStdString();
  // The selected row stays while its device is awaited.
  EXPECT_EQ(Rows(*dialog).size(), 1);

  // Another adapter is no reason to reopen.
  testbed_.AddUsbSerial({"ttyUSB1", "CP2102 USB to UART Bridge Controller", "0001", "usb-Silicon_Labs_CP2102-if00", 1});
  EXPECT_EVENTUALLY_EQ(Rows(*dialog).size(), 2);
  QTest::qWait(600);
  EXPECT_FALSE(dialog->IsOpen());

  // The same adapter (its by-id link) comes back as ttyUSB2.
  testing::UsbSerialAdapter returned = kAdapter;
  returned.name = "ttyUSB2";
  returned.minor = 2;
  testbed_.AddUsbSerial(returned);
  EXPECT_TRUE(testing::WaitUntil([&] { return dialog->IsOpen(); }));
  EXPECT_EQ(Rows(*dialog), (QStringList{QStringLiteral("ttyUSB1 — CP2102 USB to UART Bridge Controller (0001)"),
                                        QStringLiteral("ttyUSB2 — FT232R USB UART (A50285BI)")}));
  EXPECT_EQ(dialog->ComboBox(kPortList)->currentIndex(), 1);
  EXPECT_EQ(Status(*dialog), QStringLiteral("ttyUSB2 OPENED,115200,N,8,1"));
  EXPECT_TRUE(dialog->Label(kStatusLabel)->toolTip().endsWith(QString::fromStdString("\n" + kById)));
  EXPECT_NE(dialog->ReceiveText().find("已重新连接。"), std::string::npos);
  DeviceSends("/dev/ttyUSB2", "back");
  EXPECT_EVENTUALLY_EQ(dialog->RxCount(), 4);
  EXPECT_TRUE(prompter_.messages.isEmpty());
}

// A built-in UART (often the kernel's console) is never opened unasked: the first USB
// adapter is, and without one nothing is.
TEST_F(UdevWindowTest, AtStartUpOnlyAUsbAdapterIsOpenedUnasked) {
  testbed_.Add(
      "P: /devices/platform/serial8250\nE: SUBSYSTEM=platform\n\n"
      "P: /devices/platform/serial8250/tty/ttyS0\nN: ttyS0\nE: SUBSYSTEM=tty\nE: DEVNAME=/dev/ttyS0\n"
      "A: type=4\nA: dev=4:64\n");
  {
    const std::unique_ptr<MainDialog> dialog = StartWindow();
    ASSERT_EQ(Rows(*dialog), QStringList{QStringLiteral("ttyS0")});
    EXPECT_FALSE(dialog->IsOpen());
    EXPECT_EQ(Status(*dialog), QStringLiteral("未找到串口设备"));
    EXPECT_EQ(dialog->ComboBox(kPortList)->currentText(), QStringLiteral("ttyS0"));
  }
  testbed_.AddUsbSerial(kAdapter);
  const std::unique_ptr<MainDialog> dialog = StartWindow();
  ASSERT_TRUE(dialog->IsOpen());
  EXPECT_EQ(Status(*dialog), QStringLiteral("ttyUSB0 OPENED,9600,N,8,1"));
  EXPECT_TRUE(prompter_.messages.isEmpty());
}

TEST_F(UdevWindowTest, PortAcceptsANameAPathOrAByIdPath) {
  testbed_.AddUsbSerial(kAdapter);
  for (const std::string& port : {std::string("ttyUSB0"), std::string("/dev/ttyUSB0"), kById}) {
    const std::unique_ptr<MainDialog> dialog = StartWindow({port});
    ASSERT_TRUE(dialog->IsOpen()) << port;
    EXPECT_EQ(Status(*dialog), QString::fromStdString(port) + QStringLiteral(" OPENED,9600,N,8,1"));
    // The device is known by its by-id link however it was named.
    EXPECT_TRUE(dialog->Label(kStatusLabel)->toolTip().endsWith(QString::fromStdString("\n" + kById)) || port == kById);
    DeviceSends("/dev/ttyUSB0", "x");
    EXPECT_EVENTUALLY_EQ(dialog->RxCount(), 1);
  }
}

}  // namespace
}  // namespace portprobe
