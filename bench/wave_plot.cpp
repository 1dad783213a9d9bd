// The waveform view under load, on the offscreen platform.
// - Frame: one frame (curves decimated, axes, legend, painted) with 8 series of N
//   samples each kept, rolling over the last 10 s or showing all of them. Its median
//   should not grow with N.
// - Live: 8 series at 1,000 samples a second each, fed in real time as the port's
//   batches of 10 ms for WAVE_BENCH_SECONDS (default 60), from empty and from full:
//   frames drawn per second, the process's processor time as a share of one core, and
//   resident memory at 10 % and at the end of the run.
//
//   wave_plot [Google Benchmark options]
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <qcustomplot.h>
#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <string>

#include "app/wave_window.h"
#include "bench/process_memory.h"
#include "support/scripted_prompter.h"

namespace portprobe {
namespace {

constexpr int kSeries = 8;
constexpr int kRate = 1000;

// One line of the eight series at sample `i`.
std::string Line(long i) {
  std::string line;
  for (int s = 0; s < kSeries; ++s) {
    line += std::to_string(std::sin(0.01 * static_cast<double>(i) + s) * (s + 1));
    line += s + 1 < kSeries ? ',' : '\n';
  }
  return line;
}

SerialEvent Batch(const std::string& bytes, WallTime time) {
  SerialEvent event;
  event.bytes.assign(bytes.begin(), bytes.end());
  event.time = time;
  return event;
}

double ProcessorSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct View {
  testing::ScriptedPrompter prompter;
  WaveWindow window{nullptr, prompter};
  View() {
    window.resize(1000, 500);
    window.show();
    QApplication::processEvents();
  }
};

// Fills the view with `samples` lines of the series, as the port reads them at their
// rate (10 lines every 10 ms), the last of them just now.
void Prefill(WaveWindow& window, long samples, WallTime end) {
  const WallTime start = end - std::chrono::microseconds(samples * 1'000'000 / kRate);
  std::string text;
  for (long i = 0; i < samples; ++i) {
    text += Line(i);
    if (i % 10 == 9 || i + 1 == samples) {
      const SerialEvent batch = Batch(text, start + std::chrono::microseconds(i * 1'000'000 / kRate));
      window.AddReceived({&batch, 1}, TextEncoding::Utf8);
      text.clear();
    }
  }
}

void Frame(benchmark::State& state, bool all) {
  View view;
  view.window.SetSettingsText(QStringLiteral("all=%1").arg(int(all)));
  const long samples = state.range(0);
  const WallTime start = std::chrono::system_clock::now();
  Prefill(view.window, samples, start);
  long next = samples;
  for (auto _ : state) {
    // Each frame has a new line to show, as in a live run.
    const SerialEvent batch = Batch(Line(next), start + std::chrono::microseconds((next - samples) * 1'000'000 / kRate));
    ++next;
    view.window.AddReceived({&batch, 1}, TextEncoding::Utf8);
    view.window.DrawFrame();  // curves, axes and legend, painted
  }
  state.counters["samples_per_series"] = static_cast<double>(view.window.Samples().SampleCount(0));
}

void FrameRolling(benchmark::State& state) { Frame(state, false); }
void FrameAll(benchmark::State& state) { Frame(state, true); }

void Live(benchmark::State& state) {
  const double seconds = qEnvironmentVariableIsSet("WAVE_BENCH_SECONDS")
                             ? qEnvironmentVariable("WAVE_BENCH_SECONDS").toDouble()
                             : 60;
  for (auto _ : state) {
    View view;
    Prefill(view.window, state.range(0), std::chrono::system_clock::now());
    int frames = 0;
    QObject::connect(view.window.Plot(), &QCustomPlot::afterReplot, [&frames] { ++frames; });
    long sent = 0;
    double memoryAtTenth = 0;
    QElapsedTimer clock;
    clock.start();
    const double processorBefore = ProcessorSeconds();
    QTimer feed;
    feed.setTimerType(Qt::PreciseTimer);
    QObject::connect(&feed, &QTimer::timeout, [&] {
      const long due = clock.elapsed() * kRate / 1000;
      std::string text;
      for (; sent < due; ++sent) text += Line(sent);
      const SerialEvent batch = Batch(text, std::chrono::system_clock::now());
      view.window.AddReceived({&batch, 1}, TextEncoding::Utf8);
      if (memoryAtTenth == 0 && clock.elapsed() > seconds * 100) memoryAtTenth = bench::ProcessMegabytes("VmRSS:");
      if (clock.elapsed() >= seconds * 1000) QApplication::quit();
    });
    feed.start(10);
    QApplication::exec();
    const double elapsed = static_cast<double>(clock.elapsed()) / 1000;
    state.counters["frames_per_second"] = frames / elapsed;
    state.counters["core_percent"] = 100 * (ProcessorSeconds() - processorBefore) / elapsed;
    state.counters["samples_per_second"] = static_cast<double>(sent) * kSeries / elapsed;
    state.counters["rss_MiB_at_10pct"] = memoryAtTenth;
    state.counters["rss_MiB_at_end"] = bench::ProcessMegabytes("VmRSS:");
  }
}

BENCHMARK(FrameRolling)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(FrameAll)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
// From empty, and with every series already holding the samples kept.
BENCHMARK(Live)->Arg(0)->Arg(SampleStore::kMaxSamplesPerSeries)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
}  // namespace portprobe
