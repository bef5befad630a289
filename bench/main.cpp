#include <benchmark/benchmark.h>

#include "platform/posix/memory_tuning.h"

int main(int argc, char** argv) {
  // Measured with the program's own memory settings.
  tarn::tuneMemoryForLargeFiles();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
