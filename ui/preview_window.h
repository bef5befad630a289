#pragma once

#include <QDialog>

#include <memory>

#include "printout/listing_printout.h"
#include "ui/app_context.h"

class QLabel;
class QToolButton;

namespace tarn {

class varnixWindowView;

/// Draws page 1 of a printout scaled into the widget, through the same
/// printout code and job runner as printing, on the printer's metrics.
class PreviewPage : public QWidget {
  Q_OBJECT
 public:
  PreviewPage(Printout& printout, const PreviewDevice& device, QWidget* parent);
  const PreviewDevice& device() const { return device_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Printout& printout_;
  PreviewDevice device_;
};

/// The first page of the active file's listing, over the document area,
/// until Done (or Esc). Its Print prints the whole file with the print
/// dialog while the preview stays open.
class PreviewWindow : public QDialog {
  Q_OBJECT
 public:
  enum : int { kIndicatorId = 24604, kPrintId = 24337, kDoneId = 24605 };

  /// Lays the preview over `area` (one pixel above it, one pixel taller).
  PreviewWindow(varnixWindowView& fileWindow, AppContext& app, QWidget* area);
  ~PreviewWindow() override;

  PreviewPage* page() const { return page_; }
  QLabel* indicator() const { return indicator_; }
  QToolButton* printButton() const { return print_; }
  QToolButton* doneButton() const { return done_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void placePage();

  varnixWindowView& fileWindow_;
  AppContext& app_;
  std::unique_ptr<TMyPrintout> printout_;
  QWidget* bar_ = nullptr;
  QLabel* indicator_ = nullptr;
  QToolButton* print_ = nullptr;
  QToolButton* done_ = nullptr;
  PreviewPage* page_ = nullptr;
};

}  // namespace tarn
