#include "printout/print_document.h"

namespace tarn {

std::optional<PrintRange> printRange(const TFileDataSource& document, PrintSelection selection) {
  if (selection.kind == PrintSelection::Kind::WholeFile) return PrintRange{};
  const bool unit = selection.kind == PrintSelection::Kind::Unit;
  const std::vector<TToken*>& list = unit ? document.blocks : document.embeds;
  if (selection.index >= list.size()) return std::nullopt;
  return PrintRange{unit ? std::uint32_t{tfBeforeUnit} : std::uint32_t{tfEmbedAfter},
                    list[selection.index]};
}

std::unique_ptr<TMyPrintout> makePrintout(TFileDataSource& document, PrintSelection selection,
                                          const PrintContext& context) {
  auto range = printRange(document, selection);
  if (!range) return nullptr;
  return std::make_unique<TMyPrintout>(document, document.path, range->stopMask, range->start,
                                       regionsOnly(context.setup.printMode), context);
}

void clearArchiveMark(const std::string& path, FileAttributes& attributes) {
  if (auto bits = attributes.get(path)) {
    if (*bits & kAttrArchive) attributes.set(path, *bits & ~kAttrArchive);
  }
}

DirectPrintResult printDocument(TFileDataSource& document, const PrintRequest& request,
                                PrintServices& services) {
  const SetupData& setup = services.setup;
  if (hasNothingToPrint(document, setup.printMode)) {
    if (request.sayNothingToPrint)
      services.messages.show(kNothingToPrint, "Tarnlist for Clarion", MessageIcon::Exclamation);
    return DirectPrintResult::NothingToPrint;
  }
  PrintContext context{setup, services.dates, services.now, services.extras};
  auto printout = makePrintout(document, request.selection, context);
  if (!printout) return DirectPrintResult::Failed;
  Printer& printer = services.printer();
  switch (printer.print(*printout, request.withDialog)) {
    case JobResult::Printed:
      // The mark means "changed since it was last printed": only a job that
      // reached the printer or its file whole, every page of it, may clear it.
      if (setup.clearArchive && printout->printedWhole())
        clearArchiveMark(document.path, services.attributes);
      return DirectPrintResult::Printed;
    case JobResult::Cancelled: return DirectPrintResult::Cancelled;
    case JobResult::Failed: break;
  }
  return DirectPrintResult::Failed;
}

}  // namespace tarn
