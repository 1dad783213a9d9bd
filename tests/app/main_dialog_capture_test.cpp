#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <thread>

#include "app/main_dialog.h"
#include "resources/control_ids.h"
#include "support/pty_pair.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace portprobe {
namespace {

using namespace resources;
using testing::PtyPair;
using testing::ReadFile;
using testing::ScriptedPrompter;
using testing::TempDir;

constexpr int kLabelRestoreMs = 50;
const QString kNoCaptureFile = QStringLiteral("未指定写入文件");

// A window connected to a pseudo-terminal, with $HOME in a fresh folder.
class Capturing : public ::testing::Test {
 protected:
  Capturing() : dialog(prompter, Options()) {}

  TerminalOptions Options() {
    ::setenv("HOME", home.Path().c_str(), 1);
    TerminalOptions options{{pty.SlavePath()}, false};
    options.labelRestoreMilliseconds = kLabelRestoreMs;
    return options;
  }

  QCheckBox* CaptureCheck() const { return dialog.CheckBox(kCaptureCheck); }
  QString CaptureLabel() const { return dialog.Label(kCaptureLabel)->text(); }
  std::string DefaultFile() const { return home.File("ttyprobe/test1.txt"); }

  void ChooseCaptureFile(const std::string& path) {
    prompter.saveAnswers.push_back(QString::fromStdString(path));
    dialog.Button(kChangeCaptureButton)->click();
  }

  // Writes at the far end and waits until the window has counted it.
  void Receive(const std::string& bytes) {
    const std::int64_t expected = dialog.RxCount() + static_cast<std::int64_t>(bytes.size());
    pty.Write(bytes);
    QTRY_COMPARE(dialog.RxCount(), expected);
  }

  TempDir home;
  PtyPair pty;
  ScriptedPrompter prompter;
  MainDialog dialog;
};

TEST_F(Capturing, EveryReceivedByteLandsRawInTheFileInBothDisplays) {
  CaptureCheck()->click();
  EXPECT_TRUE(std::filesystem::is_directory(home.File("ttyprobe")));
  EXPECT_EQ(CaptureLabel(), QString::fromStdString(DefaultFile()));

  const std::vector<std::uint8_t> stream = testing::RandomBytes(4 << 20, 11);
  std::thread device([&] { pty.Write(stream); });
  QTRY_COMPARE_WITH_TIMEOUT(dialog.RxCount(), static_cast<std::int64_t>(stream.size()), 60000);
  device.join();
  const std::string captured = ReadFile(DefaultFile());
  ASSERT_EQ(captured.size(), stream.size());
  const auto hash = std::hash<std::string_view>{};
  EXPECT_EQ(hash(captured), hash(std::string_view(reinterpret_cast<const char*>(stream.data()), stream.size())));

  dialog.CheckBox(kHexDisplayCheck)->setChecked(false);
  Receive(std::string("A\0B", 3));
  EXPECT_EQ(ReadFile(DefaultFile()).substr(stream.size()), std::string("A\0B", 3));
  EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(Capturing, AnotherFileCanBeChosenWhileCaptureIsOn) {
  dialog.Button(kChangeCaptureButton)->click();
  EXPECT_EQ(prompter.messages, QStringList{QStringLiteral("你未指定写入到文件项。")});
  EXPECT_TRUE(prompter.saveRequests.empty());

  CaptureCheck()->click();
  const std::string chosen = home.File("chosen.txt");
  ChooseCaptureFile(chosen);
  ASSERT_EQ(prompter.saveRequests.size(), 1u);
  EXPECT_EQ(prompter.saveRequests[0].filter, QStringLiteral("文本文件(*.txt)|*.txt| |"));
  EXPECT_EQ(prompter.saveRequests[0].defaultExtension, QStringLiteral("txt"));
  EXPECT_EQ(prompter.saveRequests[0].defaultFileName, QString());
  EXPECT_EQ(CaptureLabel(), QString::fromStdString(chosen));
  Receive("xyz");
  EXPECT_EQ(ReadFile(chosen), "xyz");
  ChooseCaptureFile("");  // cancelled
  EXPECT_EQ(dialog.CapturePath(), chosen);

  CaptureCheck()->click();
  EXPECT_EQ(CaptureLabel(), kNoCaptureFile);
  EXPECT_EQ(dialog.CapturePath(), "");
  CaptureCheck()->click();
  EXPECT_EQ(dialog.CapturePath(), DefaultFile());
}

// One message names the file and the reason; the data is still shown and counted.
TEST_F(Capturing, AFileThatCannotBeWrittenSwitchesCaptureOffWithOneMessage) {
  const std::string underAFile = home.WriteFile("plain", "") + "/capture.txt";
  const QString reasons[] = {QStringLiteral("No space left on device"), QStringLiteral("Not a directory")};
  int attempt = 0;
  for (const std::string& path : {std::string("/dev/full"), underAFile}) {
    CaptureCheck()->click();
    ChooseCaptureFile(path);
    Receive("12");
    Receive("34");
    ASSERT_EQ(prompter.messages.size(), attempt + 1) << path;
    EXPECT_EQ(prompter.messages.last(),
              QStringLiteral("写入文件%1失败:%2\n已停止写入文件。").arg(QString::fromStdString(path), reasons[attempt]));
    EXPECT_FALSE(CaptureCheck()->isChecked());
    EXPECT_EQ(CaptureLabel(), kNoCaptureFile);
    EXPECT_TRUE(dialog.CapturePath().empty());
    EXPECT_EQ(QString::fromStdString(std::string(dialog.ReceiveText())).count(QStringLiteral("31 32 33 34")), attempt + 1);
    ++attempt;
  }
}

TEST_F(Capturing, SaveMakesTheBoxTextTheWholeFileAndThenShowsThePathAgain) {
  dialog.Button(kSaveReceiveButton)->click();
  EXPECT_EQ(prompter.messages, QStringList{QStringLiteral("请选择存放文件处！")});
  EXPECT_EQ(CaptureLabel(), kNoCaptureFile);

  CaptureCheck()->click();
  testing::WriteFile(DefaultFile(), "abcd");
  dialog.CheckBox(kHexDisplayCheck)->setChecked(false);
  Receive("XY");
  EXPECT_EQ(ReadFile(DefaultFile()), "abcdXY");
  dialog.Button(kSaveReceiveButton)->click();
  EXPECT_EQ(ReadFile(DefaultFile()), "XY");
  EXPECT_EQ(CaptureLabel(), QStringLiteral("接收数据已存入文件!"));
  QTRY_COMPARE(CaptureLabel(), QString::fromStdString(DefaultFile()));

  // A failed save says why and leaves the path and the label as they were.
  ChooseCaptureFile("/dev/full");
  dialog.Button(kSaveReceiveButton)->click();
  EXPECT_EQ(prompter.messages.last(), QStringLiteral("保存到文件/dev/full失败:No space left on device"));
  EXPECT_EQ(CaptureLabel(), QStringLiteral("/dev/full"));
  EXPECT_EQ(dialog.CapturePath(), "/dev/full");
}

}  // namespace
}  // namespace portprobe
