#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <thread>

#include "app/dialog_test_support.h"
#include "app/file_filters.h"
#include "support/file_permissions.h"
#include "support/scoped_environment.h"
#include "support/wait.h"

namespace portprobe {
namespace {

using namespace resources;
using testing::ReadFile;

const QString kNoCaptureFile = QStringLiteral("未指定写入文件");

// The test's own folder stands in for $HOME.
class Capturing : public testing::ConnectedWindowTest {
 protected:
  testing::ScopedEnvironment home_{"HOME", folder_.Path().string()};

  QCheckBox* CaptureCheck() const { return dialog_.CheckBox(kCaptureCheck); }
  QString CaptureLabel() const { return dialog_.Label(kCaptureLabel)->text(); }
  std::string DefaultFile() const { return folder_.File("ttyprobe/test1.txt"); }

  void ChooseCaptureFile(const std::string& path) {
    prompter_.saveAnswers.push_back(QString::fromStdString(path));
    Click(kChangeCaptureButton);
  }

  // Writes at the far end and waits until the window has counted it.
  void Receive(const std::string& bytes) {
    const std::int64_t expected = dialog_.RxCount() + static_cast<std::int64_t>(bytes.size());
    pty_.Write(bytes);
    EXPECT_EVENTUALLY_EQ(dialog_.RxCount(), expected);
  }
};

TEST_F(Capturing, EveryReceivedByteLandsRawInTheFileInBothDisplays) {
  CaptureCheck()->click();
  EXPECT_TRUE(std::filesystem::is_directory(folder_.File("ttyprobe")));
  EXPECT_EQ(CaptureLabel(), QString::fromStdString(DefaultFile()));

  const std::vector<std::uint8_t> stream = testing::RandomBytes(4 << 20, 11);
  std::thread device([&] { pty_.Write(stream); });
  EXPECT_EVENTUALLY_EQ_WITHIN(dialog_.RxCount(), static_cast<std::int64_t>(stream.size()), 60000);
  device.join();
  const std::string captured = ReadFile(DefaultFile());
  ASSERT_EQ(captured.size(), stream.size());
  const auto hash = std::hash<std::string_view>{};
  EXPECT_EQ(hash(captured), hash(std::string_view(reinterpret_cast<const char*>(stream.data()), stream.size())));

  dialog_.CheckBox(kHexDisplayCheck)->setChecked(false);
  Receive(std::string("A\0B", 3));
  EXPECT_EQ(ReadFile(DefaultFile()).substr(stream.size()), std::string("A\0B", 3));
  EXPECT_TRUE(prompter_.messages.isEmpty());
}

TEST_F(Capturing, AnotherFileCanBeChosenWhileCaptureIsOn) {
  Click(kChangeCaptureButton);
  EXPECT_EQ(prompter_.messages, QStringList{QStringLiteral("你未指定写入到文件项。")});
  EXPECT_TRUE(prompter_.saveRequests.empty());

  CaptureCheck()->click();
  const std::string chosen = folder_.File("chosen.txt");
  ChooseCaptureFile(chosen);
  ASSERT_EQ(prompter_.saveRequests.size(), 1u);
  EXPECT_EQ(prompter_.saveRequests[0].filter, kCaptureFileFilter);
  EXPECT_EQ(prompter_.saveRequests[0].defaultExtension, QStringLiteral("txt"));
  EXPECT_EQ(prompter_.saveRequests[0].defaultFileName, QString());
  EXPECT_EQ(CaptureLabel(), QString::fromStdString(chosen));
  Receive("xyz");
  EXPECT_EQ(ReadFile(chosen), "xyz");
  ChooseCaptureFile("");  // cancelled
  EXPECT_EQ(dialog_.CapturePath(), chosen);

  CaptureCheck()->click();
  EXPECT_EQ(CaptureLabel(), kNoCaptureFile);
  EXPECT_EQ(dialog_.CapturePath(), "");
  CaptureCheck()->click();
  EXPECT_EQ(dialog_.CapturePath(), DefaultFile());
}

// One message names the file and the reason; the data is still shown and counted.
TEST_F(Capturing, AFileThatCannotBeWrittenSwitchesCaptureOffWithOneMessage) {
  const std::string underAFile = folder_.WriteFile("plain", "") + "/capture.txt";
  const std::string readOnly =
      testing::WithPermissions(folder_.WriteFile("read-only.txt", ""), std::filesystem::perms::owner_read);
  const testing::ScopedFilePermissions permissionsCount;
  const QString reasons[] = {QStringLiteral("No space left on device"), QStringLiteral("Not a directory"),
                             QStringLiteral("Permission denied")};
  int attempt = 0;
  for (const std::string& path : {std::string("/dev/full"), underAFile, readOnly}) {
    CaptureCheck()->click();
    ChooseCaptureFile(path);
    Receive("12");
    Receive("34");
    ASSERT_EQ(prompter_.messages.size(), attempt + 1) << path;
    EXPECT_EQ(
        prompter_.messages.last(),
        QStringLiteral("写入文件%1失败:%2\n已停止写入文件。").arg(QString::fromStdString(path), reasons[attempt]));
    EXPECT_FALSE(CaptureCheck()->isChecked());
    EXPECT_EQ(CaptureLabel(), kNoCaptureFile);
    EXPECT_TRUE(dialog_.CapturePath().empty());
    EXPECT_EQ(QString::fromStdString(std::string(dialog_.ReceiveText())).count(QStringLiteral("31 32 33 34")),
              attempt + 1);
    ++attempt;
  }
}

TEST_F(Capturing, SaveMakesTheBoxTextTheWholeFileAndThenShowsThePathAgain) {
  Click(kSaveReceiveButton);
  EXPECT_EQ(prompter_.messages, QStringList{QStringLiteral("请选择存放文件处！")});
  EXPECT_EQ(CaptureLabel(), kNoCaptureFile);

  CaptureCheck()->click();
  testing::WriteFile(DefaultFile(), "abcd");
  dialog_.CheckBox(kHexDisplayCheck)->setChecked(false);
  Receive("XY");
  EXPECT_EQ(ReadFile(DefaultFile()), "abcdXY");
  Click(kSaveReceiveButton);
  EXPECT_EQ(ReadFile(DefaultFile()), "XY");
  EXPECT_EQ(CaptureLabel(), QStringLiteral("接收数据已存入文件!"));
  EXPECT_EVENTUALLY_EQ(CaptureLabel(), QString::fromStdString(DefaultFile()));

  // A failed save says why and leaves the path and the label as they were.
  ChooseCaptureFile("/dev/full");
  Click(kSaveReceiveButton);
  EXPECT_EQ(prompter_.messages.last(), QStringLiteral("保存到文件/dev/full失败:No space left on device"));
  EXPECT_EQ(CaptureLabel(), QStringLiteral("/dev/full"));
  EXPECT_EQ(dialog_.CapturePath(), "/dev/full");
}

}  // namespace
}  // namespace portprobe
