#pragma once

#include <QImage>
#include <QMdiSubWindow>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "desktop/commands.h"
#include "printout/recording_canvas.h"
#include "support/fakes.h"
#include "ui/app_context.h"
#include "ui/file_window.h"
#include "ui/main_frame.h"
#include "ui/mdi_client.h"

namespace tarn::test {

/// The application's printer for tests: jobs are recorded, the preview
/// measures on a 600 dpi image with the recording device's page.
class FakeAppPrinter : public AppPrinter {
 public:
  FakeAppPrinter();
  Printer& printer() override { ++made; return recording; }
  bool hasError() override { return error; }
  bool hasPrinter() override { return !error; }
  bool readyForDirectJobs(QWidget*) override { ++readyChecks; return ready; }
  PreviewDevice holdForPreview(bool landscape) override;
  void releasePreview() override { --holds; }
  bool setupDialog(QWidget*) override { ++setups; return true; }
  void setDialogParent(QWidget*) override {}
  bool directJobsIntoPdf() override { return intoPdf; }

  RecordingPrinter recording;
  QImage metrics;
  bool error = false;
  bool ready = true;  ///< what readyForDirectJobs answers
  bool intoPdf = false;  ///< jobs without the dialog go into PDF files
  int made = 0, holds = 0, setups = 0, readyChecks = 0;
};

/// A main frame over in-memory services, as one run of the program.
class UiFixture {
 public:
  UiFixture();
  ~UiFixture();

  /// Starts a run: a new main frame over the same profile and files, with
  /// `open` the files its command line opens.
  MainFrame& start(std::vector<std::string> open = {});
  /// The file windows in creation order.
  std::vector<varnixWindowView*> fileWindows() const;
  std::vector<std::string> titles() const;
  /// Caption and text of every message so far.
  std::vector<std::string> said() const;
  /// Lets queued events and single-shot timers run.
  static void settle();

  SetupData setup;
  VirtualFileSystem fs;
  FakeFileAttributes attributes;
  RecordingMessages messages;
  MemoryProfile profile;
  DateFormatter dates{profile, [] { return std::optional<int>(1); }, messages};
  RecordingShell shell;
  FakeAppPrinter printer;
  ListingExtras extras;
  AppContext app{setup, fs, attributes, messages, profile, dates, [] { return std::time_t{0}; },
                 shell, printer, extras};
  std::unique_ptr<MainFrame> frame;
};

/// The listing's own texts of a recorded job (clipped to their columns),
/// without blanks and line ends.
std::vector<std::string> listingTexts(const std::string& record);

}  // namespace tarn::test
