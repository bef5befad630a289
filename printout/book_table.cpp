#include "printout/book_table.h"

#include <algorithm>

#include "printout/listing_printout.h"

namespace tarn {
namespace {

constexpr std::uint32_t kBlack = 0;
constexpr int kTextSlot = 0, kHeadingSlot = 1;

FontSpec sourceFont(const SetupData& setup, int dpiY, bool bold) {
  FontSpec f;
  f.faceName = setup.sourceFont.logFont.faceName;
  f.height = TMyPrintout::fontHeight(setup.sourceFont.pointSize, dpiY);
  f.weight = bold ? 700 : 0;
  return f;
}

}  // namespace

BookTablePrintout::BookTablePrintout(std::string title, std::vector<std::string> headings,
                                     std::vector<bool> rightAligned, std::vector<BookLine> lines,
                                     const SetupData& setup)
    : Printout(std::move(title)),
      headings_(std::move(headings)),
      rightAligned_(std::move(rightAligned)),
      lines_(std::move(lines)),
      setup_(setup) {
  rightAligned_.resize(headings_.size(), false);
}

bool BookTablePrintout::beginPrinting() {
  Canvas* c = canvas();
  if (!c) return false;
  c->setFont(kTextSlot, sourceFont(setup_, c->dpiY(), false));
  c->setFont(kHeadingSlot, sourceFont(setup_, c->dpiY(), true));
  FontSpec band = sourceFont(setup_, c->dpiY(), true);
  band.faceName = setup_.reportFont.logFont.faceName;
  band.height = TMyPrintout::fontHeight(setup_.reportFont.pointSize, c->dpiY());
  c->setFont(kHeaderFontSlot, band);
  perPage_ = layOut(Rect{0, 0, pageWidth(), pageHeight()}).perPage;
  areas_.clear();
  return true;
}

int BookTablePrintout::pageCount() {
  const int perPage = std::max(1, perPage_);
  return std::max<int>(1, (static_cast<int>(lines_.size()) + perPage - 1) / perPage);
}

BookTablePrintout::Layout BookTablePrintout::layOut(const Rect& rect) {
  Canvas& c = *canvas();
  Layout l;
  Rect page = rect;
  page.left = (page.left + 100) / 100 * 100;
  page.right = (page.right - 1) / 100 * 100;
  page.bottom -= 50;
  TextMetrics m;
  c.selectFont(kHeaderFontSlot);
  c.metrics(m);
  l.band = Rect{page.left, page.top, page.right, page.top + std::max(1, m.tmHeight * 6 / 4)};
  c.selectFont(kTextSlot);
  c.metrics(m);
  l.pitch = std::max(1, (m.tmHeight + m.tmExternalLeading) * 6 / 5);
  l.top = l.band.bottom + l.pitch;  // a blank line, then the headings
  l.perPage = std::max(1, (page.bottom - l.top - l.pitch) / l.pitch);

  // Each column as wide as its widest text, three blanks apart.
  const int gap = c.textWidth("   ");
  std::vector<int> widths(headings_.size(), 0);
  c.selectFont(kHeadingSlot);
  for (std::size_t i = 0; i < headings_.size(); ++i) widths[i] = c.textWidthUtf8(headings_[i]);
  c.selectFont(kTextSlot);
  for (const BookLine& line : lines_)
    for (std::size_t i = 0; i < line.cells.size() && i < widths.size(); ++i)
      widths[i] = std::max(widths[i], c.textWidthUtf8(line.cells[i]));
  int x = page.left + gap;
  for (std::size_t i = 0; i < widths.size(); ++i) {
    l.x.push_back(rightAligned_[i] ? x + widths[i] : x);
    x += widths[i] + gap;
  }
  l.right = std::min(x, page.right);
  return l;
}

void BookTablePrintout::printPage(int page, const Rect& rect) {
  Canvas& c = *canvas();
  const Layout l = layOut(rect);
  c.setTextColor(kBlack);
  c.selectFont(kHeaderFontSlot);
  c.shade(l.band);
  c.selectPen(kThinPen);
  c.moveTo(l.band.left, l.band.top);
  c.lineTo(l.band.right, l.band.top);
  c.lineTo(l.band.right, l.band.bottom);
  c.lineTo(l.band.left, l.band.bottom);
  c.lineTo(l.band.left, l.band.top);
  const int bandY = l.band.top + (l.band.bottom - l.band.top) / 2 - c.textHeight(title()) / 2;
  c.setTextAlign(TextAlign::Left);
  c.textOutUtf8(l.band.left + c.textWidth("  "), bandY, title());
  c.setTextAlign(TextAlign::Right);
  c.textOut(l.band.right - c.textWidth("  "), bandY,
            "Page " + std::to_string(firstPage_ + page - 1));

  auto row = [&](const std::vector<std::string>& cells, int y) {
    for (std::size_t i = 0; i < cells.size() && i < l.x.size(); ++i) {
      c.setTextAlign(rightAligned_[i] ? TextAlign::Right : TextAlign::Left);
      c.textOutUtf8(l.x[i], y, cells[i]);
    }
  };
  c.selectFont(kHeadingSlot);
  row(headings_, l.top);
  c.selectFont(kTextSlot);
  const std::size_t first = static_cast<std::size_t>(page - 1) * static_cast<std::size_t>(l.perPage);
  int y = l.top + l.pitch;
  for (std::size_t i = first; i < lines_.size() && i < first + static_cast<std::size_t>(l.perPage);
       ++i, y += l.pitch) {
    row(lines_[i].cells, y);
    if (links_ && lines_[i].target.file != 0)
      areas_.push_back(LinkArea{page, Rect{l.band.left, y, l.right, y + l.pitch}, lines_[i].target});
  }
}

DocumentInfo BookTablePrintout::documentInfo() {
  DocumentInfo info;
  info.title = title();
  info.links = areas_;
  return info;
}

}  // namespace tarn
