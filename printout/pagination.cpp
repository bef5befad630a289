#include "printout/listing_printout.h"

namespace tarn {
namespace {

/// Measures on another canvas and draws nothing: pages laid out on it break
/// exactly where they break on the device.
class BlindCanvas : public Canvas {
 public:
  explicit BlindCanvas(Canvas& device) : device_(device) {}
  int dpiX() const override { return device_.dpiX(); }
  int dpiY() const override { return device_.dpiY(); }
  void setFont(int slot, const FontSpec& font) override { device_.setFont(slot, font); }
  void selectFont(int slot) override { device_.selectFont(slot); }
  bool metrics(TextMetrics& out) override { return device_.metrics(out); }
  int textWidth(std::string_view text) override { return device_.textWidth(text); }
  int textHeight(std::string_view text) override { return device_.textHeight(text); }
  void setTextColor(std::uint32_t) override {}
  void setTextAlign(TextAlign) override {}
  void textOut(int, int, std::string_view) override {}
  void textOutClipped(int, int, const Rect&, std::string_view) override {}
  void selectPen(int) override {}
  void moveTo(int, int) override {}
  void lineTo(int, int) override {}
  void shade(const Rect&) override {}

 protected:
  int unicodeTextWidth(std::string_view utf8) override { return device_.textWidthUtf8(utf8); }
  void unicodeTextOut(int, int, std::string_view) override {}

 private:
  Canvas& device_;
};

}  // namespace

void TMyPrintout::setPrintParams(Canvas* canvas, int pageWidth, int pageHeight) {
  Printout::setPrintParams(canvas, pageWidth, pageHeight);
  printable_ = Rect{0, 0, pageWidth, pageHeight};
}

TMyPrintout::PageStart TMyPrintout::pageState() const {
  PageStart s;
  s.token = document_.tokens->current();
  s.resumed = resumed_;
  s.resumeAt = resumeAt_;
  s.unit = unit_;
  s.embedIndent = embedIndent_;
  s.hasMore = hasMore_;
  s.inRegion = inRegion_;
  s.pendingContinuation = pendingContinuation_;
  s.lineEnded = lineEnded_;
  s.blankToken = blankToken_;
  return s;
}

void TMyPrintout::restore(const PageStart& s) {
  document_.tokens->setCurrent(s.token);
  resumed_ = s.resumed;
  resumeAt_ = s.resumeAt;
  unit_ = s.unit;
  embedIndent_ = s.embedIndent;
  hasMore_ = s.hasMore;
  inRegion_ = s.inRegion;
  pendingContinuation_ = s.pendingContinuation;
  lineEnded_ = s.lineEnded;
  blankToken_ = s.blankToken;
  currentFont_ = -1;  // the canvas's selection is not part of the state
}

void TMyPrintout::paginate() {
  Canvas* device = canvas();
  if (!device) return;
  const PageStart resume = pageState();
  BlindCanvas blind(*device);
  Printout::setPrintParams(&blind, pageWidth(), pageHeight());
  // From the pass's first page, wherever this pass has got to.
  restore(passStart_);
  pageStarts_.clear();
  for (int n = 1; hasMore_; ++n) {
    const PageStart start = pageState();
    // A page that took nothing would come back for ever.
    if (!pageStarts_.empty() && start == pageStarts_.back()) break;
    pageStarts_.push_back(start);
    layOutPage(n, printable_);
  }
  Printout::setPrintParams(device, pageWidth(), pageHeight());
  paginated_ = true;
  restore(resume);
}

bool TMyPrintout::hasPage(int page) {
  if (!paginated_ && page != nextPage_) paginate();
  if (paginated_) return page >= 1 && page <= static_cast<int>(pageStarts_.size());
  return hasMore_;
}

void TMyPrintout::printPage(int page, const Rect& rect) {
  if (page != nextPage_) {
    if (!paginated_) paginate();
    if (page < 1 || page > static_cast<int>(pageStarts_.size())) return;
    restore(pageStarts_[static_cast<std::size_t>(page - 1)]);
  }
  inOrder_ = inOrder_ && page == nextPage_;
  layOutPage(page, rect);
  nextPage_ = page + 1;
  printedWhole_ = inOrder_ && !hasMore_;
}

int TMyPrintout::pageCount() {
  if (!paginated_) paginate();
  return static_cast<int>(pageStarts_.size());
}

}  // namespace tarn
