// main() of the Google Benchmark programs that run the window: the application object
// must exist before any widget. Runs on the offscreen platform unless QT_QPA_PLATFORM
// says otherwise.
#include <QApplication>
#include <benchmark/benchmark.h>

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
