#include "ui/preview_window.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPaintEvent>
#include <QShortcut>
#include <QToolButton>

#include <algorithm>
#include <utility>

#include "desktop/layouts.h"
#include "platform/qt/qt_canvas.h"
#include "printout/print_document.h"
#include "ui/file_window.h"

namespace tarn {
namespace {

/// A page of the preview's device, on a canvas over the widget's painter or
/// over a scratch image while the pages are counted.
class PreviewTarget : public PrintTarget {
 public:
  PreviewTarget(QtCanvas& canvas, int width, int height)
      : canvas_(canvas), width_(width), height_(height) {}
  Canvas& canvas() override { return canvas_; }
  Rect pageRect() override { return Rect{0, 0, width_, height_}; }
  bool beginPage(int) override { return true; }
  void endPage() override { canvas_.flush(); }

 private:
  QtCanvas& canvas_;
  int width_, height_;
};

/// The pages of the listing on the preview's device, laid out once.
int countPreviewPages(Printout& printout, const PreviewDevice& device) {
  if (!device.metrics || device.width <= 0 || device.height <= 0) return 1;
  QImage scratch(1, 1, QImage::Format_RGB32);
  QPainter painter(&scratch);
  QtCanvas canvas(&painter, device.metrics);
  PreviewTarget target(canvas, device.width, device.height);
  return countPages(printout, target);
}

QFrame* separator(QWidget* parent) {
  auto* line = new QFrame(parent);
  line->setFrameShape(QFrame::VLine);
  line->setFrameShadow(QFrame::Sunken);
  return line;
}

const QColor kWorkspace(128, 128, 128);

}  // namespace

PreviewPage::PreviewPage(Printout& printout, const PreviewDevice& device, QWidget* parent)
    : QWidget(parent), printout_(printout), device_(device) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void PreviewPage::setPage(int page) {
  if (page == page_) return;
  page_ = page;
  update();
}

void PreviewPage::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  if (!device_.metrics || device_.width <= 0 || device_.height <= 0) return;
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  // The printer's page in its own dots, mapped onto the widget.
  painter.setWindow(0, 0, device_.width, device_.height);
  painter.setViewport(rect());
  QtCanvas canvas(&painter, device_.metrics);
  PreviewTarget target(canvas, device_.width, device_.height);
  // The printout keeps where each page starts: this page alone is laid out.
  runPrintJob(printout_, target, PageRange{0, 0, page_, page_});
  canvas.flush();
}

PreviewWindow::PreviewWindow(varnixWindowView& fileWindow, AppContext& app, QWidget* area)
    : QDialog(area ? area->window() : nullptr, Qt::Dialog | Qt::FramelessWindowHint),
      fileWindow_(fileWindow),
      app_(app) {
  setWindowTitle(QStringLiteral("Print Preview"));
  setWindowModality(Qt::ApplicationModal);
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, kWorkspace);
  setPalette(pal);

  // The same printout as printing the whole file; no nothing-to-print test,
  // and the archive mark stays: nothing reaches a printer here.
  PrintContext context{app_.setup, app_.dates, app_.now, app_.extras};
  printout_ = makePrintout(fileWindow_.document(), PrintSelection::wholeFile(), context);
  const bool landscape = !app_.setup.portrait;
  const PreviewDevice device = app_.printer.holdForPreview(landscape);

  printout_->keepPages();
  pages_ = PreviewPages(countPreviewPages(*printout_, device));

  bar_ = new QWidget(this);
  bar_->setAutoFillBackground(true);
  QPalette barColours = bar_->palette();
  barColours.setColor(QPalette::Window, QApplication::palette().color(QPalette::Window));
  bar_->setPalette(barColours);
  auto* row = new QHBoxLayout(bar_);
  row->setContentsMargins(4, 2, 4, 2);
  row->setSpacing(6);
  indicator_ = new QLabel(bar_);
  indicator_->setObjectName(QStringLiteral("indicator%1").arg(kIndicatorId));
  indicator_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  indicator_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  // Room for the widest indicator this listing can show, and 20 characters at least.
  const QFontMetrics fm = indicator_->fontMetrics();
  const QString widest = QString::fromStdString(PreviewPages(pages_.count()).indicator()) +
                         QString::number(pages_.count());
  indicator_->setFixedWidth(std::max(fm.averageCharWidth() * 20,
                                     fm.horizontalAdvance(widest) + 4 * fm.averageCharWidth()));
  auto button = [this](const char* text, int id, const char* tip) {
    auto* b = new QToolButton(bar_);
    b->setText(QString::fromLatin1(text));
    b->setObjectName(QStringLiteral("button%1").arg(id));
    if (tip) b->setToolTip(QString::fromLatin1(tip));
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return b;
  };
  previous_ = button("&Previous", kPreviousId, "The page before (Page Up)");
  next_ = button("&Next", kNextId, "The page after (Page Down)");
  print_ = button("&Print", kPrintId, "Print the whole file");
  done_ = button("&Done", kDoneId, nullptr);
  row->addWidget(indicator_);
  row->addWidget(separator(bar_));
  row->addWidget(previous_);
  row->addWidget(next_);
  row->addWidget(separator(bar_));
  row->addWidget(print_);
  row->addWidget(separator(bar_));
  row->addWidget(done_);
  row->addStretch(1);

  page_ = new PreviewPage(*printout_, device, this);
  connect(previous_, &QToolButton::clicked, this, [this] { step(&PreviewPages::previous); });
  connect(next_, &QToolButton::clicked, this, [this] { step(&PreviewPages::next); });
  connect(print_, &QToolButton::clicked, this, [this] { fileWindow_.printWholeFile(); });
  connect(done_, &QToolButton::clicked, this, &QDialog::reject);
  const std::pair<int, bool (PreviewPages::*)()> keys[] = {
      {Qt::Key_PageDown, &PreviewPages::next},
      {Qt::Key_PageUp, &PreviewPages::previous},
      {Qt::Key_Home, &PreviewPages::first},
      {Qt::Key_End, &PreviewPages::last},
  };
  for (const auto& [key, go] : keys) {
    auto* shortcut = new QShortcut(QKeySequence(key), this);
    connect(shortcut, &QShortcut::activated, this, [this, m = go] { step(m); });
  }
  showCurrent();

  if (area) {
    const QPoint corner = area->mapToGlobal(QPoint(0, -1));
    setGeometry(QRect(corner, QSize(area->width(), area->height() + 1)));
  }
}

bool PreviewWindow::showPage(int page) {
  if (page < 1 || page > pages_.count()) return false;
  if (pages_.show(page)) showCurrent();
  return true;
}

void PreviewWindow::step(bool (PreviewPages::*go)()) {
  if ((pages_.*go)()) showCurrent();
}

void PreviewWindow::showCurrent() {
  indicator_->setText(QString::fromStdString(pages_.indicator()));
  // A button about to be disabled would take the focus with it.
  for (QToolButton* b : {previous_, next_})
    if (b->hasFocus()) done_->setFocus();
  previous_->setEnabled(pages_.canPrevious());
  next_->setEnabled(pages_.canNext());
  page_->setPage(pages_.current());
}

PreviewWindow::~PreviewWindow() {
  delete page_;
  page_ = nullptr;
  app_.printer.releasePreview();
}

void PreviewWindow::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  placePage();
}

void PreviewWindow::placePage() {
  const int barHeight = bar_->sizeHint().height();
  bar_->setGeometry(0, 0, width(), barHeight);
  const PreviewDevice& d = page_->device();
  const Rect client{0, barHeight, width(), height()};
  const Rect r = previewPageRect(client, d.width, d.height);
  page_->setGeometry(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

}  // namespace tarn
