#include "printout/listing_printout.h"

#include "analysis/analyser.h"
#include "printout/header_fit.h"

namespace tarn {

bool hasNothingToPrint(const TFileDataSource& document, int printMode) {
  bool inside = false;
  for (const TToken* t = document.tokens->front(); t; t = t->next()) {
    if (printMode == kPrintRegions) {
      if (t->has(tfStructEnd))
        inside = false;
      else if (t->has(tfStructStart))
        inside = true;
    }
    if (t->has(tfEmbedAfter))
      inside = false;
    else if (t->has(tfEmbedBefore))
      inside = true;
    if (!t->is(tcComment) && (printMode == kPrintFullSource || inside)) return false;
  }
  return true;
}

TMyPrintout::Step TMyPrintout::separatorAndHeading(const TToken* t, std::string_view text,
                                                   bool columnEmpty) {
  Canvas& c = *canvas();
  const int pitch = linePitch();
  // In an empty column both are drawn whatever room is left, so that every
  // column takes at least one token.
  if (setup_.lineBeforeUnit && t->has(tfUnitStart)) {
    if (y_ + 2 * pitch > yB_ && !columnEmpty) return Step::Stop;
    x_ = x0_;
    y_ += pitch;
    lineEnded_ = false;
    c.selectPen(kThinPen);
    c.moveTo(x0_, y_);
    c.lineTo(xR_, y_);
    y_ += pitch;
  }
  if (regionsOnly_ && t->has(tfEmbedBefore)) {
    if (y_ + 2 * pitch > yB_ && !columnEmpty) return Step::Stop;
    std::string title = embedDescription(text).value_or("");
    x_ = x0_;
    y_ += pitch;
    lineEnded_ = false;
    const int h = textMetrics_[tcComment].tmHeight / 2;
    Rect box{x0_ + 1, y_ - h, xR_ - 1, y_ + h};
    // The heading takes the comment style throughout, not the colour of
    // whatever token happened to be drawn last.
    selectFont(tcComment);
    c.setTextColor(setup_.tokenColor[tcComment]);
    c.shade(box);
    outline(box);
    c.selectPen(kThinPen);
    // A title wider than its column is cut at its end, never drawn over
    // the next column or past the page.
    const TextExtent extent = [&c](std::string_view s) { return c.textWidth(s); };
    bandText(box, fitText(title, box.right - box.left, extent), TextAlign::Center);
    y_ += pitch;
  }
  return Step::Next;
}

void TMyPrintout::emphasisBar() {
  if (!setup_.emphasizeEmbeds || regionsOnly_ || !inRegion_) return;
  // One bar a line is enough; every token of the line would repeat it.
  if (lastBarY_ == y_) return;
  lastBarY_ = y_;
  Canvas& c = *canvas();
  const int x = columnRect_.left + gap_ / 2;
  c.selectPen(kThickPen);
  c.moveTo(x, y_);
  c.lineTo(x, y_ + linePitch());
  c.selectPen(kThinPen);
}

}  // namespace tarn
