#include <benchmark/benchmark.h>

#include "platform/posix/memory_tuning.h"

#ifdef TARNLIST_BENCH_WIDGETS
#include <QApplication>
#endif

int main(int argc, char** argv) {
  // Measured with the program's own memory settings.
  tarn::tuneMemoryForLargeFiles();
#ifdef TARNLIST_BENCH_WIDGETS
  // Windows need a widget application, made before any bench makes a lesser
  // one; off screen unless asked otherwise, so figures do not depend on a
  // display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
#endif
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
