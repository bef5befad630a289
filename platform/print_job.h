#pragma once

#include <string>

#include "platform/canvas.h"
#include "platform/printout.h"

namespace tarn {

/// A device that receives the pages of one job (a printer, a PDF file, the
/// recording canvas of the tests).
class PrintTarget {
 public:
  virtual ~PrintTarget() = default;
  virtual Canvas& canvas() = 0;
  /// The usable area of a page, from (0, 0).
  virtual Rect pageRect() = 0;
  /// Starts page `page` (from 1; a page range starts later); false when the
  /// job was cancelled.
  virtual bool beginPage(int page) = 0;
  virtual void endPage() = 0;
};

enum class JobResult { Printed, Cancelled, Failed };

/// Drives a printout over a target: parameters, one pass, then every page of
/// `range` (from its fromPage, 1 when 0, through its toPage, the last when 0)
/// while the printout has one.
JobResult runPrintJob(Printout& printout, PrintTarget& target, const PageRange& range = {});

/// The printout's page count on the target's device (0: not known ahead),
/// from a pass that prints nothing.
int countPages(Printout& printout, PrintTarget& target);

/// The application's printer: one per run, made on first need, shared by
/// printing, preview and direct printing.
class Printer {
 public:
  virtual ~Printer() = default;

  /// What the printout asked for before the dialog (orientation, colour).
  DeviceMode& deviceMode() { return deviceMode_; }

  /// Prints a job, after the print dialog when `withDialog`; a progress
  /// dialog with Cancel accompanies it where a screen is available.
  virtual JobResult print(Printout& printout, bool withDialog) = 0;

  /// Whether the printer cannot print (no printer known).
  virtual bool hasError() { return false; }

 private:
  DeviceMode deviceMode_;
};

}  // namespace tarn
