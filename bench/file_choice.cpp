// What the window costs when the user hands it big files and long histories:
//   - choosing a 200 MB send file (time, and the resident memory it adds);
//   - sending a 64 MiB file through a pseudo-terminal (MB/s, and the memory it adds);
//   - importing a history file of 10,000 entries and showing the popup;
//   - showing the popup over 2,000,000 entries.
// Each figure is the time until the window's event loop answers again, median of runs.
//
//   file_choice [--runs N]
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/history_popup.h"
#include "app/main_dialog.h"
#include "integer_option.h"
#include "process_memory.h"
#include "resources/control_ids.h"
#include "support/ports_first.h"
#include "support/pty_pair.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace portprobe {
namespace {

using namespace resources;

// Milliseconds from just before `action` until the event loop runs a call posted then.
double MillisecondsUntilAnswered(const std::function<void()>& action) {
  bool answered = false;
  QElapsedTimer clock;
  clock.start();
  QTimer::singleShot(0, [&answered] { answered = true; });
  action();
  while (!answered) QApplication::processEvents(QEventLoop::AllEvents, 10);
  return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

struct Window {
  testing::PtyPair pty;
  testing::ScriptedPrompter prompter;
  MainDialog dialog{prompter, testing::PortsFirst({pty.SlavePath()})};
  Window() {
    dialog.show();
    QApplication::processEvents();
  }
  void Click(int id) { dialog.Button(id)->click(); }
};

void ChooseLargeSendFile(const testing::TempDir& folder, std::vector<double>& ms, std::vector<double>& addedMiB) {
  const std::string path = folder.WriteFile("large.bin", std::string(200'000'000, 'z'));
  Window window;
  const double before = bench::ProcessMegabytes("VmRSS:");
  window.prompter.openAnswers = {QString::fromStdString(path)};
  ms.push_back(MillisecondsUntilAnswered([&] { window.Click(kSendFileButton); }));
  addedMiB.push_back(bench::ProcessMegabytes("VmRSS:") - before);
}

void SendFile(const testing::TempDir& folder, std::vector<double>& megabytesPerSecond, std::vector<double>& addedMiB) {
  constexpr std::size_t kBytes = std::size_t{64} << 20;
  const std::string path = folder.WriteFile("send.bin", std::string(kBytes, 'q'));
  Window window;
  window.dialog.CheckBox(kHexSendCheck)->setChecked(false);
  window.prompter.openAnswers = {QString::fromStdString(path)};
  window.Click(kSendFileButton);
  const double before = bench::ProcessMegabytes("VmRSS:");
  // The far end reads and drops, so that only the window's memory is counted.
  std::thread reader([&] {
    for (std::size_t got = 0; got < kBytes;) {
      const std::size_t piece = window.pty.Read(1 << 16, 2000).size();
      if (piece == 0) break;
      got += piece;
    }
  });
  const double ms = MillisecondsUntilAnswered([&] { window.Click(kManualSendButton); });
  reader.join();
  megabytesPerSecond.push_back(static_cast<double>(kBytes) / 1e3 / ms);
  addedMiB.push_back(bench::ProcessMegabytes("VmRSS:") - before);
}

void ImportHistory(const testing::TempDir& folder, std::vector<double>& ms) {
  std::string lines;
  for (int i = 0; i < 10000; ++i) lines += "0b 03 07 00 34 12 00 00 01 01 00 " + std::to_string(i) + "\r\n";
  Window window;
  window.prompter.openAnswers = {QString::fromStdString(folder.WriteFile("history.txt", lines))};
  ms.push_back(MillisecondsUntilAnswered([&] {
    window.Click(kImportHistoryButton);
    window.Click(kHistoryPopupButton);
  }));
}

void ShowHugePopup(std::vector<double>& ms) {
  QStringList entries;
  entries.reserve(2'000'000);
  for (int i = 0; i < 2'000'000; ++i) entries << QStringLiteral("0b 03 07 00 %1").arg(i);
  HistoryPopup popup(nullptr, [](int, bool) {});
  ms.push_back(MillisecondsUntilAnswered([&] {
    popup.FillHistoryPopup(entries);
    popup.show();
  }));
}

}  // namespace
}  // namespace portprobe

int main(int argc, char** argv) {
  using namespace portprobe;
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);
  const int runs = static_cast<int>(bench::IntegerOption(argc, argv, "--runs", 5));
  const testing::TempDir folder;
  std::vector<double> chooseMs, chooseMiB, sendRate, sendMiB, importMs, popupMs;
  for (int run = 0; run < runs; ++run) {
    ChooseLargeSendFile(folder, chooseMs, chooseMiB);
    SendFile(folder, sendRate, sendMiB);
    ImportHistory(folder, importMs);
    ShowHugePopup(popupMs);
  }
  std::printf("medians of %d runs\n", runs);
  std::printf("choose a 200 MB send file      %8.1f ms   %+7.1f MiB resident\n", Median(chooseMs), Median(chooseMiB));
  std::printf("send a 64 MiB file             %8.1f MB/s %+7.1f MiB resident\n", Median(sendRate), Median(sendMiB));
  std::printf("import 10,000 entries + popup  %8.1f ms\n", Median(importMs));
  std::printf("popup over 2,000,000 entries   %8.1f ms\n", Median(popupMs));
  return 0;
}
