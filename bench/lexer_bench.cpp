#include <benchmark/benchmark.h>

#include <string>

#include "analysis/lexer.h"
#include "analysis/source_text.h"
#include "corpus_text.h"

namespace tarn {
namespace {

void lexText(benchmark::State& state, const std::string& text) {
  std::size_t tokens = 0, bytes = 0;
  for (auto _ : state) {
    TokenList list;
    lex(text, true, LexOptions{}, list);
    tokens = static_cast<std::size_t>(list.count());
    bytes = list.memoryBytes();
    benchmark::DoNotOptimize(list.back());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  state.counters["tokens"] = static_cast<double>(tokens);
  state.counters["bytes_per_token"] = static_cast<double>(bytes) / static_cast<double>(tokens);
}

// Source text lexed into tokens: 1 MB of real Clarion as read from disk.
void BM_Lex1MB(benchmark::State& state) {
  lexText(state, sourceTextOf(bench::clarionText(1'000'000)));
}
BENCHMARK(BM_Lex1MB)->Unit(benchmark::kMillisecond);

// A file far past any buffer size: 20 MB, none of it dropped.
void BM_Lex20MB(benchmark::State& state) {
  std::string raw = bench::clarionText(20'000'000);
  std::erase_if(raw, [](char c) { return c == '\x1A' || c == '\0'; });
  const std::string text = sourceTextOf(raw);
  if (text.size() + 2'000'000 < raw.size()) state.SkipWithError("the text was cut short");
  lexText(state, text);
}
BENCHMARK(BM_Lex20MB)->Unit(benchmark::kMillisecond);

// Reading as text: carriage returns dropped, UTF-8 looked for.
void BM_ReadAsText1MB(benchmark::State& state) {
  const std::string raw = bench::clarionText(1'000'000);
  for (auto _ : state) benchmark::DoNotOptimize(sourceTextOf(raw));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * raw.size()));
}
BENCHMARK(BM_ReadAsText1MB)->Unit(benchmark::kMillisecond);

void BM_ReadAsText20MB(benchmark::State& state) {
  const std::string raw = bench::clarionText(20'000'000);
  for (auto _ : state) benchmark::DoNotOptimize(sourceTextOf(raw));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * raw.size()));
}
BENCHMARK(BM_ReadAsText20MB)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarn
