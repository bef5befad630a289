#include "printout/listing_printout.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "platform/paths.h"
#include "printout/header_fit.h"

namespace tarn {
namespace {

constexpr std::uint32_t kBlack = 0;

std::string formatTime(int hour, int minute) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%02i:%02i", hour, minute);
  return buffer;
}

}  // namespace

void TMyPrintout::bandText(const Rect& r, std::string_view text, TextAlign align, bool utf8) {
  if (text.empty()) return;
  Canvas& c = *canvas();
  c.setTextAlign(align);
  int x = align == TextAlign::Left ? r.left
          : align == TextAlign::Center ? r.left + (r.right - r.left) / 2
                                       : r.right;
  int y = r.top + (r.bottom - r.top) / 2 - c.textHeight(text) / 2;
  if (utf8)
    c.textOutUtf8(x, y, text);
  else
    c.textOut(x, y, text);
}

void TMyPrintout::outline(const Rect& r) {
  Canvas& c = *canvas();
  c.moveTo(r.left, r.top);
  c.lineTo(r.right, r.top);
  c.lineTo(r.right, r.bottom);
  c.lineTo(r.left, r.bottom);
  c.lineTo(r.left, r.top);
}

void TMyPrintout::drawFrame() {
  Canvas& c = *canvas();
  selectFont(kHeaderFontSlot);
  c.setTextColor(kBlack);
  c.shade(headerRect_);
  c.selectPen(kThinPen);
  outline(headerRect_);

  std::time_t now = context_.now ? context_.now() : std::time(nullptr);
  std::tm local{};
  // localtime_r: listings are laid out on several threads at once.
  if (!localtime_r(&now, &local)) local = std::tm{};

  selectFont(kHeaderFontSlot);
  c.shade(footerRect_);
  c.selectPen(kThinPen);
  outline(footerRect_);

  DateFormatter& dates = context_.dates;
  bandText(footerRect_,
           "Printed: " + dates.formatDate(local.tm_mday, local.tm_mon + 1, local.tm_year + 1900) +
               "  " + formatTime(local.tm_hour, local.tm_min) + "  ",
           TextAlign::Right);
  const DosStamp& s = document_.stamp;
  bandText(footerRect_,
           "  Modified: " + dates.formatDate(s.day(), s.month(), s.year()) + "  " +
               formatTime(s.hour(), s.minute()),
           TextAlign::Left);

  std::string page = "  Page " + std::to_string(pageNumber_);
  if (context_.extras.pageCount && paginated_)
    page += " of " + std::to_string(pageStarts_.size());
  page += "  ";
  // The page text stays whole; the others give way, each at least two
  // blanks from its neighbour: the header text (centred) to the file name
  // alone, the folder to the header text. The path is UTF-8.
  const TextExtent width = [&c](std::string_view t) { return c.textWidthUtf8(t); };
  const int gap = c.textWidth("  ");
  const int mid = headerRect_.left + (headerRect_.right - headerRect_.left) / 2;
  const int pageLeft = headerRect_.right - c.textWidth(page);
  std::string header;
  int nameRoom = pageLeft - headerRect_.left;
  if (setup_.headerText[0]) {
    const int nameEnd = headerRect_.left + width("  " + splitPath(document_.path).name);
    const int half = std::min(mid - nameEnd, pageLeft - mid) - gap;
    // The header text is the code page's.
    const TextExtent codePage = [&c](std::string_view t) { return c.textWidth(t); };
    header = fitText(setup_.headerText, 2 * std::max(0, half), codePage);
    if (!header.empty()) nameRoom = mid - codePage(header) / 2 - gap - headerRect_.left;
  }
  bandText(headerRect_, fitDisplayName(document_.path, nameRoom, width), TextAlign::Left, true);
  bandText(headerRect_, header, TextAlign::Center);
  bandText(headerRect_, page, TextAlign::Right);
}

void TMyPrintout::drawEndMarker() {
  selectFont(kHeaderFontSlot);
  canvas()->setTextColor(kBlack);
  bandText(footerRect_, "END OF LISTING", TextAlign::Center);
}

}  // namespace tarn
