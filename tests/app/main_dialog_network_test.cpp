// Ports on other machines in the window, served by Debian's ser2net on the loopback
// address with a pseudo-terminal behind it, as a newcomer would try them.
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

#include "app/dialog_test_support.h"
#include "resources/strings.h"
#include "serial/termios_rows.h"
#include "support/ser2net_server.h"
#include "support/wait.h"

namespace portprobe {
namespace {

using namespace resources;
using testing::Ser2netServer;

constexpr int kBaud115200Row = 11;

class NetworkWindowTest : public ::testing::Test {
 protected:
  NetworkWindowTest() { std::filesystem::create_directories(config_.Path() / "portprobe"); }

  std::unique_ptr<MainDialog> NewWindow() {
    TerminalOptions options = testing::PortsFirst({});
    options.settingsFile = config_.File("portprobe/portprobe.ini");
    auto window = std::make_unique<MainDialog>(prompter_, options);
    testing::ShowActive(*window);
    return window;
  }

  // Typed into the port box and confirmed with Enter, as a user would.
  void OpenTyped(MainDialog& window, const std::string& url) {
    QTest::mouseClick(window.ComboBox(kPortList)->lineEdit(), Qt::LeftButton);
    testing::PressKey(Qt::Key_A, Qt::ControlModifier);
    testing::TypeText(QString::fromStdString(url));
    testing::PressKey(Qt::Key_Return);
    if (!window.IsOpen()) window.Button(kOpenButton)->click();
  }

  speed_t FarRate() const {
    struct termios2 tio {};
    ::ioctl(pty_.MasterFd(), TCGETS2, &tio);
    return tio.c_cflag & CBAUD;
  }

  // Runs the event loop for `span` and returns the longest gap between two ticks of a
  // 10 ms timer.
  static qint64 LongestEventLoopStallMs(std::chrono::milliseconds span) {
    QElapsedTimer sinceTick;
    qint64 longest = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { longest = std::max(longest, sinceTick.restart()); });
    sinceTick.start();
    ticker.start(10);
    QTest::qWait(static_cast<int>(span.count()));
    return longest;
  }

  static QString Status(const MainDialog& window) { return window.Label(kStatusLabel)->text(); }
  static QString Received(const MainDialog& window) {
    return QString::fromStdString(std::string(window.ReceiveText()));
  }

  testing::PtyPair pty_;
  testing::TempDir config_;
  testing::TempDir home_;
  testing::ScopedEnvironment stateHome_{"XDG_STATE_HOME", home_.Path().string()};
  testing::ScopedEnvironment homeVariable_{"HOME", home_.Path().string()};
  testing::ScriptedPrompter prompter_;
};

TEST_F(NetworkWindowTest, AnRfc2217PortWorksLikeALocalOneAndIsReopenedWhenItsServerReturns) {
  Ser2netServer server(pty_.SlavePath());
  const QString url = QString::fromStdString(server.Url());
  std::unique_ptr<MainDialog> window = NewWindow();
  prompter_.messages.clear();  // nothing to open at start
  OpenTyped(*window, server.Url());
  ASSERT_TRUE(window->IsOpen());
  EXPECT_EQ(Status(*window), url + QStringLiteral(" OPENED,9600,N,8,1"));
  testing::Choose(window->ComboBox(kBaudList), kBaud115200Row);
  EXPECT_TRUE(testing::WaitUntil([&] { return FarRate() == B115200; }));

  // A flood lands whole in the capture file.
  window->CheckBox(kCaptureCheck)->click();
  const std::vector<std::uint8_t> flood = testing::RandomBytes(16 << 20, 5);
  std::thread device([&] { pty_.Write(flood); });
  EXPECT_EVENTUALLY_EQ_WITHIN(window->RxCount(), static_cast<std::int64_t>(flood.size()), 120000);
  device.join();
  window->CheckBox(kCaptureCheck)->click();
  const std::string captured = testing::ReadFile(home_.Path() / "ttyprobe/test1.txt");
  EXPECT_TRUE(captured == std::string(flood.begin(), flood.end()));

  // A pseudo-terminal has no RTS and DTR for the server to set: that alone is told,
  // once, and not again at the reconnect below.
  ASSERT_TRUE(testing::WaitUntil([&] { return !prompter_.messages.isEmpty(); }, 6000));

  // The server goes away: said in the box and on the status line, and the port is
  // reopened with its settings once the server is back.
  server.Stop();
  ASSERT_TRUE(testing::WaitUntil([&] { return !window->IsOpen(); }));
  const QString awaiting = QString::fromUtf8(kAwaitingReturnLineText).arg(url);
  EXPECT_TRUE(Received(*window).endsWith(awaiting + QStringLiteral("\r\n")));
  EXPECT_TRUE(Status(*window).endsWith(QString::fromUtf8(kAwaitingReturnStatusText)));
  {
    // A host that answers no connect: the tries go on, and none holds up the window
    // for the 5 s a connect may take.
    testing::UnansweredPort unanswered(server.Port());
    EXPECT_LT(LongestEventLoopStallMs(std::chrono::seconds(7)), 1000);
    EXPECT_FALSE(window->IsOpen());
  }
  server.Start();
  ASSERT_TRUE(testing::WaitUntil([&] { return window->IsOpen(); }, 15000));
  EXPECT_TRUE(Received(*window).endsWith(QString::fromUtf8(kReconnectedLineText).arg(url) + QStringLiteral("\r\n")));
  EXPECT_TRUE(testing::WaitUntil([&] { return FarRate() == B115200; }));
  const std::int64_t before = window->RxCount();
  pty_.Write(std::string("after\xff", 6));
  EXPECT_EVENTUALLY_EQ(window->RxCount(), before + 6);
  EXPECT_FALSE(testing::WaitUntil([&] { return prompter_.messages.size() > 1; }, 6000));
  EXPECT_EQ(prompter_.messages, QStringList{QString::fromUtf8(kRemoteNoticeTexts[5])});

  // The next window has the port as a row and opens it again.
  window.reset();
  window = NewWindow();
  EXPECT_TRUE(window->IsOpen());
  EXPECT_EQ(window->ComboBox(kPortList)->itemText(0), url);
  EXPECT_EQ(Status(*window), url + QStringLiteral(" OPENED,115200,N,8,1"));
}

TEST_F(NetworkWindowTest, ARawTcpPortGreysTheLineSettingsAndCarriesEveryByte) {
  Ser2netServer server(pty_.SlavePath(), Ser2netServer::Accepter::Tcp);
  std::unique_ptr<MainDialog> window = NewWindow();
  OpenTyped(*window, server.Url());
  ASSERT_TRUE(window->IsOpen());
  QComboBox* baud = window->ComboBox(kBaudList);
  EXPECT_FALSE(baud->isEnabled());
  EXPECT_EQ(baud->toolTip(), QString::fromUtf8(kRawTcpLineTip));
  pty_.Write(std::string("\xff\x00\xfe", 3));
  EXPECT_EVENTUALLY_EQ(window->RxCount(), 3);
  EXPECT_TRUE(Received(*window).contains(QStringLiteral("FF 00 FE")));

  // A bad address is refused with the format to use; the settings are back for it.
  prompter_.messages.clear();
  OpenTyped(*window, "rfc2217://127.0.0.1:0");
  EXPECT_FALSE(window->IsOpen());
  ASSERT_FALSE(prompter_.messages.isEmpty());
  EXPECT_EQ(prompter_.messages[0], QString::fromUtf8(kBadAddressText).arg("rfc2217://127.0.0.1:0"));
  EXPECT_TRUE(window->ComboBox(kBaudList)->isEnabled());
}

}  // namespace
}  // namespace portprobe
