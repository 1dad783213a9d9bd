// Sends to a device that reads nothing and measures what the window feels of it: the
// longest stall of its event loop while auto send runs every 10 ms, how long "关闭"
// takes, and the resident memory at the end.
//
//   stuck_device [--seconds N]
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/main_dialog.h"
#include "integer_option.h"
#include "ui/plain_text_view.h"
#include "process_memory.h"
#include "resources/control_ids.h"
#include "support/ports_first.h"
#include "support/pty_pair.h"
#include "support/scripted_prompter.h"

namespace portprobe {
namespace {

using namespace resources;

constexpr int kTickMs = 5;

struct Setup {
  const char* name;
  int kibibytes;  // size of the send box in characters mode; 0 for the start-up hex frame
};

void Run(const Setup& setup, int seconds) {
  testing::PtyPair pty;  // nobody reads its device side
  testing::ScriptedPrompter prompter;
  MainDialog dialog(prompter, testing::PortsFirst({pty.SlavePath()}));
  dialog.show();
  if (setup.kibibytes > 0) {
    dialog.CheckBox(kHexSendCheck)->setChecked(false);
    const QString line = QString(1022, QLatin1Char('x')) + QLatin1Char('\n');
    dialog.SendBox()->SetText(line.repeated(setup.kibibytes).toStdString());
  }
  dialog.Edit(kPeriodEdit)->setText(QStringLiteral("10"));
  dialog.CheckBox(kAutoSendCheck)->click();

  QEventLoop loop;
  QElapsedTimer clock, sinceTick, blockedAfter;
  qint64 longestGap = 0, blockedMs = -1;
  QTimer ticker;
  ticker.setTimerType(Qt::PreciseTimer);
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    longestGap = std::max(longestGap, sinceTick.restart());
    if (blockedMs < 0 && dialog.Label(kStatusLabel)->text().endsWith(QStringLiteral("发送阻塞"))) {
      blockedMs = clock.elapsed();
    }
    if (clock.elapsed() > seconds * 1000) loop.quit();
  });
  clock.start();
  sinceTick.start();
  ticker.start(kTickMs);
  loop.exec();

  QElapsedTimer closing;
  closing.start();
  dialog.Button(kOpenButton)->click();
  const qint64 closeMs = closing.elapsed();
  std::printf("%-22s %14lld %18lld %10lld %12lld %10.0f  %s\n", setup.name, static_cast<long long>(longestGap),
              static_cast<long long>(blockedMs), static_cast<long long>(closeMs),
              static_cast<long long>(dialog.TxCount()), bench::ProcessMegabytes("VmRSS:"),
              prompter.messages.join(QLatin1Char('|')).toStdString().c_str());
  std::fflush(stdout);
}

}  // namespace
}  // namespace portprobe

int main(int argc, char** argv) {
  using namespace portprobe;
  const int seconds = static_cast<int>(bench::IntegerOption(argc, argv, "--seconds", 5));
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);
  std::printf("auto send every 10 ms for %d s into a device that reads nothing\n", seconds);
  std::printf("%-22s %14s %18s %10s %12s %10s  %s\n", "send", "longest stall", "发送阻塞 after ms", "close ms",
              "TX bytes", "RSS MiB", "message at close");
  for (const Setup setup : {Setup{"11-byte hex frame", 0}, Setup{"64 KiB of characters", 64}}) {
    Run(setup, seconds);
  }
  return 0;
}
