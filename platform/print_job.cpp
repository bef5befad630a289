#include "platform/print_job.h"

#include <algorithm>
#include <climits>

namespace tarn {

JobResult runPrintJob(Printout& printout, PrintTarget& target, const PageRange& range) {
  Rect page = target.pageRect();
  printout.setPrintParams(&target.canvas(), page.right - page.left, page.bottom - page.top);
  if (!printout.beginPrinting()) {
    printout.endPrinting();
    return JobResult::Failed;
  }
  printout.beginDocument();
  JobResult result = JobResult::Printed;
  const int first = std::max(1, range.fromPage);
  const int last = range.toPage > 0 ? range.toPage : INT_MAX;
  for (int n = first; n <= last && printout.hasPage(n); ++n) {
    if (!target.beginPage(n)) {
      result = JobResult::Cancelled;
      break;
    }
    printout.printPage(n, target.pageRect());
    target.endPage();
  }
  printout.endDocument();
  printout.endPrinting();
  return result;
}

int countPages(Printout& printout, PrintTarget& target) {
  Rect page = target.pageRect();
  printout.setPrintParams(&target.canvas(), page.right - page.left, page.bottom - page.top);
  int pages = printout.beginPrinting() ? printout.pageCount() : 0;
  printout.endPrinting();
  return pages;
}

}  // namespace tarn
