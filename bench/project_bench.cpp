#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <string>

#include "generated_project.h"
#include "document/project.h"

namespace tarn {
namespace {

void BM_ProjectLoad300Files(benchmark::State& state) {
  int lines = 0;
  bench::MemoryFileSystem fs = bench::generatedProject(&lines);
  bench::ArchivedAttributes attributes;
  std::size_t files = 0, procedures = 0;
  for (auto _ : state) {
    ApplicationData app("/proj/MAIN.CLW", fs, attributes);
    files = app.files.size();
    procedures = app.procedures.size();
    benchmark::DoNotOptimize(app.procedures.data());
  }
  state.counters["files"] = static_cast<double>(files);
  state.counters["lines"] = lines;
  state.counters["procedures"] = static_cast<double>(procedures);
}
BENCHMARK(BM_ProjectLoad300Files)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarn
