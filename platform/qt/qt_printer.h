#pragma once

#include <QPageLayout>
#include <QPageSize>
#include <QPointer>
#include <QString>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "pdf/qt/pdf_target.h"
#include "platform/message_service.h"
#include "platform/print_job.h"

class QPaintDevice;

class QImage;
class QPrintDialog;
class QPrinter;
class QWidget;

namespace tarn {

/// Offers in the print dialog only what the jobs do: a range of pages when
/// `pages`, copies and collation for printers (once for a PDF file); never
/// the last page first, odd or even pages, or lists of ranges.
void limitPrintDialog(QPrintDialog& dialog, bool pages = false);

/// The page size of PDF output: the default printer's own, else the one the
/// locale's paper setting names (LC_PAPER), else Letter in the United States
/// and Canada and A4 elsewhere.
QPageSize pdfPageSize();

/// The pages of PDF output: pdfPageSize() inside 5 mm margins at 600 dpi.
PdfPageSetup pdfPageSetup(bool landscape);
/// The pages of PDF output at 600 dpi on paper laid out so.
PdfPageSetup pdfPageSetup(const QPageLayout& layout);

/// The application's printer: the system's default printer over QPrinter, or
/// PDF files at 600 dpi with 5 mm margins written by PdfTarget.
class QtPrinter : public Printer {
 public:
  QtPrinter();
  ~QtPrinter() override;
  QtPrinter(const QtPrinter&) = delete;
  QtPrinter& operator=(const QtPrinter&) = delete;

  /// The next jobs become PDF files at `path` (the platform's bytes; the
  /// caller names one per job); empty: jobs go to the printer again.
  void setPdfOutput(const std::string& path);
  const std::string& pdfOutput() const { return pdfPath_; }

  /// Owner of the print and progress dialogs.
  void setParentWidget(QWidget* parent);
  /// Asks whether closing the progress dialog (Alt+F4) cancels the job;
  /// without it such a close is refused.
  void setMessages(MessageService* messages) { messages_ = messages; }

  /// With no printer installed, jobs with the print dialog go into the PDF
  /// file chosen there instead of failing (the desktop window's choice).
  void setPdfFallback(bool on) { pdfFallback_ = on; }

  /// The print dialog chose the PDF file `path` (the platform's bytes): jobs
  /// without the dialog go from now on into files of their own beside it,
  /// "<file name>.pdf", then "-2", "-3"… for names this run has written; the
  /// file itself is never overwritten by them.
  void rememberDialogPdf(const std::string& path);

  /// When jobs without the print dialog go into PDF files beside the
  /// dialog's: the file a job of each title would go to, in turn, as those
  /// jobs would name them. Empty when they go elsewhere.
  std::vector<std::string> besideDialogTargets(const std::vector<std::string>& titles) const;
  /// The last print dialog's PDF file; empty when it chose a printer.
  const std::string& dialogPdf() const { return dialogPdf_; }
  /// A file written beside the dialog's PDF, which later jobs pass over.
  void pdfWritten(const std::string& path) { pdfTaken_.insert(path); }

  /// Whether jobs without the print dialog can go somewhere: PDF output is
  /// set or was chosen in a print dialog, or a printer is installed. With
  /// none of these, shows the print dialog once for a PDF file whose folder
  /// then takes the jobs; false when it is cancelled. Never shows a dialog
  /// without a screen.
  bool readyForDirectJobs(QWidget* parent);

  /// While held (by a preview, say), the printer object is never replaced,
  /// even when the system's default printer changes.
  void hold() { ++holds_; }
  void release() { if (holds_ > 0) --holds_; }

  /// The device the preview measures fonts on and the page it lays out, in
  /// that device's dots: the printer's own, else the PDF page at 600 dpi.
  struct PreviewDevice {
    QPaintDevice* metrics = nullptr;
    int width = 0, height = 0;
  };
  PreviewDevice previewDevice(bool landscape);

  /// The platform's page setup dialog on the printer object; false when
  /// there is no printer to set up.
  bool pageSetupDialog(QWidget* parent);

  /// Without a screen (offscreen or minimal platform) no dialog is shown: the
  /// print dialog is skipped and the job runs without progress dialog.
  JobResult print(Printout& printout, bool withDialog) override;
  bool hasError() override;

  /// The printer the next job goes to when no PDF output is set (made anew
  /// when the system's default printer has changed); null when there is none.
  QPrinter* systemPrinter();

 private:
  std::unique_ptr<QPrinter> makePdfPrinter(const std::string& path) const;
  JobResult printPdf(Printout& printout, bool withDialog, const std::string& path);
  /// A job without the dialog into its own file beside the dialog's PDF.
  JobResult printBesideDialogPdf(Printout& printout);
  /// Writes the pages of a job into `path` with our own PDF writer on paper
  /// laid out so.
  JobResult writePdf(Printout& printout, const std::string& path, const PdfPageSetup& page,
                     bool gray, const PageRange& pages = {});

  std::unique_ptr<QPrinter> printer_;
  QString printerDefault_;  // the default printer's name when printer_ was made
  std::string pdfPath_;
  std::string dialogPdf_;           // the last print dialog's PDF file; empty: a printer
  std::set<std::string> pdfTaken_;  // files this run's dialogs chose or jobs beside them wrote
  QPointer<QWidget> parent_;
  MessageService* messages_ = nullptr;
  bool pdfFallback_ = false;
  int holds_ = 0;
  std::unique_ptr<QImage> pdfMetrics_;  // 600 dpi, for the preview without a printer
};

}  // namespace tarn
