#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QMdiSubWindow>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>

#include <unistd.h>

#include "corpus_text.h"
#include "generated_project.h"
#include "platform/file_attributes.h"
#include "platform/message_service.h"
#include "platform/posix/real_file_system.h"
#include "printout/recording_canvas.h"
#include "settings/setup_data.h"
#include "ui/app_context.h"
#include "ui/file_window.h"
#include "ui/main_frame.h"
#include "ui/mdi_client.h"
#include "ui/preview_window.h"

namespace tarn {
namespace {

/// Values kept for the run only; names compare without regard to case.
class MemoryProfile : public Profile {
 public:
  std::string getString(std::string_view section, std::string_view key,
                        std::string_view fallback) override {
    const auto it = values_.find(name(section, key));
    return it == values_.end() ? std::string(fallback) : it->second;
  }
  int getInt(std::string_view section, std::string_view key, int fallback) override {
    const auto it = values_.find(name(section, key));
    if (it == values_.end()) return fallback;
    try {
      return std::stoi(it->second);
    } catch (...) {
      return fallback;
    }
  }
  bool writeString(std::string_view section, std::string_view key,
                   std::string_view value) override {
    values_[name(section, key)] = std::string(value);
    return true;
  }

 private:
  static std::string name(std::string_view section, std::string_view key) {
    std::string out = std::string(section) + '\n' + std::string(key);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
  }
  std::map<std::string, std::string> values_;
};

class NoShell : public Shell {
 public:
  int openWithAssociation(const std::string&) override { return kShellNoAssociation; }
  bool openInTextEditor(const std::string&) override { return false; }
  bool openUrl(const std::string&) override { return false; }
};

/// Jobs go nowhere; the preview measures on a 600 dpi image with a printer
/// page's dots, so no printer need be installed.
class BenchPrinter : public AppPrinter {
 public:
  BenchPrinter() : metrics_(1, 1, QImage::Format_RGB32) {
    const int dotsPerMeter = qRound(600 / 0.0254);
    metrics_.setDotsPerMeterX(dotsPerMeter);
    metrics_.setDotsPerMeterY(dotsPerMeter);
  }
  Printer& printer() override { return recording_; }
  bool hasError() override { return false; }
  bool hasPrinter() override { return true; }
  bool readyForDirectJobs(QWidget*) override { return true; }
  PreviewDevice holdForPreview(bool landscape) override {
    return landscape ? PreviewDevice{&metrics_, 6814, 4760} : PreviewDevice{&metrics_, 4760, 6814};
  }
  void releasePreview() override {}
  bool setupDialog(QWidget*) override { return false; }
  void setDialogParent(QWidget*) override {}

 private:
  RecordingPrinter recording_;
  QImage metrics_;
};

/// Counts paint events of the widget it watches.
class PaintCounter : public QObject {
 public:
  int paints = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

/// The services of one run of the program, a 1 MB file of real Clarion on
/// disk, and a shown main frame of a usual desktop size.
class Desktop {
 public:
  Desktop()
      : path_(std::filesystem::temp_directory_path() /
              ("tarnlist-bench-ui-" + std::to_string(::getpid()) + ".clw")) {
    std::ofstream out(path_, std::ios::binary);
    out << bench::clarionText(1'000'000);
    out.close();
    frame.resize(1280, 900);
    frame.show();
    QCoreApplication::processEvents();
  }
  ~Desktop() {
    closeFiles();
    std::filesystem::remove(path_);
  }
  Desktop(const Desktop&) = delete;
  Desktop& operator=(const Desktop&) = delete;

  std::string path() const { return path_.string(); }

  void closeFiles() {
    frame.mdi()->closeAllSubWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
  }

 private:
  std::filesystem::path path_;
  SetupData setup_ = defaultSetupData();
  RealFileSystem fs_;
  NoFileAttributes attributes_;
  StreamMessageService messages_{stderr};
  MemoryProfile profile_;
  DateFormatter dates_{profile_, [] { return std::optional<int>(1); }, messages_};
  NoShell shell_;
  BenchPrinter printer_;

 public:
  ListingExtras extras;
  AppContext app{setup_,   fs_,    attributes_, messages_, profile_, dates_,
                 [] { return std::time_t{0}; }, shell_, printer_, extras};
  MainFrame frame{app};
};

bool haveWidgets(benchmark::State& state) {
  if (qobject_cast<QApplication*>(QCoreApplication::instance())) return true;
  state.SkipWithError("no QApplication");
  return false;
}

// File > Open of 1 MB of real Clarion until its window is on screen: read,
// lex, analyse, the file window and its lists built and shown, then one pass
// of the event queue, which paints it. Closing the window is not timed.
void BM_OpenFile1MB(benchmark::State& state) {
  if (!haveWidgets(state)) return;
  Desktop desktop;
  const std::string path = desktop.path();
  int painted = 0;
  for (auto _ : state) {
    if (!desktop.frame.openFile(path)) {
      state.SkipWithError("the file did not open");
      break;
    }
    PaintCounter counter;
    varnixWindowView* view = desktop.frame.activeFileWindow();
    if (view) view->installEventFilter(&counter);
    QCoreApplication::processEvents();
    state.PauseTiming();
    if (view) view->removeEventFilter(&counter);
    if (counter.paints > 0) ++painted;
    desktop.closeFiles();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 1'000'000);
  // Share of iterations whose file window was painted within the timed part.
  state.counters["painted"] =
      state.iterations() ? static_cast<double>(painted) / static_cast<double>(state.iterations()) : 0;
}
BENCHMARK(BM_OpenFile1MB)->Unit(benchmark::kMillisecond);

/// Opens the 1 MB file in its window and lets it paint; false (the run
/// skipped) when it does not open.
bool openAndShow(Desktop& desktop, benchmark::State& state) {
  if (!desktop.frame.openFile(desktop.path()) || !desktop.frame.activeFileWindow()) {
    state.SkipWithError("the file did not open");
    return false;
  }
  QCoreApplication::processEvents();
  return true;
}

// One paint of the preview's page for the open 1 MB file, at the size the
// preview gives it in the main frame: page 1 laid out by the printout and
// drawn through the Qt canvas into an image.
void BM_PreviewPage1MB(benchmark::State& state) {
  if (!haveWidgets(state)) return;
  Desktop desktop;
  if (!openAndShow(desktop, state)) return;
  {
    PreviewWindow preview(*desktop.frame.activeFileWindow(), desktop.app, desktop.frame.mdi());
    preview.show();
    QCoreApplication::processEvents();
    PreviewPage* page = preview.page();
    QImage image(page->size(), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) {
      state.SkipWithError("the preview page has no size");
      return;
    }
    for (auto _ : state) {
      page->render(&image);
      benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["page_width"] = page->width();
    state.counters["page_height"] = page->height();
    preview.hide();
  }
  QCoreApplication::processEvents();
}
BENCHMARK(BM_PreviewPage1MB)->Unit(benchmark::kMillisecond);

/// Page 1 (or `page`) of the preview rendered as the screen would paint it.
void renderPreview(PreviewWindow& preview, QImage& image) {
  preview.page()->render(&image);
  benchmark::DoNotOptimize(image.constBits());
}

// File › Print preview of the 1 MB file with line numbers and page count:
// every page laid out once (where each starts is kept), the window made, and
// page 1 painted.
void BM_PreviewOpen1MB(benchmark::State& state) {
  if (!haveWidgets(state)) return;
  Desktop desktop;
  desktop.extras = {true, true, true};
  if (!openAndShow(desktop, state)) return;
  int pages = 0, width = 0;
  for (auto _ : state) {
    PreviewWindow preview(*desktop.frame.activeFileWindow(), desktop.app, desktop.frame.mdi());
    preview.show();
    QImage image(preview.page()->size(), QImage::Format_ARGB32_Premultiplied);
    renderPreview(preview, image);
    pages = preview.pages().count();
    width = image.width();
  }
  state.counters["pages"] = pages;
  state.counters["page_width"] = width;
}
BENCHMARK(BM_PreviewOpen1MB)->Unit(benchmark::kMillisecond);

// In the open preview: End (the last page painted), or one page further on
// (Page Down, painted), from wherever the last step left it.
void BM_PreviewSteps1MB(benchmark::State& state) {
  if (!haveWidgets(state)) return;
  const bool toEnd = state.range(0) == 1;
  Desktop desktop;
  desktop.extras = {true, true, true};
  if (!openAndShow(desktop, state)) return;
  PreviewWindow preview(*desktop.frame.activeFileWindow(), desktop.app, desktop.frame.mdi());
  preview.show();
  QCoreApplication::processEvents();
  QImage image(preview.page()->size(), QImage::Format_ARGB32_Premultiplied);
  renderPreview(preview, image);
  const int count = preview.pages().count();
  for (auto _ : state) {
    if (toEnd) {
      state.PauseTiming();
      preview.showPage(1);
      state.ResumeTiming();
      preview.showPage(count);
    } else {
      preview.showPage(preview.pages().current() % count + 1);
    }
    renderPreview(preview, image);
  }
  state.counters["pages"] = count;
  state.counters["page_width"] = image.width();
}
BENCHMARK(BM_PreviewSteps1MB)->Arg(1)->Arg(0)->ArgNames({"end"})->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarn

namespace tarn {
namespace {

// File > Open project of a program with 299 modules, 300,000 lines in all,
// written to disk: the loader reads every file, then the project window with
// its two lists is built, shown and painted once. Closing it is not timed.
void BM_OpenProject300Files(benchmark::State& state) {
  if (!haveWidgets(state)) return;
  int lines = 0;
  const bench::MemoryFileSystem generated = bench::generatedProject(&lines);
  const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                    ("tarnlist-bench-project-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  for (const auto& [path, text] : generated.files)
    std::ofstream(dir / std::filesystem::path(path).filename(), std::ios::binary) << text;
  Desktop desktop;
  const std::string program = (dir / "MAIN.CLW").string();
  for (auto _ : state) {
    if (!desktop.frame.openProject(program)) {
      state.SkipWithError("the project did not open");
      break;
    }
    QCoreApplication::processEvents();
    state.PauseTiming();
    desktop.closeFiles();
    state.ResumeTiming();
  }
  std::filesystem::remove_all(dir);
  state.counters["lines"] = lines;
}
BENCHMARK(BM_OpenProject300Files)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarn
