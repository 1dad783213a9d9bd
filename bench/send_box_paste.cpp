// A big paste into the send box: the time from Ctrl+V posted to the window until its
// event loop answers again, and the processor time that the window then uses in one
// second at rest. The pasted text is one line of hex text, the hardest case for a
// text editor.
//
//   send_box_paste [Google Benchmark options]
#include <QApplication>
#include <QClipboard>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>

#include "resources/control_ids.h"
#include "ui/plain_text_view.h"
#include "window_under_test.h"

namespace portprobe {
namespace {

double ProcessorSeconds() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Runs the event loop for `ms` milliseconds, sleeping while nothing happens.
void RunEventLoop(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

void SendBoxPaste(benchmark::State& state) {
  bench::WindowUnderTest window;
  if (!window.ready) {
    state.SkipWithError("the window did not come up with its port open");
    return;
  }
  const auto bytes = static_cast<qsizetype>(state.range(0)) << 20;
  QString text = QStringLiteral("0b 03 07 00 ").repeated(bytes / 12 + 1);
  text.truncate(bytes - 1);
  QApplication::clipboard()->setText(text);
  window.dialog.SendBox()->setFocus();
  double idleSeconds = 0;
  for (auto _ : state) {
    window.dialog.SendBox()->Clear();
    const auto start = std::chrono::steady_clock::now();
    window.PostKey(Qt::Key_V, Qt::ControlModifier, {});
    bool answered = false;
    QTimer::singleShot(0, [&] { answered = true; });
    while (!answered) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    const double before = ProcessorSeconds();
    RunEventLoop(1000);
    idleSeconds = ProcessorSeconds() - before;
  }
  if (window.dialog.SendBox()->Text().Size() != static_cast<std::size_t>(bytes - 1)) {
    state.SkipWithError("the paste did not arrive whole");
  }
  state.counters["idle_cpu_ms_per_s"] = idleSeconds * 1000;
}

BENCHMARK(SendBoxPaste)->Arg(1)->Arg(4)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace portprobe
