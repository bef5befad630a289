#include "printout/listing_printout.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace tarn {
namespace {

/// a * b / c rounded to the nearest integer; -1 when c is 0.
int mulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  long long n = static_cast<long long>(a) * b;
  long long q = n / c, r = n % c;
  if (2 * std::llabs(r) >= std::llabs(c)) q += ((n < 0) != (c < 0)) ? -1 : 1;
  return static_cast<int>(q);
}

constexpr int kMaxPointSize = 7200;

FontSpec fontOf(const FontData& data, int height) {
  FontSpec f;
  f.faceName = data.logFont.faceName;
  f.height = height;
  f.weight = data.logFont.weight;
  f.italic = data.logFont.italic != 0;
  f.underline = data.logFont.underline != 0;
  f.strikeOut = data.logFont.strikeOut != 0;
  return f;
}

}  // namespace

int TMyPrintout::fontHeight(int pointSize, int dpiY) {
  int p = pointSize == 0 ? kDefaultPointSize : std::clamp(std::abs(pointSize), 10, kMaxPointSize);
  return -(mulDiv(p, dpiY, 72) / 15);
}

TMyPrintout::TMyPrintout(TFileDataSource& document, std::string title, std::uint32_t stopMask,
                         TToken* startToken, bool regionsOnly, const PrintContext& context)
    : Printout(std::move(title)),
      document_(document),
      context_(context),
      setup_(context.setup),
      stopMask_(stopMask),
      startToken_(startToken),
      regionsOnly_(regionsOnly) {}

TMyPrintout::~TMyPrintout() = default;

void TMyPrintout::getDialogInfo(PageRange& range, DeviceMode& mode) {
  range = PageRange{};
  mode.orientation = setup_.portrait ? DeviceMode::kPortrait : DeviceMode::kLandscape;
  mode.color = DeviceMode::kColor;
  mode.fields |= DeviceMode::kFieldOrientation | DeviceMode::kFieldColor;
}

bool TMyPrintout::beginPrinting() {
  lineEnded_ = blankToken_ = inRegion_ = false;
  hasMore_ = true;  // every pass starts at page 1, so a repainted preview finds its page again
  currentFont_ = -1;
  pendingContinuation_ = false;
  resumed_ = nullptr;
  resumeAt_ = 0;
  embedIndent_ = 0;
  TokenList& tokens = *document_.tokens;
  if (startToken_)
    tokens.setCurrent(startToken_);
  else
    tokens.first();
  // A unit or embed point printed alone still belongs to the unit around it.
  unit_ = nullptr;
  for (const TToken* t = tokens.current(); t && !unit_; t = t->previous())
    if (t->has(tfUnitStart)) unit_ = t;

  Canvas& c = *canvas();
  FontSpec base;
  base.faceName = setup_.sourceFont.logFont.faceName;
  base.height = fontHeight(setup_.sourceFont.pointSize, c.dpiY());

  c.setFont(kHeaderFontSlot, fontOf(setup_.reportFont, fontHeight(setup_.reportFont.pointSize, c.dpiY())));
  c.selectFont(kHeaderFontSlot);
  bool ok = c.metrics(textMetrics_[kHeaderFontSlot]);
  for (int i = 0; i < kHeaderFontSlot; ++i) {
    FontSpec f = base;
    std::int32_t style = setup_.tokenStyle[i];
    f.weight = (style & kStyleBold) ? 700 : 0;
    f.italic = (style & kStyleItalic) != 0;
    c.setFont(i, f);
    c.selectFont(i);
    ok = c.metrics(textMetrics_[i]);
  }
  gutter_ = numberGap_ = 0;
  if (context_.extras.lineNumbers) {
    // As wide as the file's last line number, whatever part of it prints.
    c.setFont(kLineNumberFontSlot, base);
    c.selectFont(kLineNumberFontSlot);
    const TToken* last = tokens.back();
    numberGap_ = c.textWidth(" ");
    const int lastLine = last ? std::max(1, last->line - document_.lineShift) : 1;
    gutter_ = c.textWidth(std::to_string(lastLine)) + numberGap_;
  }
  currentFont_ = -1;

  passStart_ = pageState();
  nextPage_ = 1;
  inOrder_ = true;
  printedWhole_ = false;
  if (!keepPages_ || !paginated_) {
    paginated_ = false;
    pageStarts_.clear();
    marks_.clear();
    linkAreas_.clear();
    marked_.clear();
    lastMarked_ = nullptr;
    if (ok && context_.extras.pageCount) paginate();
  }
  return ok;
}

void TMyPrintout::selectFont(int slot) {
  if (currentFont_ == slot) return;
  canvas()->selectFont(slot);
  currentFont_ = slot;
}

int TMyPrintout::linePitch() const {
  // A damaged setting never yields a pitch that stops the pen from moving.
  int lineHeight = std::clamp<int>(setup_.lineHeight, kMinLineHeight, kMaxLineHeight);
  const TextMetrics& m = textMetrics_[tcKeyword];
  return std::max(1, (m.tmHeight + m.tmExternalLeading) * lineHeight / 100);
}

void TMyPrintout::layOutPage(int page, const Rect& rect) {
  Canvas& c = *canvas();
  pageRect_ = rect;
  pageRect_.left += 100;
  pageRect_.bottom -= 50;
  pageRect_.right -= 1;
  if (setup_.bindingMargin) {
    if (setup_.portrait)
      pageRect_.left += c.dpiX() / 3;
    else
      pageRect_.top += c.dpiY() / 2;
  }
  pageRect_.right = pageRect_.right / 100 * 100;
  pageRect_.left = pageRect_.left / 100 * 100;
  gap_ = (pageRect_.right - pageRect_.left) / 100;
  pageNumber_ = page;
  linkAreas_.erase(page);  // laid out again: the same areas once more

  int band = textMetrics_[kHeaderFontSlot].tmHeight * 6 / 4;
  headerRect_ = pageRect_;
  headerRect_.bottom = pageRect_.top + band;
  footerRect_ = pageRect_;
  footerRect_.top = pageRect_.bottom - band;
  drawFrame();

  Rect area = pageRect_;
  area.top = headerRect_.bottom + 1;
  area.bottom = footerRect_.top - 1;
  c.selectPen(kThinPen);
  c.moveTo(headerRect_.left, headerRect_.bottom);
  c.lineTo(footerRect_.left, footerRect_.top);
  c.moveTo(headerRect_.right, headerRect_.bottom);
  c.lineTo(footerRect_.right, footerRect_.top);

  int columns = std::clamp<int>(setup_.columns, kMinColumns, kMaxColumns);
  int w = (pageRect_.right - pageRect_.left) / columns;
  for (int i = 1; i < columns; ++i) {
    c.moveTo(pageRect_.left + w * i, headerRect_.bottom);
    c.lineTo(pageRect_.left + w * i, footerRect_.top);
  }
  for (int i = 0; i < columns; ++i) {
    columnRect_ = Rect{pageRect_.left + w * i, area.top, pageRect_.left + w * (i + 1), area.bottom};
    unitEnded_ = false;
    fillColumn();
    if (unitEnded_ && setup_.oneUnitEach && setup_.unitPerPage) break;
    const TToken* at = document_.tokens->current();
    // A last token still going on belongs in the next column, not on the next page.
    if (at && at->has(stopMask_) && !pendingContinuation_) break;
  }
}

}  // namespace tarn
