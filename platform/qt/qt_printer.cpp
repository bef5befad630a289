#include "platform/qt/qt_printer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QSpinBox>
#include <QTimer>
#include <QFile>
#include <QLocale>
#include <QMarginsF>
#include <QPageLayout>
#include <QImage>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QWidget>

#include <algorithm>
#include <optional>

#if defined(__GLIBC__)
#include <langinfo.h>

#include <cstdint>
#endif

#include "platform/paths.h"
#include "platform/qt/guarded_progress.h"
#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_environment.h"

namespace tarn {
namespace {

constexpr int kPdfResolution = 600;
constexpr qreal kPdfMarginMm = 5;

// Shows the page being printed; false when the user has cancelled the job.
bool showProgress(QProgressDialog* progress, int page) {
  if (!progress) return true;
  progress->setLabelText(QCoreApplication::translate("tarnlist", "Printing page %1").arg(page));
  QCoreApplication::processEvents();
  return !progress->wasCanceled();
}

std::unique_ptr<QProgressDialog> makeProgress(QWidget* parent, const QString& title,
                                              MessageService* messages) {
  if (!hasInteractiveScreen()) return nullptr;
  auto progress = std::make_unique<GuardedProgressDialog>(parent);
  if (messages)
    progress->confirm = [messages, title] {
      return messages->show("Cancel printing " + title.toStdString() + "?", "Print",
                            MessageIcon::Question, MessageButtons::YesNo) == MessageAnswer::Yes;
    };
  progress->setWindowTitle(title);
  progress->setLabelText(QCoreApplication::translate("tarnlist", "Printing"));
  progress->setCancelButtonText(QCoreApplication::translate("tarnlist", "Cancel"));
  progress->setRange(0, 0);
  progress->setMinimumDuration(0);
  progress->setWindowModality(Qt::ApplicationModal);
  progress->show();
  return progress;
}

class QtPrintTarget : public PrintTarget {
 public:
  QtPrintTarget(QPrinter& printer, QtCanvas& canvas, QProgressDialog* progress)
      : printer_(printer), canvas_(canvas), progress_(progress) {}

  Canvas& canvas() override { return canvas_; }
  Rect pageRect() override { return Rect{0, 0, printer_.width(), printer_.height()}; }

  bool beginPage(int page) override {
    canvas_.flush();
    if (!showProgress(progress_, page)) return false;
    // A page range starts at a later page; the printer starts on its first.
    if (started_ && !printer_.newPage()) {
      failed = true;
      return false;
    }
    started_ = true;
    return true;
  }
  void endPage() override { canvas_.flush(); }

  bool failed = false;

 private:
  QPrinter& printer_;
  QtCanvas& canvas_;
  QProgressDialog* progress_;
  bool started_ = false;
};

// The file's name without its folders.
QString jobName(const std::string& path) {
  std::size_t slash = path.find_last_of("/\\");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  return QFile::decodeName(QByteArray::fromStdString(name));
}

// A PDF file's title is the document's whole path.
QString fullTitle(const Printout& printout) {
  return QFile::decodeName(QByteArray::fromStdString(printout.title()));
}

std::string encodePath(const QString& path) { return QFile::encodeName(path).toStdString(); }

// "<file name>.pdf" in the chosen file's folder, numbered past the taken ones.
std::string besideTarget(const std::string& chosen, const std::string& title,
                         const std::set<std::string>& taken) {
  const std::optional<std::string> folder = splitPath(chosen).directory;
  std::string name = splitPath(title).name;
  if (name.empty()) name = "listing";  // never a hidden ".pdf"
  std::string target = joinPath(folder, name + ".pdf");
  for (int n = 2; taken.count(target); ++n)
    target = joinPath(folder, name + "-" + std::to_string(n) + ".pdf");
  return target;
}

// Pages are counted only once the dialog has chosen the paper, so any range
// up to this may be asked for; pages past the end are simply not there.
constexpr int kMostPages = 99999;

/// Runs `then` once the dialog has been shown and has set its widgets from
/// the printer, which it does again at every showing.
class AfterShow : public QObject {
 public:
  AfterShow(QObject* dialog, std::function<void()> then) : QObject(dialog), then_(std::move(then)) {
    dialog->installEventFilter(this);
  }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Show) QTimer::singleShot(0, this, then_);
    return false;
  }

 private:
  std::function<void()> then_;
};

}  // namespace

void limitPrintDialog(QPrintDialog& dialog, bool pages) {
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, pages);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
  // No option turns these off: the last page first, odd or even pages only,
  // and lists of ranges are not printed as asked, so they are not offered.
  // The dialog sets its widgets again when shown: so are these, after it.
  QPrintDialog* d = &dialog;
  auto limit = [d] {
    for (const char* name : {"reverse", "pageSetLabel", "pageSetCombo", "pagesRadioButton",
                             "pagesLineEdit"})
      if (auto* w = d->findChild<QWidget*>(QLatin1String(name))) w->hide();
    // A PDF file is written once, whatever the copies.
    auto* file = d->findChild<QLineEdit*>(QStringLiteral("filename"));
    auto* copies = d->findChild<QSpinBox*>(QStringLiteral("copies"));
    auto* collate = d->findChild<QCheckBox*>(QStringLiteral("collate"));
    if (!file || !copies || !collate) return;
    const bool toPdf = file->isEnabled();
    if (toPdf) copies->setValue(1);
    copies->setEnabled(!toPdf);
    collate->setEnabled(!toPdf);
  };
  limit();
  new AfterShow(d, limit);
  if (auto* printers = d->findChild<QComboBox*>(QStringLiteral("printers")))
    QObject::connect(printers, &QComboBox::currentIndexChanged, d, limit);
  if (!pages) return;
  dialog.setMinMax(1, kMostPages);
  dialog.printer()->setPrintRange(QPrinter::AllPages);
  dialog.printer()->setFromTo(0, 0);
}

namespace {

// The pages the dialog chose: all unless it chose a range.
PageRange chosenPages(const QPrinter& printer) {
  PageRange range;
  if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
    range.fromPage = printer.fromPage();
    range.toPage = std::max(printer.fromPage(), printer.toPage());
  }
  return range;
}

void applyDeviceMode(QPrinter& printer, const DeviceMode& mode) {
  if (mode.fields & DeviceMode::kFieldOrientation)
    printer.setPageOrientation(mode.orientation == DeviceMode::kLandscape
                                   ? QPageLayout::Landscape
                                   : QPageLayout::Portrait);
  if (mode.fields & DeviceMode::kFieldColor)
    printer.setColorMode(mode.color == DeviceMode::kMonochrome ? QPrinter::GrayScale
                                                               : QPrinter::Color);
}

// What the dialog chose stays the printer's choice for the next jobs.
void readDeviceMode(const QPrinter& printer, DeviceMode& mode) {
  mode.orientation = printer.pageLayout().orientation() == QPageLayout::Landscape
                         ? DeviceMode::kLandscape
                         : DeviceMode::kPortrait;
  mode.color = printer.colorMode() == QPrinter::GrayScale ? DeviceMode::kMonochrome
                                                          : DeviceMode::kColor;
}

}  // namespace

QPageSize pdfPageSize() {
  const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
  if (!printer.isNull()) {
    QPageSize size = printer.defaultPageSize();
    if (size.isValid()) return size;
  }
#if defined(__GLIBC__)
  // glibc encodes the millimetres in the pointer value.
  auto width = static_cast<int>(reinterpret_cast<std::intptr_t>(nl_langinfo(_NL_PAPER_WIDTH)));
  auto height = static_cast<int>(reinterpret_cast<std::intptr_t>(nl_langinfo(_NL_PAPER_HEIGHT)));
  if (width > 0 && height > 0) {
    QPageSize size(QSizeF(width, height), QPageSize::Millimeter);
    if (size.isValid()) return size;
  }
#endif
  const QLocale::Territory territory = QLocale::system().territory();
  bool letter = territory == QLocale::UnitedStates || territory == QLocale::Canada;
  return QPageSize(letter ? QPageSize::Letter : QPageSize::A4);
}

PdfPageSetup pdfPageSetup(const QPageLayout& layout) {
  PdfPageSetup page;
  const QRect paper = layout.fullRectPoints();
  const QRectF area = layout.paintRect(QPageLayout::Point);
  // The printable area in dots as QPrinter gives it, so both print alike.
  const QRect dots = layout.paintRectPixels(kPdfResolution);
  page.paperWidth = paper.width();
  page.paperHeight = paper.height();
  page.left = area.left();
  page.top = area.top();
  page.width = dots.width();
  page.height = dots.height();
  page.dpi = kPdfResolution;
  return page;
}

PdfPageSetup pdfPageSetup(bool landscape) {
  return pdfPageSetup(QPageLayout(
      pdfPageSize(), landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
      QMarginsF(kPdfMarginMm, kPdfMarginMm, kPdfMarginMm, kPdfMarginMm), QPageLayout::Millimeter));
}

QtPrinter::QtPrinter() = default;
QtPrinter::~QtPrinter() = default;

void QtPrinter::setPdfOutput(const std::string& path) { pdfPath_ = path; }

void QtPrinter::setParentWidget(QWidget* parent) { parent_ = parent; }

QPrinter* QtPrinter::systemPrinter() {
  if (holds_ > 0) return printer_.get();
  const QString name = QPrinterInfo::defaultPrinterName();
  if (!printer_ || name != printerDefault_) {
    printerDefault_ = name;
    printer_.reset();
    if (name.isEmpty()) return nullptr;
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer_->setPrinterName(name);
  }
  return printer_.get();
}

bool QtPrinter::hasError() {
  return pdfPath_.empty() && dialogPdf_.empty() && !pdfFallback_ && !systemPrinter();
}

void QtPrinter::rememberDialogPdf(const std::string& path) {
  dialogPdf_ = path;
  pdfTaken_.insert(path);
}

std::vector<std::string> QtPrinter::besideDialogTargets(const std::vector<std::string>& titles) const {
  std::vector<std::string> targets;
  if (!pdfPath_.empty() || dialogPdf_.empty()) return targets;
  std::set<std::string> taken = pdfTaken_;
  for (const std::string& title : titles) {
    targets.push_back(besideTarget(dialogPdf_, title, taken));
    taken.insert(targets.back());
  }
  return targets;
}

bool QtPrinter::readyForDirectJobs(QWidget* parent) {
  if (!pdfPath_.empty() || !dialogPdf_.empty() || systemPrinter()) return true;
  if (!hasInteractiveScreen()) return false;
  std::unique_ptr<QPrinter> printer = makePdfPrinter({});
  QPrintDialog dialog(printer.get(), parent ? parent : parent_.data());
  limitPrintDialog(dialog);
  if (dialog.exec() != QDialog::Accepted) return false;
  // A printer installed while the dialog was open can take the jobs itself.
  if (printer->outputFormat() != QPrinter::PdfFormat) return systemPrinter() != nullptr;
  const std::string path = encodePath(printer->outputFileName());
  if (path.empty()) return false;
  rememberDialogPdf(path);
  return true;
}

QtPrinter::PreviewDevice QtPrinter::previewDevice(bool landscape) {
  PreviewDevice device;
  if (QPrinter* printer = pdfPath_.empty() ? systemPrinter() : nullptr) {
    printer->setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    device.metrics = printer;
    device.width = printer->width();
    device.height = printer->height();
    return device;
  }
  const PdfPageSetup page = pdfPageSetup(landscape);
  if (!pdfMetrics_) {
    pdfMetrics_ = std::make_unique<QImage>(1, 1, QImage::Format_RGB32);
    const int dotsPerMeter = qRound(kPdfResolution / 0.0254);
    pdfMetrics_->setDotsPerMeterX(dotsPerMeter);
    pdfMetrics_->setDotsPerMeterY(dotsPerMeter);
  }
  device.metrics = pdfMetrics_.get();
  device.width = page.width;
  device.height = page.height;
  return device;
}

bool QtPrinter::pageSetupDialog(QWidget* parent) {
  QPrinter* printer = systemPrinter();
  if (!printer) return false;
  QPageSetupDialog dialog(printer, parent);
  dialog.exec();
  return true;
}

std::unique_ptr<QPrinter> QtPrinter::makePdfPrinter(const std::string& path) const {
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setOutputFormat(QPrinter::PdfFormat);
  printer->setResolution(kPdfResolution);
  printer->setPageSize(pdfPageSize());
  printer->setPageMargins(QMarginsF(kPdfMarginMm, kPdfMarginMm, kPdfMarginMm, kPdfMarginMm),
                          QPageLayout::Millimeter);
  printer->setOutputFileName(QFile::decodeName(QByteArray::fromStdString(path)));
  return printer;
}

JobResult QtPrinter::print(Printout& printout, bool withDialog) {
  if (!pdfPath_.empty()) return printPdf(printout, withDialog, pdfPath_);
  const bool dialogShown = withDialog && hasInteractiveScreen();
  // One file for every job would keep only the last listing.
  if (!dialogShown && !dialogPdf_.empty()) return printBesideDialogPdf(printout);
  QPrinter* printer = systemPrinter();
  if (!printer) {
    if (pdfFallback_ && dialogShown) return printPdf(printout, true, {});
    return JobResult::Failed;
  }

  PageRange range;
  printout.getDialogInfo(range, deviceMode());
  applyDeviceMode(*printer, deviceMode());
  // The job's name is the file's name: Qt derives the dialog's PDF path from it.
  printer->setDocName(jobName(printout.title()));
  printer->setOutputFormat(QPrinter::NativeFormat);

  PageRange pages;
  if (dialogShown) {
    QPrintDialog dialog(printer, parent_);
    limitPrintDialog(dialog, true);
    if (dialog.exec() != QDialog::Accepted) return JobResult::Cancelled;
    readDeviceMode(*printer, deviceMode());
    pages = chosenPages(*printer);
    if (printer->outputFormat() == QPrinter::PdfFormat) {
      // A file chosen in the dialog is written like every other PDF of ours.
      const std::string path = encodePath(printer->outputFileName());
      if (path.empty()) return JobResult::Cancelled;
      rememberDialogPdf(path);
      return writePdf(printout, path, pdfPageSetup(printer->pageLayout()),
                      deviceMode().color == DeviceMode::kMonochrome, pages);
    }
    dialogPdf_.clear();  // the printer again, for the next jobs too
  }
  const bool toFile = printer->outputFormat() == QPrinter::PdfFormat;
  const QString file = printer->outputFileName();

  QPainter painter;
  if (!painter.begin(printer)) return JobResult::Failed;
  std::unique_ptr<QProgressDialog> progress = makeProgress(parent_, printer->docName(), messages_);

  JobResult result;
  {
    QtCanvas canvas(&painter, printer);
    QtPrintTarget target(*printer, canvas, progress.get());
    result = runPrintJob(printout, target, pages);
    if (target.failed) result = JobResult::Failed;
  }
  if (result != JobResult::Printed) printer->abort();
  painter.end();
  progress.reset();
  if (result == JobResult::Printed && printer->printerState() == QPrinter::Error)
    result = JobResult::Failed;
  // A cut-short file would pass for a listing.
  if (result != JobResult::Printed && toFile && !file.isEmpty()) QFile::remove(file);
  return result;
}

JobResult QtPrinter::printPdf(Printout& printout, bool withDialog, const std::string& path) {
  PageRange range;
  printout.getDialogInfo(range, deviceMode());
  const DeviceMode& mode = deviceMode();
  const bool landscape = (mode.fields & DeviceMode::kFieldOrientation) &&
                         mode.orientation == DeviceMode::kLandscape;
  bool gray = (mode.fields & DeviceMode::kFieldColor) && mode.color == DeviceMode::kMonochrome;
  PdfPageSetup page = pdfPageSetup(landscape);
  std::string target = path;
  PageRange pages;
  if (withDialog && hasInteractiveScreen()) {
    std::unique_ptr<QPrinter> printer = makePdfPrinter(path);
    applyDeviceMode(*printer, mode);
    printer->setDocName(jobName(printout.title()));
    QPrintDialog dialog(printer.get(), parent_);
    limitPrintDialog(dialog, true);
    if (dialog.exec() != QDialog::Accepted) return JobResult::Cancelled;
    readDeviceMode(*printer, deviceMode());
    pages = chosenPages(*printer);
    gray = deviceMode().color == DeviceMode::kMonochrome;
    page = pdfPageSetup(printer->pageLayout());
    if (target.empty()) {
      target = encodePath(printer->outputFileName());
      if (target.empty()) return JobResult::Cancelled;
      rememberDialogPdf(target);
    }
  }
  return writePdf(printout, target, page, gray, pages);
}

JobResult QtPrinter::printBesideDialogPdf(Printout& printout) {
  const std::string target = besideTarget(dialogPdf_, printout.title(), pdfTaken_);
  const JobResult result = printPdf(printout, false, target);
  if (result == JobResult::Printed) pdfTaken_.insert(target);
  return result;
}

JobResult QtPrinter::writePdf(Printout& printout, const std::string& path,
                              const PdfPageSetup& page, bool gray, const PageRange& range) {
  PdfTarget target(path, page);
  target.setGrayscale(gray);
  target.setBackgroundDeflate(true);
  if (!target.open()) return JobResult::Failed;
  std::unique_ptr<QProgressDialog> progress = makeProgress(parent_, fullTitle(printout), messages_);
  target.pageStarting = [&progress](int n) { return showProgress(progress.get(), n); };
  printout.wantLinks();
  JobResult result = runPrintJob(printout, target, range);
  progress.reset();
  target.setDocumentInfo(printout.documentInfo());
  if (target.failed()) result = JobResult::Failed;
  // The file appears only now, whole; a job that did not end leaves none.
  if (result == JobResult::Printed && !target.finish()) result = JobResult::Failed;
  return result;
}

}  // namespace tarn
