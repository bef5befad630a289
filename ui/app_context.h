#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/file_attributes.h"
#include "platform/file_system.h"
#include "platform/message_service.h"
#include "platform/print_job.h"
#include "platform/profile.h"
#include "platform/shell.h"
#include "printout/dates.h"
#include "printout/direct_print.h"
#include "settings/listing_extras.h"
#include "settings/setup_data.h"

class QPaintDevice;
class QWidget;

namespace tarn {

/// The page the preview lays out: a device to measure fonts on with the
/// printer's resolution, and the printable area in its dots.
struct PreviewDevice {
  QPaintDevice* metrics = nullptr;
  int width = 0, height = 0;
};

/// The application's one printer object as the windows use it: made on
/// first need, shared by printing, preview and printer setup.
class AppPrinter {
 public:
  virtual ~AppPrinter() = default;
  virtual Printer& printer() = 0;
  /// Whether printing cannot work at all (the enablers grey Print then).
  virtual bool hasError() = 0;
  /// Whether a printer is installed.
  virtual bool hasPrinter() = 0;
  /// Whether jobs without the print dialog can go somewhere: a printer is
  /// installed, or a print dialog of this run chose a PDF file (the jobs then
  /// go beside it). With neither, shows the print dialog once for a PDF file
  /// whose folder takes the jobs; false when it is cancelled. Without a
  /// screen no dialog is shown.
  virtual bool readyForDirectJobs(QWidget* parent) = 0;
  /// Keeps the printer object while a preview measures on it.
  virtual PreviewDevice holdForPreview(bool landscape) = 0;
  virtual void releasePreview() = 0;
  /// The page setup dialog; false when there is no printer to set up.
  virtual bool setupDialog(QWidget* parent) = 0;
  /// Owner of the print dialog and its progress dialog.
  virtual void setDialogParent(QWidget* parent) = 0;
  /// When jobs without the dialog go into PDF files of our own: the file
  /// for each path in turn; empty when they go to a printer.
  virtual std::vector<std::string> directPdfTargets(const std::vector<std::string>& paths) {
    (void)paths;
    return {};
  }
  /// A file of directPdfTargets() was written.
  virtual void pdfWritten(const std::string& path) { (void)path; }
  /// Whether jobs without the print dialog go into PDF files, not to a
  /// printer: none is installed, or the last print dialog chose a PDF file.
  virtual bool directJobsIntoPdf() { return false; }
  /// The folder a print-all into PDF files offers first: the one it chose
  /// last, else that of the print dialog's PDF file; empty when neither.
  virtual std::string pdfFolder() { return pdfFolder_; }
  void rememberPdfFolder(const std::string& folder) { pdfFolder_ = folder; }
  /// The printer's name, as a print-all's summary names it.
  virtual std::string printerName() { return {}; }

 protected:
  std::string pdfFolder_;
};

/// The services every window of the application reaches.
struct AppContext {
  SetupData& setup;
  FileSystem& fs;
  FileAttributes& attributes;
  MessageService& messages;
  Profile& profile;
  DateFormatter& dates;
  Clock now;
  Shell& shell;
  AppPrinter& printer;
  /// Kept in the profile; Setup › Listing extras changes them.
  ListingExtras& extras;
  /// Files print-all writes into PDF at once.
  int jobs = 1;

  /// The services printing needs, entering printed files with `addRecent`.
  PrintServices printServices(std::function<void(const std::string&)> addRecent = {}) {
    return PrintServices{setup, fs,  attributes, messages, dates, now,
                         [this]() -> Printer& { return printer.printer(); }, std::move(addRecent),
                         extras};
  }
};

/// The application's name, as captions show it.
inline constexpr const char* kAppName = "Tarnlist for Clarion";

}  // namespace tarn
