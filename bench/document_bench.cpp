#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "corpus_text.h"
#include "document/source_document.h"
#include "platform/posix/real_file_system.h"

namespace tarn {
namespace {

class QuietMessages : public MessageService {
 public:
  MessageAnswer show(std::string_view, std::string_view, MessageIcon, MessageButtons) override {
    return MessageAnswer::Ok;
  }
};

void loadText(benchmark::State& state, std::string contents) {
  // A Ctrl-Z in the corpus would end the text early.
  std::erase_if(contents, [](char c) { return c == '\x1A' || c == '\0'; });
  auto path = std::filesystem::temp_directory_path() /
              ("tarnlist-bench-" + std::to_string(::getpid()) + ".clw");
  {
    std::ofstream out(path, std::ios::binary);
    out << contents;
  }
  RealFileSystem fs;
  QuietMessages messages;
  double perToken = 0;
  std::size_t tokens = 0;
  for (auto _ : state) {
    auto doc = loadDocument(path.string(), AnalyseOptions{}, fs, messages);
    tokens = static_cast<std::size_t>(doc->tokens->count());
    std::size_t bytes = doc->tokens->memoryBytes() + sizeof(TFileDataSource) +
                        (doc->blocks.capacity() + doc->embeds.capacity()) * sizeof(TToken*);
    perToken = static_cast<double>(bytes) / static_cast<double>(tokens);
    benchmark::DoNotOptimize(doc);
  }
  std::filesystem::remove(path);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * contents.size()));
  state.counters["tokens"] = static_cast<double>(tokens);
  state.counters["bytes_per_token"] = perToken;
}

// Read from disk, lex and analyse 1 MB of real Clarion.
void BM_LoadDocument1MB(benchmark::State& state) { loadText(state, bench::clarionText(1'000'000)); }
BENCHMARK(BM_LoadDocument1MB)->Unit(benchmark::kMillisecond);

// The same for a file of 20 MB, loaded whole.
void BM_LoadDocument20MB(benchmark::State& state) {
  loadText(state, bench::clarionText(20'000'000));
}
BENCHMARK(BM_LoadDocument20MB)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarn
