#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSettings>
#include <QTest>
#include <asm/termbits.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>

#include <filesystem>
#include <memory>

#include "app/dialog_test_support.h"
#include "app/tools_menu.h"
#include "support/file_permissions.h"
#include "support/wait.h"

namespace portprobe {
namespace {

using namespace resources;
using testing::Choose;

const QString kDefaultSendText = QStringLiteral("0b 03 07 00 34 12 00 00 01 01 00");

// Windows that remember their settings in a config folder of the test's own.
class RememberedSettings : public ::testing::Test {
 protected:
  RememberedSettings() { std::filesystem::create_directories(config_.Path() / "portprobe"); }

  // The pseudo-terminal is the only port, so every start-up open succeeds.
  TerminalOptions Options() const {
    TerminalOptions options = testing::PortsFirst({pty_.SlavePath()});
    options.settingsFile = SettingsFile();
    return options;
  }
  // No port is listed: the port comes from the settings, or the start-up open fails.
  TerminalOptions NoPortOptions() const {
    TerminalOptions options = testing::PortsFirst({});
    options.settingsFile = SettingsFile();
    return options;
  }
  std::string SettingsFile() const { return config_.File("portprobe/portprobe.ini"); }

  std::unique_ptr<MainDialog> NewWindow(const TerminalOptions& options) {
    prompter_.messages.clear();
    return std::make_unique<MainDialog>(prompter_, options);
  }

  // What the settings file holds now, read afresh.
  QVariant Stored(const QString& key) const {
    return QSettings(QString::fromStdString(SettingsFile()), QSettings::IniFormat).value(key);
  }
  void Store(const QString& key, const QVariant& value) const {
    QSettings(QString::fromStdString(SettingsFile()), QSettings::IniFormat).setValue(key, value);
  }

  // Replaces the text of an edit or an editable list with keys, as a user would.
  static void TypeInto(QLineEdit* edit, const QString& text) {
    QTest::mouseClick(edit, Qt::LeftButton);
    testing::PressKey(Qt::Key_A, Qt::ControlModifier);
    testing::TypeText(text);
  }

  static QString Status(const MainDialog& window) { return window.Label(kStatusLabel)->text(); }

  testing::PtyPair pty_;
  testing::TempDir config_;
  testing::TempDir state_;
  testing::ScopedEnvironment stateHome_{"XDG_STATE_HOME", state_.Path().string()};
  testing::ScopedEnvironment home_{"HOME", state_.Path().string()};
  testing::ScriptedPrompter prompter_;
};

TEST_F(RememberedSettings, WhatTheUserChangedComesBackInTheNextWindow) {
  testing::PtyPair other;
  const QString path = QString::fromStdString(other.SlavePath());
  const std::string capture = state_.File("chosen.txt");
  Preferences preferences;
  preferences.timestamps = true;
  preferences.encoding = TextEncoding::Gb18030;
  preferences.frameGapMilliseconds = 250;
  preferences.fontPointSize = 12;
  preferences.rts = false;
  preferences.flowControl = FlowControl::RtsCts;
  QSize size;
  {
    std::unique_ptr<MainDialog> window = NewWindow(NoPortOptions());
    prompter_.messages.clear();  // "---------" does not open
    testing::ShowActive(*window);
    TypeInto(window->ComboBox(kPortList)->lineEdit(), path);
    testing::PressKey(Qt::Key_Return);
    window->Button(kOpenButton)->click();
    ASSERT_TRUE(window->IsOpen());
    Choose(window->ComboBox(kBaudList), 11);
    Choose(window->ComboBox(kParityList), 2);
    Choose(window->ComboBox(kDataBitsList), 1);
    Choose(window->ComboBox(kStopBitsList), 1);
    window->CheckBox(kHexDisplayCheck)->click();
    window->CheckBox(kHexSendCheck)->click();
    TypeInto(window->Edit(kPeriodEdit), QStringLiteral("250"));
    Choose(window->ComboBox(kChecksumList), 1);
    window->SendBox()->SetText("AT+GMR\n");
    window->Button(kAddHistoryButton)->click();
    window->SendBox()->SetText("ATI\xff\n");
    window->Button(kAddHistoryButton)->click();
    window->CheckBox(kCaptureCheck)->click();
    prompter_.saveAnswers.push_back(QString::fromStdString(capture));
    window->Button(kChangeCaptureButton)->click();
    window->SetPreferences(preferences);
    window->resize(window->size() + QSize(40, 30));
    size = window->size();
    // Written while the window still runs, so a terminal that is killed keeps them.
    EXPECT_TRUE(testing::WaitUntil([&] { return Stored(QStringLiteral("send/text")).toByteArray() == "ATI\xff\r\n"; }));
    EXPECT_EQ(Stored(QStringLiteral("line/baud")).toString(), QStringLiteral("115200"));
    EXPECT_EQ(Stored(QStringLiteral("preferences/encoding")).toString(), QStringLiteral("GB18030"));
    EXPECT_EQ(prompter_.messages, QStringList());
  }

  std::unique_ptr<MainDialog> window = NewWindow(NoPortOptions());
  EXPECT_EQ(window->ComboBox(kPortList)->currentText(), path);
  EXPECT_TRUE(window->IsOpen());
  EXPECT_EQ(Status(*window), path + QStringLiteral(" OPENED,115200,E,7,2 时间戳 GB18030 间隔250ms"));
  struct termios2 tio {};
  ASSERT_EQ(::ioctl(other.SlaveFd(), TCGETS2, &tio), 0);
  EXPECT_EQ(tio.c_ospeed, 115200u);
  EXPECT_FALSE(window->CheckBox(kHexDisplayCheck)->isChecked());
  EXPECT_FALSE(window->CheckBox(kHexSendCheck)->isChecked());
  EXPECT_EQ(window->Edit(kPeriodEdit)->text(), QStringLiteral("250"));
  EXPECT_EQ(window->AutoSendPeriod(), 250u);
  EXPECT_EQ(window->ComboBox(kChecksumList)->currentText(), QStringLiteral("XOR"));
  EXPECT_EQ(window->SendBox()->Text().All(), "ATI\xff\n");
  ASSERT_EQ(window->ComboBox(kHistoryList)->count(), 2);
  EXPECT_EQ(window->ComboBox(kHistoryList)->itemText(0), QStringLiteral("AT+GMR\r\n"));
  EXPECT_EQ(window->CurrentPreferences(), preferences);
  EXPECT_EQ(window->size(), size);
  // Capture stays off; its first switch goes to the file used last time, later ones
  // to the default file as always.
  EXPECT_FALSE(window->CheckBox(kCaptureCheck)->isChecked());
  EXPECT_EQ(window->CapturePath(), "");
  window->CheckBox(kCaptureCheck)->click();
  EXPECT_EQ(window->CapturePath(), capture);
  window->CheckBox(kCaptureCheck)->click();
  window->CheckBox(kCaptureCheck)->click();
  EXPECT_EQ(window->CapturePath(), state_.File("ttyprobe/test1.txt"));
  EXPECT_EQ(prompter_.messages, QStringList());

  window->Button(kClearHistoryButton)->click();
  EXPECT_TRUE(testing::WaitUntil([&] { return Stored(QStringLiteral("history/entries")).toList().isEmpty(); }));
}

TEST_F(RememberedSettings, ACorruptOrUnreadableFileGivesTheDefaultsAndOneNotice) {
  const char kCorrupt[] = "[line]\nbaud=115200\n\xff\xfe\0garbage=\n[[[\n=\n";
  const std::string corrupt(kCorrupt, sizeof kCorrupt - 1);
  testing::WriteFile(SettingsFile(), corrupt);
  {
    std::unique_ptr<MainDialog> window = NewWindow(Options());
    EXPECT_TRUE(window->IsOpen());
    EXPECT_EQ(window->ComboBox(kBaudList)->currentText(), QStringLiteral("9600"));
    EXPECT_TRUE(window->CheckBox(kHexDisplayCheck)->isChecked());
    EXPECT_EQ(window->CurrentPreferences(), Preferences());
    const QString file = QString::fromStdString(SettingsFile());
    EXPECT_EQ(prompter_.messages, QStringList{QStringLiteral("设置文件%1已损坏或无法读取，本次使用默认设置。\n"
                                                             "原文件已另存为%1.bad。")
                                                  .arg(file)});
    // The file is kept aside, and what the user changes now is remembered afresh.
    EXPECT_EQ(testing::ReadFile(SettingsFile() + ".bad"), corrupt);
    Choose(window->ComboBox(kParityList), 1);
    EXPECT_TRUE(testing::WaitUntil([&] { return Stored(QStringLiteral("line/parity")).toString() == "奇Odd"; }));
    EXPECT_FALSE(Stored(QStringLiteral("line/baud")).isValid());
  }
  std::unique_ptr<MainDialog> window = NewWindow(Options());
  EXPECT_EQ(window->ComboBox(kParityList)->currentText(), QStringLiteral("奇Odd"));
  EXPECT_EQ(prompter_.messages, QStringList());

  // Random bytes parse as an INI file of unknown keys: none of them is used or kept.
  window.reset();
  std::string noise(3000, '\0');
  for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>((i * 2654435761u) >> 13);
  testing::WriteFile(SettingsFile(), noise);
  window = NewWindow(Options());
  EXPECT_EQ(window->ComboBox(kParityList)->currentText(), QStringLiteral("无None"));
  ASSERT_EQ(prompter_.messages.size(), 1);
  EXPECT_TRUE(prompter_.messages[0].endsWith(QStringLiteral(".bad。")));
  EXPECT_EQ(testing::ReadFile(SettingsFile() + ".bad"), noise);
  // A file far larger than the window ever writes is set aside unread.
  window.reset();
  testing::WriteFile(SettingsFile(), "[line]\nparity=\u5947Odd\n");
  std::filesystem::resize_file(SettingsFile(), std::uintmax_t{65} << 20);
  prompter_.messages.clear();
  window = NewWindow(Options());
  EXPECT_EQ(window->ComboBox(kParityList)->currentText(), QStringLiteral("无None"));
  ASSERT_EQ(prompter_.messages.size(), 1);
  EXPECT_EQ(std::filesystem::file_size(SettingsFile() + ".bad"), std::uintmax_t{65} << 20);
  Choose(window->ComboBox(kParityList), 2);
  window.reset();
  const QStringList kept = QSettings(QString::fromStdString(SettingsFile()), QSettings::IniFormat).allKeys();
  EXPECT_TRUE(kept.contains(QStringLiteral("line/parity")));
  for (const QString& key : kept) {
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^(port|line|display|send|history|capture|window|decoder|replies|"
                                                  "panel|preferences)/\\w+$"))
                    .match(key)
                    .hasMatch())
        << key.toStdString();
  }

  // A folder where the file should be cannot be read or replaced; the window still starts.
  window.reset();
  std::filesystem::remove(SettingsFile());
  std::filesystem::create_directory(SettingsFile());
  window = NewWindow(Options());
  EXPECT_TRUE(window->IsOpen());
  EXPECT_EQ(window->ComboBox(kParityList)->currentText(), QStringLiteral("无None"));
  ASSERT_EQ(prompter_.messages.size(), 1);
  EXPECT_TRUE(
      prompter_.messages[0].startsWith(QStringLiteral("设置文件%1已损坏").arg(QString::fromStdString(SettingsFile()))));
  EXPECT_FALSE(prompter_.messages[0].contains(QStringLiteral(".bad")));
}

// A config folder that cannot be written: the first failed save is said, once.
TEST_F(RememberedSettings, SettingsThatCannotBeSavedAreSaidToBeLostOnce) {
  testing::WithPermissions((config_.Path() / "portprobe").string(),
                           std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  const testing::ScopedFilePermissions permissions;
  std::unique_ptr<MainDialog> window = NewWindow(Options());
  Choose(window->ComboBox(kParityList), 1);
  ASSERT_TRUE(testing::WaitUntil([&] { return !prompter_.messages.isEmpty(); }));
  EXPECT_TRUE(prompter_.messages[0].startsWith(
      QStringLiteral("设置无法保存到%1: ").arg(QString::fromStdString(SettingsFile()))))
      << prompter_.messages[0].toStdString();
  EXPECT_GT(prompter_.messages[0].size(), QString::fromStdString(SettingsFile()).size() + 10);
  Choose(window->ComboBox(kParityList), 2);
  QTest::qWait(600);
  EXPECT_EQ(prompter_.messages.size(), 1);
}

TEST_F(RememberedSettings, RestoringTheDefaultsResetsTheControlsAndThePreferencesAndRemembersThem) {
  std::unique_ptr<MainDialog> window = NewWindow(Options());
  const QString path = QString::fromStdString(pty_.SlavePath());
  const QSize startSize = window->size();
  Choose(window->ComboBox(kBaudList), 11);
  Choose(window->ComboBox(kParityList), 2);
  Choose(window->ComboBox(kDataBitsList), 2);
  Choose(window->ComboBox(kStopBitsList), 1);
  window->CheckBox(kHexDisplayCheck)->click();
  window->CheckBox(kHexSendCheck)->click();
  window->Edit(kPeriodEdit)->setText(QStringLiteral("40"));
  Choose(window->ComboBox(kChecksumList), 2);
  window->SendBox()->SetText("hello");
  Preferences preferences;
  preferences.echoSent = true;
  preferences.lineEnd = SendLineEnd::Lf;
  preferences.dtr = false;
  window->SetPreferences(preferences);
  window->resize(startSize + QSize(50, 50));
  ASSERT_TRUE(testing::WaitUntil([&] { return Stored(QStringLiteral("preferences/echoSent")).toString() == "true"; }));

  testing::ChooseTool(*window, prompter_, tools::kRestoreDefaults);
  EXPECT_EQ(Status(*window), path + QStringLiteral(" OPENED,9600,N,8,1"));
  struct termios2 tio {};
  ASSERT_EQ(::ioctl(pty_.SlaveFd(), TCGETS2, &tio), 0);
  EXPECT_EQ(tio.c_ospeed, 9600u);
  EXPECT_TRUE(window->CheckBox(kHexDisplayCheck)->isChecked());
  EXPECT_TRUE(window->CheckBox(kHexSendCheck)->isChecked());
  EXPECT_EQ(window->Edit(kPeriodEdit)->text(), QStringLiteral("1000"));
  EXPECT_EQ(window->AutoSendPeriod(), 1000u);
  EXPECT_EQ(window->ComboBox(kChecksumList)->currentIndex(), 0);
  EXPECT_EQ(window->ControlText(kSendBox), kDefaultSendText);
  EXPECT_EQ(window->CurrentPreferences(), Preferences());
  EXPECT_EQ(window->size(), startSize);
  EXPECT_EQ(Stored(QStringLiteral("line/baud")).toString(), QStringLiteral("9600"));
  EXPECT_EQ(Stored(QStringLiteral("preferences/echoSent")).toString(), QStringLiteral("false"));
  EXPECT_EQ(Stored(QStringLiteral("display/hex")).toString(), QStringLiteral("true"));
  EXPECT_EQ(Stored(QStringLiteral("send/period")).toString(), QStringLiteral("1000"));

  window.reset();
  window = NewWindow(Options());
  EXPECT_EQ(Status(*window), path + QStringLiteral(" OPENED,9600,N,8,1"));
  EXPECT_EQ(window->ComboBox(kChecksumList)->currentIndex(), 0);
  EXPECT_EQ(window->ControlText(kSendBox), kDefaultSendText);
  EXPECT_EQ(window->CurrentPreferences(), Preferences());
  EXPECT_EQ(prompter_.messages, QStringList());
}

TEST_F(RememberedSettings, CommandLineSettingsHoldForTheRunWithoutBeingRemembered) {
  Store(QStringLiteral("line/baud"), QStringLiteral("19200"));
  Store(QStringLiteral("line/parity"), QStringLiteral("奇Odd"));
  Store(QStringLiteral("line/stopBits"), QStringLiteral("2"));
  Store(QStringLiteral("display/hex"), QStringLiteral("true"));
  TerminalOptions options = Options();
  options.baudText = "115200";
  options.parityText = "标志Mark";
  options.dataBitsText = "5";
  options.stopBitsText = "1.5";
  options.characterDisplay = true;
  std::unique_ptr<MainDialog> window = NewWindow(options);
  const QString path = QString::fromStdString(pty_.SlavePath());
  EXPECT_EQ(Status(*window), path + QStringLiteral(" OPENED,115200,M,5,1.5"));
  struct termios2 tio {};
  ASSERT_EQ(::ioctl(pty_.SlaveFd(), TCGETS2, &tio), 0);
  EXPECT_EQ(tio.c_ospeed, 115200u);
  EXPECT_TRUE(tio.c_cflag & CSTOPB);
  EXPECT_FALSE(window->CheckBox(kHexDisplayCheck)->isChecked());

  // Other changes are remembered; the given settings only once the user changes them.
  window->CheckBox(kHexSendCheck)->click();
  Choose(window->ComboBox(kStopBitsList), 0);
  EXPECT_TRUE(testing::WaitUntil([&] { return Stored(QStringLiteral("send/hex")).toString() == "false"; }));
  EXPECT_EQ(Stored(QStringLiteral("line/stopBits")).toString(), QStringLiteral("1"));
  window.reset();
  EXPECT_EQ(Stored(QStringLiteral("line/baud")).toString(), QStringLiteral("19200"));
  EXPECT_EQ(Stored(QStringLiteral("line/parity")).toString(), QStringLiteral("奇Odd"));
  EXPECT_FALSE(Stored(QStringLiteral("line/dataBits")).isValid());
  EXPECT_EQ(Stored(QStringLiteral("display/hex")).toString(), QStringLiteral("true"));

  window = NewWindow(Options());
  EXPECT_EQ(Status(*window), path + QStringLiteral(" OPENED,19200,O,8,1"));
  EXPECT_TRUE(window->CheckBox(kHexDisplayCheck)->isChecked());
}

// A new settings file changes nothing of the start-up, and a bad remembered value
// gives way to its default.
// A rate that no row has, remembered or given on the command line, is applied at start.
TEST_F(RememberedSettings, ATypedRateComesBackAndReachesTheDevice) {
  const auto deviceSpeed = [this] {
    struct termios2 tio {};
    return ::ioctl(pty_.SlaveFd(), TCGETS2, &tio) == 0 ? tio.c_ospeed : 0u;
  };
  Store(QStringLiteral("line/baud"), QStringLiteral("250000"));
  {
    std::unique_ptr<MainDialog> window = NewWindow(Options());
    ASSERT_TRUE(window->IsOpen());
    EXPECT_EQ(window->ComboBox(kBaudList)->currentText(), QStringLiteral("250000"));
    EXPECT_TRUE(Status(*window).endsWith(QStringLiteral(" OPENED,250000,N,8,1")));
    EXPECT_EQ(deviceSpeed(), 250000u);
  }
  TerminalOptions options = Options();
  options.baudText = "74880";
  std::unique_ptr<MainDialog> window = NewWindow(options);
  EXPECT_EQ(window->ComboBox(kBaudList)->currentText(), QStringLiteral("74880"));
  EXPECT_EQ(deviceSpeed(), 74880u);
  EXPECT_EQ(Stored(QStringLiteral("line/baud")).toString(), QStringLiteral("250000"));
  EXPECT_EQ(prompter_.messages, QStringList());
}

TEST_F(RememberedSettings, NothingRememberedKeepsTheStartUpDefaults) {
  std::unique_ptr<MainDialog> window = NewWindow(Options());
  std::unique_ptr<MainDialog> plain = NewWindow(testing::PortsFirst({}));
  for (MainDialog* w : {window.get(), plain.get()}) {
    EXPECT_EQ(w->ComboBox(kBaudList)->currentText(), QStringLiteral("9600"));
    EXPECT_EQ(w->ComboBox(kParityList)->currentIndex(), 0);
    EXPECT_TRUE(w->CheckBox(kHexDisplayCheck)->isChecked());
    EXPECT_TRUE(w->CheckBox(kHexSendCheck)->isChecked());
    EXPECT_EQ(w->Edit(kPeriodEdit)->text(), QStringLiteral("1000"));
    EXPECT_EQ(w->ComboBox(kChecksumList)->currentIndex(), 0);
    EXPECT_EQ(w->ControlText(kSendBox), kDefaultSendText);
    EXPECT_EQ(w->ComboBox(kHistoryList)->count(), 0);
    EXPECT_EQ(w->CurrentPreferences(), Preferences());
  }
  EXPECT_EQ(Status(*window), QString::fromStdString(pty_.SlavePath()) + QStringLiteral(" OPENED,9600,N,8,1"));
  window.reset();
  plain.reset();

  Store(QStringLiteral("send/period"), QStringLiteral("5"));
  Store(QStringLiteral("send/checksum"), QStringLiteral("CRC99"));
  Store(QStringLiteral("line/parity"), QStringLiteral("odd"));
  Store(QStringLiteral("port/name"), QStringLiteral("/dev/no-such-port"));
  Store(QStringLiteral("preferences/frameGapMilliseconds"), QStringLiteral("20000"));
  Store(QStringLiteral("display/hex"), QStringLiteral("maybe"));
  window = NewWindow(Options());
  EXPECT_TRUE(window->CheckBox(kHexDisplayCheck)->isChecked());
  EXPECT_EQ(window->Edit(kPeriodEdit)->text(), QStringLiteral("1000"));
  EXPECT_EQ(window->ComboBox(kChecksumList)->currentIndex(), 0);
  EXPECT_EQ(window->ComboBox(kParityList)->currentIndex(), 0);
  EXPECT_EQ(window->ComboBox(kPortList)->currentText(), QString::fromStdString(pty_.SlavePath()));
  EXPECT_EQ(window->CurrentPreferences(), Preferences());
  EXPECT_EQ(prompter_.messages, QStringList());
  // The port given on the command line is the one remembered.
  window.reset();
  EXPECT_EQ(Stored(QStringLiteral("port/name")).toString(), QString::fromStdString(pty_.SlavePath()));

  // A remembered port that is not there is not opened, nor anything in its place.
  Store(QStringLiteral("port/name"), QStringLiteral("/dev/no-such-port"));
  window = NewWindow(NoPortOptions());
  EXPECT_FALSE(window->IsOpen());
  EXPECT_EQ(Status(*window), QStringLiteral("未找到串口设备"));
  EXPECT_EQ(prompter_.messages, QStringList());
}

}  // namespace
}  // namespace portprobe
