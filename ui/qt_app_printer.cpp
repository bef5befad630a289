#include "ui/qt_app_printer.h"

#include <QPrinter>

#include "platform/paths.h"

namespace tarn {

QtPrinter& QtAppPrinter::get() {
  if (!printer_) {
    printer_ = std::make_unique<QtPrinter>();
    printer_->setPdfFallback(true);
    printer_->setMessages(messages_);
  }
  return *printer_;
}

PreviewDevice QtAppPrinter::holdForPreview(bool landscape) {
  QtPrinter& printer = get();
  QtPrinter::PreviewDevice d = printer.previewDevice(landscape);
  printer.hold();
  return PreviewDevice{d.metrics, d.width, d.height};
}

void QtAppPrinter::releasePreview() { get().release(); }

bool QtAppPrinter::setupDialog(QWidget* parent) { return get().pageSetupDialog(parent); }

void QtAppPrinter::setDialogParent(QWidget* parent) { get().setParentWidget(parent); }

bool QtAppPrinter::directJobsIntoPdf() {
  QtPrinter& printer = get();
  return !printer.dialogPdf().empty() || !printer.systemPrinter();
}

std::string QtAppPrinter::pdfFolder() {
  if (!pdfFolder_.empty()) return pdfFolder_;
  return splitPath(get().dialogPdf()).directory.value_or(std::string());
}

std::string QtAppPrinter::printerName() {
  QPrinter* printer = get().systemPrinter();
  return printer ? printer->printerName().toStdString() : std::string();
}

}  // namespace tarn
