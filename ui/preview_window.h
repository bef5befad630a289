#pragma once

#include <QDialog>

#include <memory>

#include "desktop/preview_pages.h"
#include "printout/listing_printout.h"
#include "ui/app_context.h"

class QLabel;
class QToolButton;

namespace tarn {

class varnixWindowView;

/// Draws one page of a printout scaled into the widget, through the same
/// printout code and job runner as printing, on the printer's metrics.
class PreviewPage : public QWidget {
  Q_OBJECT
 public:
  PreviewPage(Printout& printout, const PreviewDevice& device, QWidget* parent);
  const PreviewDevice& device() const { return device_; }
  int page() const { return page_; }
  void setPage(int page);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Printout& printout_;
  PreviewDevice device_;
  int page_ = 1;
};

/// Every page of the active file's listing, over the document area, until
/// Done (or Esc): Previous and Next (Page Up, Page Down), Home and End move
/// through them. Its Print prints the whole file with the print dialog
/// while the preview stays open.
class PreviewWindow : public QDialog {
  Q_OBJECT
 public:
  enum : int {
    kIndicatorId = 24604,
    kPrintId = 24337,
    kDoneId = 24605,
    kPreviousId = 24606,
    kNextId = 24607,
  };

  /// Lays the preview over `area` (one pixel above it, one pixel taller).
  PreviewWindow(varnixWindowView& fileWindow, AppContext& app, QWidget* area);
  ~PreviewWindow() override;

  PreviewPage* page() const { return page_; }
  QLabel* indicator() const { return indicator_; }
  QToolButton* previousButton() const { return previous_; }
  QToolButton* nextButton() const { return next_; }
  QToolButton* printButton() const { return print_; }
  QToolButton* doneButton() const { return done_; }
  const PreviewPages& pages() const { return pages_; }
  /// Shows page `page` (from 1); false when the listing has no such page.
  bool showPage(int page);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void placePage();
  /// Shows the page `pages_` is at: page, indicator and buttons.
  void showCurrent();
  void step(bool (PreviewPages::*go)());

  varnixWindowView& fileWindow_;
  AppContext& app_;
  std::unique_ptr<TMyPrintout> printout_;
  PreviewPages pages_{1};
  QWidget* bar_ = nullptr;
  QLabel* indicator_ = nullptr;
  QToolButton* previous_ = nullptr;
  QToolButton* next_ = nullptr;
  QToolButton* print_ = nullptr;
  QToolButton* done_ = nullptr;
  PreviewPage* page_ = nullptr;
};

}  // namespace tarn
