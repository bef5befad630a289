#include "ui/qt_app_printer.h"

namespace tarn {

QtPrinter& QtAppPrinter::get() {
  if (!printer_) {
    printer_ = std::make_unique<QtPrinter>();
    printer_->setPdfFallback(true);
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

}  // namespace tarn
