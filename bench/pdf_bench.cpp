#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <filesystem>
#include <fstream>
#include <memory>

#include <unistd.h>

#include "corpus_text.h"
#include "document/source_document.h"
#include "platform/file_attributes.h"
#include "platform/posix/real_file_system.h"
#include "pdf/qt/pdf_target.h"
#include "platform/qt/qt_environment.h"
#include "platform/qt/qt_printer.h"
#include "printout/listing_printout.h"
#include "settings/setup_data.h"

namespace tarn {
namespace {

class QuietMessages : public MessageService {
 public:
  MessageAnswer show(std::string_view, std::string_view, MessageIcon, MessageButtons) override {
    return MessageAnswer::Ok;
  }
};

class NoProfile : public Profile {
 public:
  std::string getString(std::string_view, std::string_view, std::string_view fallback) override {
    return std::string(fallback);
  }
  int getInt(std::string_view, std::string_view, int fallback) override { return fallback; }
  bool writeString(std::string_view, std::string_view, std::string_view) override { return true; }
};

// Fonts need a GUI application; it lives until the program ends.
void ensureGuiApplication() {
  if (QCoreApplication::instance()) return;
  selectHeadlessPlatformIfNeeded();
  static int argc = 1;
  static char name[] = "tarn_bench";
  static char* argv[] = {name, nullptr};
  new QGuiApplication(argc, argv);
}

// The whole listing of 1 MB of real Clarion into a PDF file, as --pdf makes
// it: layout, fonts, content, compression and writing, with the default
// settings (landscape, two columns).
void BM_PdfListing1MB(benchmark::State& state) {
  ensureGuiApplication();
  const auto dir = std::filesystem::temp_directory_path();
  const auto source = dir / ("tarnlist-bench-" + std::to_string(::getpid()) + ".clw");
  const auto pdf = dir / ("tarnlist-bench-" + std::to_string(::getpid()) + ".pdf");
  {
    std::ofstream out(source, std::ios::binary);
    out << bench::clarionText(1'000'000);
  }
  RealFileSystem fs;
  QuietMessages messages;
  NoProfile profile;
  const SetupData setup = defaultSetupData();
  DateFormatter dates(profile, [] { return std::optional<int>(1); }, messages);
  auto doc = loadDocument(source.string(), analysisOptions(setup), fs, messages);
  if (!doc) {
    state.SkipWithError("the text did not load");
    return;
  }
  const PdfPageSetup page = pdfPageSetup(true);
  // 1: line numbers, page count (a layout pass ahead) and the outline.
  const ListingExtras extras = state.range(0) ? ListingExtras{true, true, true} : ListingExtras{false, false, false};

  std::uintmax_t bytes = 0;
  int pages = 0;
  for (auto _ : state) {
    PdfTarget target(pdf.string(), page);
    pages = 0;
    target.pageStarting = [&pages](int) { return ++pages, true; };
    PrintContext context{setup, dates, [] { return std::time_t{0}; }, extras};
    TMyPrintout printout(*doc, doc->path, 0, nullptr, false, context);
    const bool printed = target.open() && runPrintJob(printout, target) == JobResult::Printed;
    if (printed) target.setDocumentInfo(printout.documentInfo());
    if (!printed || !target.finish()) {
      state.SkipWithError("the PDF was not written");
      break;
    }
    bytes = std::filesystem::file_size(pdf);
  }
  std::filesystem::remove(source);
  std::filesystem::remove(pdf);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 1'000'000);
  state.counters["pdf_bytes"] = static_cast<double>(bytes);
  state.counters["pages"] = pages;
}
BENCHMARK(BM_PdfListing1MB)->Arg(0)->Arg(1)->ArgNames({"extras"})->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarn
