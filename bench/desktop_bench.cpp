#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "desktop/column_lists.h"
#include "document/source_document.h"
#include "platform/posix/real_file_system.h"

namespace tarn {
namespace {

class SilentMessages : public MessageService {
 public:
  MessageAnswer show(std::string_view, std::string_view, MessageIcon, MessageButtons) override {
    return MessageAnswer::Ok;
  }
};

/// A module of 1,000 procedures named as generated applications name them.
std::string thousandProcedures() {
  const char* verbs[] = {"Browse", "Update", "Print", "Process", "Select",
                         "Report", "Form",   "Main",  "Prepare", "Post"};
  const char* subjects[] = {"Customer", "Invoice", "Product", "Order",   "Supplier",
                            "Payment",  "Stock",   "Account", "Shipment", "Employee"};
  std::string text = "  MEMBER('APP.CLW')\n";
  for (int i = 0; i < 1000; ++i) {
    text += std::string(verbs[i % 10]) + subjects[(i / 10) % 10] + std::to_string(i / 100) +
            " PROCEDURE\n  CODE\n  RETURN\n";
  }
  return text;
}

// One keystroke in a unit list's filter: argument = characters typed so far of "process".
void BM_UnitFilterKeystroke(benchmark::State& state) {
  auto path = std::filesystem::temp_directory_path() /
              ("tarnlist-bench-units-" + std::to_string(::getpid()) + ".clw");
  {
    std::ofstream out(path, std::ios::binary);
    out << thousandProcedures();
  }
  RealFileSystem fs;
  SilentMessages messages;
  auto doc = loadDocument(path.string(), AnalyseOptions{}, fs, messages);
  std::filesystem::remove(path);
  if (!doc) {
    state.SkipWithError("the generated module did not load");
    return;
  }
  StructsListData list(*doc);
  const std::string filter = std::string("process").substr(0, static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    list.applyFilter(filter);
    benchmark::DoNotOptimize(list.shownCount());
  }
  state.counters["entries"] = list.entryCount();
  state.counters["shown"] = list.shownCount();
}
BENCHMARK(BM_UnitFilterKeystroke)->DenseRange(1, 7)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tarn
