#include "printout/listing_printout.h"

#include <algorithm>
#include <string>

namespace tarn {
namespace {

constexpr std::string_view kCutMarker = "...";
constexpr std::string_view kContinuationMarker = "\xBB ";
constexpr std::uint32_t kLineNumberColor = 0x808080;  // grey, RGB 128, 128, 128

bool onlySpacesAndLineEnds(std::string_view text) {
  return text.find_first_not_of(" \n") == std::string_view::npos;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

/// Length of `text` without the blanks at its end, which print as nothing.
std::size_t visibleLength(std::string_view text) {
  std::size_t n = text.size();
  while (n > 0 && isBlank(text[n - 1])) --n;
  return n;
}

}  // namespace

void TMyPrintout::fillColumn() {
  x0_ = columnRect_.left + gap_ + gutter_;
  xR_ = columnRect_.right - gap_ / 2;
  y0_ = columnRect_.top + gap_;
  yB_ = columnRect_.bottom - gap_;
  x_ = x0_;
  y_ = y0_;
  continuation_ = false;
  columnFull_ = false;
  lastBarY_ = lastCutY_ = lastNumberY_ = -1;

  TokenList& tokens = *document_.tokens;
  if (pendingContinuation_ && tokens.current()) {
    pendingContinuation_ = false;
    const TToken* t = tokens.current();
    selectFont(t->tokenClass);
    canvas()->setTextColor(setup_.tokenColor[t->tokenClass]);
    canvas()->setTextAlign(TextAlign::Left);
    canvas()->textOut(x0_, y0_, kContinuationMarker);
    x_ += width(kContinuationMarker);
    continuation_ = true;
  }

  for (;;) {
    TToken* t = tokens.current();
    if (!t) {
      hasMore_ = false;
      drawEndMarker();
      return;
    }
    if (drawToken(t) == Step::Stop) return;
    if (t->has(stopMask_)) {
      hasMore_ = false;
      drawEndMarker();
      return;
    }
    resumed_ = nullptr;
    resumeAt_ = 0;
    tokens.next();
    if (columnFull_) return;
  }
}

TMyPrintout::Step TMyPrintout::drawToken(TToken* t) {
  Canvas& c = *canvas();
  for (;;) {
    const bool resumed = t == resumed_;
    if (t->has(tfUnitStart)) unit_ = t;
    linkTarget_ = links_ && (t->is(tcIdentifier) || t->is(tcLabel)) ? links_->targetOf(t) : nullptr;
    if (!resumed && (t->has(tfEmbedBefore) || t->has(tfStructStart))) beginRegion(t);

    std::string_view text = t->view();
    const TToken* before = t->previous();
    if (regionsOnly_ && inRegion_ && before && before->has(tfLineEnd))
      text.remove_prefix(std::min<std::size_t>(static_cast<std::size_t>(embedIndent_), text.size()));
    // A token split over lines goes on behind the part already printed.
    if (resumed) text.remove_prefix(std::min(resumeAt_, text.size()));
    std::size_t len = text.size();

    // Outside regions, with regions only, a token is neither drawn nor given room.
    const bool drawn = !(regionsOnly_ && !inRegion_);
    if (drawn) {
      if (!resumed) {
        const bool columnEmpty = x_ == x0_ && y_ == y0_;
        // The rule or heading above a part belongs to it.
        const int top = y_;
        if (separatorAndHeading(t, text, columnEmpty) == Step::Stop) return Step::Stop;
        if (setup_.oneUnitEach && t->has(tfUnitStart) && !columnEmpty) {
          unitEnded_ = true;
          return Step::Stop;
        }
        markPosition(t, top);
        drawLineNumber(t);
        selectFont(t->tokenClass);
        c.setTextColor(setup_.tokenColor[t->tokenClass]);
      } else {
        selectFont(t->tokenClass);
        c.setTextColor(setup_.tokenColor[t->tokenClass]);
      }
      const int cutWidth = width(kCutMarker);

      if (t->is(tcComment)) {
        if (text.find('\n') != std::string_view::npos) {
          if (len > 0) --len;
          lineEnded_ = true;
        }
        if (onlySpacesAndLineEnds(text)) blankToken_ = true;
      }
      emphasisBar();
      if (setup_.wrapLine) {
        if (continuation_) {
          continuation_ = false;
        } else if (!blankToken_ && wrap(t, text, len, cutWidth)) {
          if (pendingContinuation_) return Step::Stop;
          continue;  // the same token again, on the continuation line
        }
        if (!blankToken_ && split(t, text, len, cutWidth)) {
          if (pendingContinuation_) return Step::Stop;
          continue;  // the rest of the token, on the continuation line
        }
      }
      drawText(text, len, cutWidth);
    }

    // Region end: the line end behind a structure's closing token lies outside it.
    if (t->has(tfEmbedAfter) || t->has(tfStructEnd)) {
      const bool closes = inRegion_;
      inRegion_ = false;
      if (t->has(tfStructEnd) && closes) {
        y_ += linePitch();
        if (y_ > yB_) columnFull_ = true;
      }
    }
    if (drawn) {
      if (lineEnded_) {
        x_ = x0_;
        y_ += linePitch();
        lineEnded_ = false;
        if (y_ > yB_) columnFull_ = true;
      } else {
        x_ += width(text.substr(0, len));
      }
    }
    return Step::Next;
  }
}

void TMyPrintout::beginRegion(const TToken* t) {
  // With regions only, what stood before the region on its line was not
  // printed; in full source it was, and the region must not print over it.
  if (regionsOnly_) x_ = x0_;
  inRegion_ = true;
  continuation_ = false;
  embedIndent_ = 0;
  if (t->has(tfEmbedBefore)) {
    auto bang = t->view().find('!');
    embedIndent_ = bang == std::string_view::npos ? 0 : static_cast<int>(bang);
  }
}

bool TMyPrintout::wrap(TToken* t, std::string_view text, std::size_t len, int cutWidth) {
  if (x_ == x0_ || x_ + width(text.substr(0, len)) + cutWidth < xR_) return false;
  continueOnNextLine(t, cutWidth);
  return true;
}

bool TMyPrintout::split(TToken* t, std::string_view text, std::size_t len, int cutWidth) {
  const std::size_t visible = visibleLength(text.substr(0, len));
  const int room = xR_ - cutWidth - x_;
  std::size_t n = headThatFits(text, len, room);
  // Blanks beyond the room print as nothing; they need no continuation line.
  if (n >= visible) return false;

  int right = xR_ - cutWidth;
  if (n == 0) {
    // Not even one character fits: one a line still gets every character printed.
    n = 1;
    right = std::max(right, std::min(x_ + width(text.substr(0, 1)), xR_));
  } else if (t->is(tcComment) || t->is(tcLiteral)) {
    // Words stay whole when the last blank of the line lies in its last third.
    std::size_t blank = n;
    while (blank > 0 && !isBlank(text[blank])) --blank;
    if (isBlank(text[blank]) && 3 * width(text.substr(0, blank)) >= 2 * room) {
      n = blank + 1;
      while (isBlank(text[n])) ++n;  // the blank run ends before `visible`
    }
  }
  Canvas& c = *canvas();
  c.setTextAlign(TextAlign::Left);
  c.textOutClipped(x_, y_, Rect{x_, y_, right, y_ + linePitch()}, text.substr(0, n));
  linkArea(std::min(width(text.substr(0, n)), right - x_));
  resumeAt_ += n;
  continueOnNextLine(t, cutWidth);
  return true;
}

void TMyPrintout::continueOnNextLine(TToken* t, int cutWidth) {
  Canvas& c = *canvas();
  c.setTextAlign(TextAlign::Left);
  c.textOut(xR_ - cutWidth, y_, kCutMarker);
  x_ = x0_;
  lineEnded_ = blankToken_ = false;
  resumed_ = t;
  if (y_ + linePitch() > yB_) {
    // No continuation line below the column: the token goes on in the next column.
    pendingContinuation_ = true;
    return;
  }
  y_ += linePitch();
  c.textOut(x0_, y_, kContinuationMarker);
  x_ += width(kContinuationMarker);
  continuation_ = true;
}

std::size_t TMyPrintout::headThatFits(std::string_view text, std::size_t len, int room) {
  if (width(text.substr(0, len)) <= room) return len;
  std::size_t lo = 0, hi = len;  // width(lo) fits, width(hi) does not
  while (hi - lo > 1) {
    std::size_t mid = lo + (hi - lo) / 2;
    (width(text.substr(0, mid)) > room ? hi : lo) = mid;
  }
  return room >= 0 && width(text.substr(0, lo)) <= room ? lo : 0;
}

void TMyPrintout::drawText(std::string_view text, std::size_t len, int cutWidth) {
  if (blankToken_) {
    blankToken_ = false;
    return;
  }
  // The longest head of the token that fits before the cut marker.
  const std::size_t n = headThatFits(text, len, xR_ - cutWidth - x_);
  // With wrapping, what is left over here are blanks, which lose nothing.
  if (n < len && !setup_.wrapLine) {
    drawCutMarker(cutWidth);
    continuation_ = false;
  }
  canvas()->setTextAlign(TextAlign::Left);
  // Past the cut marker a line shows nothing more; an inverted clip is no clip.
  if (x_ <= xR_ - cutWidth)
    canvas()->textOutClipped(x_, y_, Rect{x_, y_, xR_ - cutWidth, y_ + linePitch()},
                             text.substr(0, n));
  if (linkTarget_) linkArea(width(text.substr(0, n)));
}

void TMyPrintout::linkArea(int w) {
  if (!linkTarget_ || w <= 0) return;
  linkAreas_[pageNumber_].push_back(
      LinkArea{pageNumber_, Rect{x_, y_, x_ + w, y_ + linePitch()}, *linkTarget_});
}

void TMyPrintout::drawLineNumber(const TToken* t) {
  // Continuation lines start behind their marker, never at the text's edge.
  if (gutter_ == 0 || x_ != x0_ || lastNumberY_ == y_) return;
  // The line feed the lexer put before the text is no line of the file.
  const std::int32_t line = t->line - document_.lineShift;
  if (line < 1) return;
  lastNumberY_ = y_;
  selectFont(kLineNumberFontSlot);
  Canvas& c = *canvas();
  c.setTextColor(kLineNumberColor);
  c.setTextAlign(TextAlign::Right);
  c.textOut(x0_ - numberGap_, y_, std::to_string(line));
}

void TMyPrintout::drawCutMarker(int cutWidth) {
  // Later tokens of the same cut line would only repeat the same marker.
  if (lastCutY_ == y_) return;
  lastCutY_ = y_;
  Canvas& c = *canvas();
  c.shade(Rect{xR_ - cutWidth, y_, xR_, y_ + linePitch()});
  c.setTextAlign(TextAlign::Left);
  c.textOut(xR_ - cutWidth, y_, kCutMarker);
}

}  // namespace tarn
