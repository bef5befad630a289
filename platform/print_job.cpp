#include "platform/print_job.h"

namespace tarn {

JobResult runPrintJob(Printout& printout, PrintTarget& target) {
  Rect page = target.pageRect();
  printout.setPrintParams(&target.canvas(), page.right - page.left, page.bottom - page.top);
  if (!printout.beginPrinting()) {
    printout.endPrinting();
    return JobResult::Failed;
  }
  printout.beginDocument();
  JobResult result = JobResult::Printed;
  for (int n = 1; printout.hasPage(n); ++n) {
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

}  // namespace tarn
