#include "ui/preview_window.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPaintEvent>
#include <QToolButton>

#include <algorithm>

#include "desktop/layouts.h"
#include "platform/qt/qt_canvas.h"
#include "printout/print_document.h"
#include "ui/file_window.h"

namespace tarn {
namespace {

/// Takes page 1 and no other: the runner stops the pass after it.
class FirstPageTarget : public PrintTarget {
 public:
  FirstPageTarget(QtCanvas& canvas, int width, int height)
      : canvas_(canvas), width_(width), height_(height) {}
  Canvas& canvas() override { return canvas_; }
  Rect pageRect() override { return Rect{0, 0, width_, height_}; }
  bool beginPage(int page) override { return page == 1; }
  void endPage() override { canvas_.flush(); }

 private:
  QtCanvas& canvas_;
  int width_, height_;
};

const QColor kWorkspace(128, 128, 128);

}  // namespace

PreviewPage::PreviewPage(Printout& printout, const PreviewDevice& device, QWidget* parent)
    : QWidget(parent), printout_(printout), device_(device) {
  setAttribute(Qt::WA_OpaquePaintEvent);
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
  FirstPageTarget target(canvas, device_.width, device_.height);
  runPrintJob(printout_, target);
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
  PrintContext context{app_.setup, app_.dates, app_.now};
  printout_ = makePrintout(fileWindow_.document(), PrintSelection::wholeFile(), context);
  const bool landscape = !app_.setup.portrait;
  const PreviewDevice device = app_.printer.holdForPreview(landscape);

  bar_ = new QWidget(this);
  bar_->setAutoFillBackground(true);
  QPalette barColours = bar_->palette();
  barColours.setColor(QPalette::Window, QApplication::palette().color(QPalette::Window));
  bar_->setPalette(barColours);
  auto* row = new QHBoxLayout(bar_);
  row->setContentsMargins(4, 2, 4, 2);
  row->setSpacing(0);
  indicator_ = new QLabel(QStringLiteral("Only first page can be viewed"), bar_);
  indicator_->setObjectName(QStringLiteral("indicator%1").arg(kIndicatorId));
  indicator_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  indicator_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  // Room for 30 characters, and never less than the text itself.
  const QFontMetrics fm = indicator_->fontMetrics();
  indicator_->setFixedWidth(std::max(fm.averageCharWidth() * 30,
                                     fm.horizontalAdvance(indicator_->text()) + 4 * fm.averageCharWidth()));
  print_ = new QToolButton(bar_);
  print_->setText(QStringLiteral("&Print"));
  print_->setToolTip(QStringLiteral("Print the whole file"));
  print_->setObjectName(QStringLiteral("button%1").arg(kPrintId));
  done_ = new QToolButton(bar_);
  done_->setText(QStringLiteral("&Done"));
  done_->setObjectName(QStringLiteral("button%1").arg(kDoneId));
  for (QToolButton* b : {print_, done_}) b->setToolButtonStyle(Qt::ToolButtonTextOnly);
  row->addWidget(indicator_);
  row->addSpacing(20);
  row->addWidget(print_);
  row->addSpacing(20);
  row->addWidget(done_);
  row->addStretch(1);

  page_ = new PreviewPage(*printout_, device, this);
  connect(print_, &QToolButton::clicked, this, [this] { fileWindow_.printWholeFile(); });
  connect(done_, &QToolButton::clicked, this, &QDialog::reject);

  if (area) {
    const QPoint corner = area->mapToGlobal(QPoint(0, -1));
    setGeometry(QRect(corner, QSize(area->width(), area->height() + 1)));
  }
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
