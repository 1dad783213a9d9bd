// The waveform view over a pseudo-terminal: the numbers of the device's lines and of
// the live decoder's output plotted, a legend entry hiding its curve, pause, and the
// exports read back.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include <qcustomplot.h>

#include <cmath>
#include <cstdlib>
#include <sstream>

#include "app/dialog_test_support.h"
#include "app/tools_menu.h"
#include "app/wave_window.h"
#include "support/wait.h"

namespace portprobe {
namespace {

std::vector<std::vector<std::string>> CsvRows(const std::string& text) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    rows.emplace_back();
    std::istringstream cells(line);
    for (std::string cell; std::getline(cells, cell, ',');) rows.back().push_back(cell);
  }
  return rows;
}

class WaveWindowTest : public testing::ConnectedWindowTest {
 protected:
  WaveWindow& Open() {
    testing::ChooseTool(dialog_, prompter_, tools::kWave);
    EXPECT_NE(dialog_.WaveView(), nullptr);
    EXPECT_TRUE(dialog_.WaveView()->isVisible());
    return *dialog_.WaveView();
  }
  std::size_t Samples(const WaveWindow& wave, std::size_t series) {
    return series < wave.Samples().SeriesCount() ? wave.Samples().SampleCount(series) : 0;
  }
};

TEST_F(WaveWindowTest, PlotsTheDevicesLinesAndExportsEveryValueExactly) {
  WaveWindow& wave = Open();
  // Lines cut across writes, a line without numbers, and a series that starts later.
  std::string lines = "0.5,-1\r\nboot ok\r\n";
  for (int i = 1; i <= 40; ++i) lines += std::to_string(i * 0.125) + "," + std::to_string(-i) + "\r\n";
  lines += "1e3,2,temp:21.5\r\n";
  pty_.Write(lines.substr(0, 7));
  pty_.Write(lines.substr(7));
  EXPECT_EVENTUALLY_EQ(Samples(wave, 2), 1u);
  EXPECT_EQ(Samples(wave, 0), 42u);
  EXPECT_EQ(wave.Samples().SeriesName(2), "temp");
  EXPECT_EVENTUALLY_EQ(wave.Plot()->graphCount(), 3);
  EXPECT_GT(wave.Plot()->graph(0)->dataCount(), 0);

  // A click on the first legend entry hides its curve; a second shows it again.
  const QPoint entry = wave.Plot()->legend->item(0)->outerRect().center();
  QTest::mouseClick(wave.Plot(), Qt::LeftButton, Qt::NoModifier, entry);
  EXPECT_FALSE(wave.Plot()->graph(0)->visible());
  QTest::mouseClick(wave.Plot(), Qt::LeftButton, Qt::NoModifier, entry);
  EXPECT_TRUE(wave.Plot()->graph(0)->visible());

  // Paused, the view stands still while the samples keep coming.
  wave.PauseButton()->click();
  EXPECT_EQ(wave.PauseButton()->text(), QStringLiteral("继续"));
  wave.DrawFrame();
  const QCPRange shown = wave.Plot()->xAxis->range();
  pty_.Write(std::string("7,8\r\n"));
  EXPECT_EVENTUALLY_EQ(Samples(wave, 0), 43u);
  QTest::qWait(100);  // frames come and go
  EXPECT_EQ(wave.Plot()->xAxis->range(), shown);
  // The cursor just right of the last samples reads their values.
  const int lastX = static_cast<int>(std::ceil(wave.Plot()->xAxis->coordToPixel(wave.Samples().LastSeconds())));
  QTest::mouseMove(wave.Plot(), QPoint(lastX + 1, wave.Plot()->axisRect()->center().y()));
  EXPECT_TRUE(wave.Reading()->text().contains(QStringLiteral(" 秒   1=7   2=8   temp=21.5"))) << wave.Reading()->text().toStdString();
  // The wheel zooms into the paused view, and the curves follow.
  const QPointF middle = wave.Plot()->axisRect()->center();
  QWheelEvent wheel(middle, wave.Plot()->mapToGlobal(middle), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(wave.Plot(), &wheel);
  EXPECT_LT(wave.Plot()->xAxis->range().size(), shown.size());

  prompter_.saveAnswers.push_back(QString::fromStdString(folder_.File("wave.csv")));
  wave.ExportCsvButton()->click();
  const auto rows = CsvRows(testing::ReadFile(folder_.File("wave.csv")));
  ASSERT_EQ(rows.size(), 44u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"time_s", "1", "2", "temp"}));
  EXPECT_EQ(rows[1][1], "0.5");
  for (int i = 1; i <= 40; ++i) {
    EXPECT_EQ(std::strtod(rows[1 + i][1].c_str(), nullptr), i * 0.125) << i;
    EXPECT_EQ(std::strtod(rows[1 + i][2].c_str(), nullptr), -i) << i;
  }
  EXPECT_EQ(rows[42], (std::vector<std::string>{rows[42][0], "1000", "2", "21.5"}));
  EXPECT_EQ(rows[43], (std::vector<std::string>{rows[43][0], "7", "8"}));
  EXPECT_EQ(prompter_.saveRequests.back().defaultExtension, QStringLiteral("csv"));

  prompter_.saveAnswers.push_back(QString::fromStdString(folder_.File("wave.png")));
  wave.ExportPngButton()->click();
  EXPECT_TRUE(testing::ReadFile(folder_.File("wave.png")).starts_with("\x89PNG"));
  prompter_.saveAnswers.push_back(QString::fromStdString(folder_.File("missing/wave.csv")));
  wave.ExportCsvButton()->click();
  ASSERT_FALSE(prompter_.messages.isEmpty());
  EXPECT_TRUE(prompter_.messages.back().startsWith(QStringLiteral("无法写入文件"))) << prompter_.messages.back().toStdString();

  wave.ClearButton()->click();
  EXPECT_EQ(wave.Samples().SeriesCount(), 0u);
  EXPECT_EQ(wave.Plot()->graphCount(), 0);
}

// The Modbus example's registers, decoded live from the device's replies.
TEST_F(WaveWindowTest, PlotsTheLiveDecodersRegisters) {
  prompter_.openAnswers.push_back(QStringLiteral(PORTPROBE_EXAMPLES_DIR "/modbus_plot.txt"));
  testing::ChooseTool(dialog_, prompter_, tools::kLoadParser);
  testing::ChooseTool(dialog_, prompter_, tools::kFirstLiveDecoder);
  WaveWindow& wave = Open();
  testing::Choose(wave.SourceList(), static_cast<int>(WaveWindow::Source::Decoded));
  pty_.Write(std::vector<std::uint8_t>{0x01, 0x03, 0x06, 0x00, 0xEA, 0x01, 0x90, 0x00, 0x01, 0xF8, 0xB3});
  EXPECT_EVENTUALLY_EQ(wave.Samples().SeriesCount(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(wave.Samples().SeriesName(i), "register" + std::to_string(i));
    EXPECT_EQ(wave.Samples().ValueAt(i, wave.Samples().LastSeconds())->value, (std::array{234, 400, 1})[i]);
  }
  // A text line is not this source's.
  pty_.Write(std::string("5,6\r\n"));
  QTest::qWait(200);
  EXPECT_EQ(wave.Samples().SeriesCount(), 3u);
}

// The view's source, place and open state come back in the next window.
TEST(RememberedWave, TheViewComesBackAsItWasLeft) {
  testing::PtyPair pty;
  testing::TempDir config;
  testing::ScriptedPrompter prompter;
  TerminalOptions options = testing::PortsFirst({pty.SlavePath()});
  options.settingsFile = config.File("portprobe.ini");
  const auto stored = [&](const char* key) {
    return QSettings(QString::fromStdString(options.settingsFile), QSettings::IniFormat).value(QString::fromUtf8(key));
  };
  {
    MainDialog window(prompter, options);
    testing::ChooseTool(window, prompter, tools::kWave);
    testing::Choose(window.WaveView()->SourceList(), static_cast<int>(WaveWindow::Source::Decoded));
    window.WaveView()->move(40, 50);
    EXPECT_TRUE(testing::WaitUntil([&] { return stored("wave/settings").toString().startsWith("source=1;"); }));
  }
  MainDialog window(prompter, options);
  ASSERT_NE(window.WaveView(), nullptr);
  EXPECT_TRUE(testing::WaitUntil([&] { return window.WaveView()->isVisible(); }));
  EXPECT_EQ(window.WaveView()->SourceList()->currentIndex(), static_cast<int>(WaveWindow::Source::Decoded));
  EXPECT_EQ(window.WaveView()->pos(), QPoint(40, 50));
  window.WaveView()->close();
  EXPECT_TRUE(testing::WaitUntil([&] { return stored("wave/open").toString() == "false"; }));
}

}  // namespace
}  // namespace portprobe
