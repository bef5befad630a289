#include "shell/print_command.h"

#include <QApplication>

#include <map>
#include <memory>

#include "analysis/analysis_error.h"
#include "document/project.h"
#include "document/source_document.h"
#include "platform/cp1252.h"
#include "platform/paths.h"
#include "platform/qt/qt_environment.h"
#include "platform/qt/qt_printer.h"
#include "platform/ordered_jobs.h"
#include "printout/print_all.h"
#include "printout/qt/pdf_print_all.h"

namespace tarn {
namespace {

bool endsWithPdf(const std::string& path) {
  return path.size() >= 4 && cp1252::compareIgnoreCase(std::string_view(path).substr(path.size() - 4), ".pdf") == 0;
}

/// Sends every job into a PDF file: PATH itself for one file when it ends in
/// ".pdf", else PATH/<file name>.pdf, never twice the same file in one run.
class PdfJobs : public Printer {
 public:
  PdfJobs(QtPrinter& printer, std::string path, bool oneFile, FileSystem& fs)
      : printer_(printer), path_(std::move(path)), oneFile_(oneFile), fs_(fs) {}

  JobResult print(Printout& printout, bool withDialog) override {
    std::string target = oneFile_ && endsWithPdf(path_) ? path_ : folderTarget(printout.title());
    if (auto folder = splitPath(target).directory) fs_.createDirectories(*folder);
    printer_.setPdfOutput(target);
    return printer_.print(printout, withDialog);
  }

 private:
  std::string folderTarget(const std::string& source) {
    std::string name = splitPath(source).name;
    std::string target = path_ + "/" + name + ".pdf";
    for (int n = 2; written_.count(target); ++n) target = path_ + "/" + name + "-" + std::to_string(n) + ".pdf";
    written_[target] = true;
    return target;
  }

  QtPrinter& printer_;
  std::string path_;
  bool oneFile_;
  FileSystem& fs_;
  std::map<std::string, bool> written_;
};

/// Takes the jobs when no printer is set up: says so once, at the first file
/// that has something to print, so that the files' own messages come first.
class NoPrinter : public Printer {
 public:
  explicit NoPrinter(MessageService& messages) : messages_(messages) {}

  JobResult print(Printout&, bool) override {
    if (!said_)
      messages_.show("No printer is set up. Use --pdf PATH to print into PDF files.",
                     "Print Error", MessageIcon::Exclamation);
    said_ = true;
    // Not a failure of this file: no "Could not print" after each one.
    return JobResult::Cancelled;
  }
  bool hasError() override { return true; }
  bool said() const { return said_; }

 private:
  MessageService& messages_;
  bool said_ = false;
};

}  // namespace

int runPrintCommand(int argc, char** argv, const CommandLine& command, PrintServices& services,
                    const ProjectSearch& search) {
  selectHeadlessPlatformIfNeeded();
  QApplication app(argc, argv);

  std::unique_ptr<QtPrinter> printer;
  std::unique_ptr<PdfJobs> pdf;
  NoPrinter noPrinter(services.messages);
  services.printer = [&]() -> Printer& {
    if (!printer) printer = std::make_unique<QtPrinter>();
    if (command.pdfPath.empty()) {
      if (printer->hasError()) return noPrinter;
      return *printer;
    }
    if (!pdf) {
      bool oneFile = !command.argument.empty() && command.argument[0] != '@';
      pdf = std::make_unique<PdfJobs>(*printer, command.pdfPath, oneFile, services.fs);
    }
    return *pdf;
  };
  if (command.project.empty()) {
    int status = printCommandLine(command.argument, services);
    return noPrinter.said() ? 1 : status;
  }

  ApplicationData project(command.project, services.fs, services.attributes, search);
  if (project.files.empty()) {
    services.messages.show(unableToOpenFile(command.project), "File Error", MessageIcon::Exclamation);
    return 1;
  }
  std::uint32_t options = (command.modifiedOnly ? std::uint32_t{kPrintModifiedOnly} : 0u) |
                          (command.clwOnly ? std::uint32_t{kPrintClwOnly} : 0u);
  try {
    const int jobs = command.jobs.value_or(defaultJobs());
    if (endsWithPdf(command.pdfPath)) {
      const BookResult book = printProjectBook(project, options, services, command.pdfPath, jobs);
      if (book.empty) return book.failures == 0 ? 0 : 1;
      if (!book.written)
        services.messages.show(bookNotWritten(command.pdfPath), "Print Error",
                               MessageIcon::Exclamation);
      return book.written && book.failures == 0 ? 0 : 1;
    }
    return printAllToPdfFolder(project, options, services, command.pdfPath, jobs) == 0 ? 0 : 1;
  } catch (const AnalysisError& e) {
    services.messages.show(std::string(e.what()) + "\nOK to resume?", "Unhandled Exception",
                           MessageIcon::Stop, MessageButtons::YesNo);
    return 1;
  }
}

}  // namespace tarn
