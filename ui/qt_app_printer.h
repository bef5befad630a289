#pragma once

#include <memory>

#include "platform/qt/qt_printer.h"
#include "ui/app_context.h"

namespace tarn {

/// The application's printer over QtPrinter: made on first need; with no
/// printer installed the print dialog offers a PDF file and the preview
/// uses the PDF page at 600 dpi.
class QtAppPrinter : public AppPrinter {
 public:
  Printer& printer() override { return get(); }
  bool hasError() override { return get().hasError(); }
  bool hasPrinter() override { return get().systemPrinter() != nullptr; }
  bool readyForDirectJobs(QWidget* parent) override { return get().readyForDirectJobs(parent); }
  PreviewDevice holdForPreview(bool landscape) override;
  void releasePreview() override;
  bool setupDialog(QWidget* parent) override;
  void setDialogParent(QWidget* parent) override;
  std::vector<std::string> directPdfTargets(const std::vector<std::string>& paths) override {
    return get().besideDialogTargets(paths);
  }
  void pdfWritten(const std::string& path) override { get().pdfWritten(path); }
  bool directJobsIntoPdf() override;
  std::string pdfFolder() override;
  std::string printerName() override;
  /// Where closing a job's progress dialog asks whether to cancel.
  void setMessages(MessageService* messages) { messages_ = messages; }

 private:
  QtPrinter& get();
  std::unique_ptr<QtPrinter> printer_;
  MessageService* messages_ = nullptr;
};

}  // namespace tarn
