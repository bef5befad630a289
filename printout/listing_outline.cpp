#include "document/entry_titles.h"
#include "platform/paths.h"
#include "printout/listing_printout.h"

namespace tarn {

void TMyPrintout::markPosition(const TToken* t, int y) {
  // Pages laid out again (a page range, the page count) find their marks made;
  // most tokens lie in the unit marked last and need no look-up.
  if (unit_ && unit_ != lastMarked_ && marked_.insert(unit_).second)
    marks_.push_back(Mark{unit_, unit_, pageNumber_, y});
  lastMarked_ = unit_;
  if (t->has(tfEmbedBefore) && marked_.insert(t).second)
    marks_.push_back(Mark{t, unit_, pageNumber_, y});
}

void TMyPrintout::wantLinks() {
  if (links_) return;
  links_ = context_.links;
  if (!links_) {
    ownLinks_ = std::make_unique<ListingLinks>(document_);
    links_ = ownLinks_.get();
  }
}

DocumentInfo TMyPrintout::documentInfo() {
  DocumentInfo info;
  info.title = splitPath(document_.path).name;
  info.created = context_.now ? context_.now() : std::time(nullptr);
  for (const Mark& m : marks_) {
    if (m.token != m.unit) continue;
    // The unit may start with the comment above its label.
    const TToken* entry = m.token;
    while (entry && entry->isSeparator()) entry = entry->next();
    if (entry) info.anchors.push_back(LinkAnchor{entry->line - document_.lineShift, m.page, m.y});
  }
  for (const auto& [page, areas] : linkAreas_)
    info.links.insert(info.links.end(), areas.begin(), areas.end());
  if (!context_.extras.pdfOutline) return info;

  std::vector<OutlineEntry>& out = info.outline;
  bool units = false;
  for (const Mark& m : marks_) units = units || m.token == m.unit;
  // Without units the file itself holds the embed points.
  if (!units) out.push_back(OutlineEntry{info.title, true, 0, 1, 0});
  const TToken* lastUnit = nullptr;
  for (const Mark& m : marks_) {
    if (m.token == m.unit) {
      lastUnit = m.unit;
      out.push_back(OutlineEntry{unitTitle(m.token), false, 0, m.page, m.y});
    } else {
      const int level = !units || (m.unit && m.unit == lastUnit) ? 1 : 0;
      out.push_back(OutlineEntry{embedTitle(m.token), false, level, m.page, m.y});
    }
  }
  return info;
}

}  // namespace tarn
