#include "pdf/qt/pdf_canvas.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>

#include "pdf/pdf_file.h"

namespace tarn {
namespace {

// How far synthetic italics lean: about 12 degrees.
constexpr const char* kSlant = ".21";
// Synthetic bold widens strokes by a 24th of the em, as FreeType's emboldening does.
constexpr double kEmboldenPerEm = 1.0 / 24;
// Longer gaps are not worth writing as blanks.
constexpr int kMostBlanks = 64;

void appendInts(std::string& out, std::initializer_list<long long> values) {
  for (long long v : values) {
    appendPdfNumber(out, v);
    out += ' ';
  }
}

}  // namespace

PdfCanvas::PdfCanvas(PdfFonts& fonts, int dpi)
    : fonts_(fonts), dpi_(std::clamp(dpi, 1, 10000)), device_(1, 1, QImage::Format_RGB32) {
  const int dotsPerMeter = static_cast<int>(std::lround(dpi_ / 0.0254));
  device_.setDotsPerMeterX(dotsPerMeter);
  device_.setDotsPerMeterY(dotsPerMeter);
}

PdfCanvas::~PdfCanvas() = default;

void PdfCanvas::setFont(int slot, const FontSpec& font) {
  if (slot < 0 || slot >= kFontSlots) return;
  Slot& s = slots_[static_cast<std::size_t>(slot)];
  if (s.face && sameFontSpec(s.request, font)) return;
  s.request = font;
  s.face.reset();
}

void PdfCanvas::selectFont(int slot) {
  if (slot >= 0 && slot < kFontSlots) selected_ = slot;
}

PdfCanvas::Face& PdfCanvas::faceOf(Slot& slot) {
  if (!slot.face) {
    for (const Slot& other : slots_)
      if (other.face && sameFontSpec(other.request, slot.request)) slot.face = other.face;
  }
  if (!slot.face) {
    auto face = std::make_shared<Face>();
    face->measured = measureFont(slot.request, &device_);
    // Whole units per byte: widths add up exactly, here and in the PDF.
    for (std::size_t b = 0; b < 256; ++b) {
      face->advance[b] = (face->measured->advance[b] + 32) >> 6;
      const char16_t u = cp1252Chars()[b].unicode();
      face->drawn[b] = u >= 0x20 && (u < 0x7F || u >= 0xA0);
    }
    slot.face = std::move(face);
  }
  return *slot.face;
}

PdfCanvas::Face& PdfCanvas::current() {
  return faceOf(slots_[static_cast<std::size_t>(selected_)]);
}

QFont PdfCanvas::font(int slot) {
  if (slot < 0 || slot >= kFontSlots) return current().measured->font;
  return faceOf(slots_[static_cast<std::size_t>(slot)]).measured->font;
}

bool PdfCanvas::metrics(TextMetrics& out) {
  out = current().measured->tm;
  return true;
}

int PdfCanvas::textWidth(std::string_view text) {
  const auto& advance = current().advance;
  long long width = 0;
  for (char c : text) width += advance[static_cast<unsigned char>(c)];
  return static_cast<int>(std::clamp<long long>(width, INT32_MIN, INT32_MAX));
}

int PdfCanvas::textHeight(std::string_view) { return current().measured->tm.tmHeight; }

void PdfCanvas::setTextColor(std::uint32_t color) { textColor_ = color & 0xFFFFFF; }

const std::string& PdfCanvas::colorOperands(std::uint32_t c) {
  if (c == colorOf_ && gray_ == colorGray_ && !colorOps_.empty()) return colorOps_;
  colorOf_ = c;
  colorGray_ = gray_;
  std::string& s = colorOps_;
  s.clear();
  const int r = static_cast<int>(c & 0xFF), g = static_cast<int>((c >> 8) & 0xFF),
            b = static_cast<int>((c >> 16) & 0xFF);
  if (gray_) {
    appendPdfNumber(s, (299 * r + 587 * g + 114 * b) / 255000.0, 3);
    return s;
  }
  for (int v : {r, g, b}) {
    appendPdfNumber(s, v / 255.0, 3);
    s += ' ';
  }
  s.pop_back();
  return s;
}

void PdfCanvas::setFill(const std::string& op) {
  if (state_.fill == op) return;
  closeRun();
  out_ += op;
  out_ += '\n';
  state_.fill = op;
}

void PdfCanvas::setStroke(const std::string& op) {
  if (state_.stroke == op) return;
  closeRun();
  out_ += op;
  out_ += '\n';
  state_.stroke = op;
}

void PdfCanvas::enter(Mode mode) {
  if (mode_ == mode) return;
  switch (mode_) {
    case Mode::Text:
      closeRun();
      out_ += "ET\n";
      haveLine_ = false;
      break;
    case Mode::Lines:
      if (pathOpen_) out_ += "S\n";
      pathOpen_ = false;
      break;
    case Mode::Shades: out_ += "f\n"; break;
    case Mode::None: break;
  }
  mode_ = mode;
  if (mode == Mode::Text) out_ += "BT\n";
}

void PdfCanvas::closeRun() {
  if (run_.empty()) return;
  if (runString_) run_ += ')';
  if (runArray_) {
    out_ += '[';
    out_ += run_;
    out_ += "]TJ\n";
  } else {
    out_ += run_;
    out_ += "Tj\n";
  }
  run_.clear();
  runString_ = runArray_ = false;
}

long long PdfCanvas::beginText(PdfFonts::Font& font, long long x, long long baseline,
                               int space) {
  enter(Mode::Text);
  if (state_.font != &font) {
    closeRun();
    out_ += "/F";
    appendPdfNumber(out_, font.id);
    out_ += ' ';
    appendPdfNumber(out_, font.size);
    out_ += " Tf\n";
    state_.font = &font;
  }
  const std::string& color = colorOperands(textColor_);
  setFill(color + (gray_ ? " g" : " rg"));
  const int renderMode = font.emboldened ? 2 : 0;
  if (font.emboldened) {
    setStroke(color + (gray_ ? " G" : " RG"));
    const double width = font.size * kEmboldenPerEm;
    if (state_.lineWidth != width) {
      closeRun();
      appendPdfNumber(out_, width, 2);
      out_ += " w\n";
      state_.lineWidth = width;
    }
  }
  if (state_.renderMode != renderMode) {
    closeRun();
    out_ += renderMode ? "2 Tr\n" : "0 Tr\n";
    state_.renderMode = renderMode;
  }

  // A text on the baseline of the last one, to the right of it, goes on in
  // the same run; one to the left starts a line, which keeps reading order.
  if (haveLine_ && runY_ == baseline && lineSlanted_ == font.slanted && x >= runX_) {
    const long long d = x - runX_;
    if (d > 0 && space > 0 && d % space == 0 && d / space <= kMostBlanks) {
      if (!runString_) run_ += '(';
      runString_ = true;
      run_.append(static_cast<std::size_t>(d / space), ' ');
      font.used[' '] = true;
      runX_ = x;
    } else {
      gap(d);
    }
  } else {
    closeRun();
    if (haveLine_ && !lineSlanted_ && !font.slanted) {
      appendInts(out_, {x - lineX_, lineY_ - baseline});
      out_ += "Td\n";
    } else {
      out_ += font.slanted ? "1 0 " : "1 0 0 ";
      if (font.slanted) out_ += std::string(kSlant) + ' ';
      out_ += "-1 ";
      appendInts(out_, {x, baseline});
      out_ += "Tm\n";
    }
    haveLine_ = true;
    lineSlanted_ = font.slanted;
    lineX_ = runX_ = x;
    lineY_ = runY_ = baseline;
  }
  return runX_;
}

void PdfCanvas::gap(long long units) {
  if (units == 0) return;
  if (runString_) run_ += ')';
  else if (!run_.empty()) run_ += ' ';
  runString_ = false;
  appendPdfNumber(run_, -units * 1000.0 / state_.font->size, 3);
  runArray_ = true;
  runX_ += units;
}

void PdfCanvas::putCode(unsigned char code, int advance) {
  if (!runString_) run_ += '(';
  runString_ = true;
  if (code == '(' || code == ')' || code == '\\') run_ += '\\';
  if (code < 0x20) {  // line ends in a string would read as LF
    char octal[8];
    std::snprintf(octal, sizeof octal, "\\%03o", code);
    run_ += octal;
  } else {
    run_ += static_cast<char>(code);
  }
  runX_ += advance;
}

void PdfCanvas::endText(const MeasuredFont& m, long long start, long long baseline) {
  if (!m.request.underline && !m.request.strikeOut) return;
  enter(Mode::None);
  for (long long top : {m.request.underline ? baseline + m.underlinePos : LLONG_MIN,
                        m.request.strikeOut ? baseline - m.strikeOutPos : LLONG_MIN}) {
    if (top == LLONG_MIN || runX_ <= start) continue;
    appendInts(out_, {start, top, runX_ - start, m.lineWidth});
    out_ += "re f\n";
  }
}

void PdfCanvas::drawRun(long long x, long long y, std::string_view text) {
  Face& face = current();
  const MeasuredFont& m = *face.measured;
  PdfFonts::Font& font = fontOf(face);
  const long long baseline = y + m.ascent;
  const long long start = beginText(font, x, baseline, face.advance[' ']);
  for (char c : text) {
    const auto b = static_cast<unsigned char>(c);
    // Control codes and the code page's unassigned bytes draw nothing (a
    // reader would show a bullet for the latter).
    if (!face.drawn[b]) {
      gap(face.advance[b]);
      continue;
    }
    putCode(b, face.advance[b]);
    font.used[b] = true;
  }
  endText(m, start, baseline);
}

PdfFonts::Font& PdfCanvas::fontOf(Face& face) {
  if (!face.font) face.font = &fonts_.fontFor(*face.measured, face.advance);
  return *face.font;
}

void PdfCanvas::textOut(int x, int y, std::string_view text) {
  if (text.empty()) return;
  long long left = x;
  if (align_ != TextAlign::Left) {
    const int width = textWidth(text);
    left -= align_ == TextAlign::Center ? width / 2 : width;
  }
  drawRun(left, y, text);
}

void PdfCanvas::textOutClipped(int x, int y, const Rect& clip, std::string_view text) {
  if (text.empty() || clip.right <= clip.left || clip.bottom <= clip.top) return;
  const Face& face = current();
  const MeasuredFont& m = *face.measured;
  const long long bottom = static_cast<long long>(y) + m.tm.tmHeight;
  if (bottom <= clip.top || y >= clip.bottom) return;

  // Characters wholly outside are left out, which keeps them out of the
  // PDF's text too; the clip itself is set only when some ink crosses it.
  const InkSpan ink = inkSpan(text, x, clip.left, clip.right, face.advance, m, 1);
  if (ink.empty()) return;
  const std::string_view shown = text.substr(ink.first, ink.last - ink.first);
  if (ink.left >= clip.left && ink.right <= clip.right && y >= clip.top && bottom <= clip.bottom) {
    drawRun(ink.start, y, shown);
    return;
  }
  enter(Mode::None);
  out_ += "q ";
  appendInts(out_, {clip.left, clip.top, static_cast<long long>(clip.right) - clip.left,
                    static_cast<long long>(clip.bottom) - clip.top});
  out_ += "re W n\n";
  const State saved = state_;
  drawRun(ink.start, y, shown);
  enter(Mode::None);
  out_ += "Q\n";
  state_ = saved;
}

void PdfCanvas::selectPen(int width) { penWidth_ = std::clamp(width, 1, 1000); }

void PdfCanvas::moveTo(int x, int y) {
  penX_ = x;
  penY_ = y;
}

void PdfCanvas::lineTo(int x, int y) {
  // Thin lines end square, thick ones round, as QtCanvas draws them.
  const int cap = penWidth_ > 1 ? 1 : 2;
  if (mode_ == Mode::Lines && (state_.lineWidth != penWidth_ || state_.cap != cap))
    enter(Mode::None);
  if (mode_ != Mode::Lines) {
    enter(Mode::None);
    setStroke(gray_ ? "0 G" : "0 0 0 RG");
    if (state_.lineWidth != penWidth_) {
      appendInts(out_, {penWidth_});
      out_ += "w\n";
      state_.lineWidth = penWidth_;
    }
    if (state_.cap != cap) {
      appendInts(out_, {cap});
      out_ += "J\n";
      state_.cap = cap;
    }
    mode_ = Mode::Lines;
  }
  if (!pathOpen_ || pathX_ != penX_ || pathY_ != penY_) {
    appendInts(out_, {penX_, penY_});
    out_ += "m ";
  }
  appendInts(out_, {x, y});
  out_ += "l\n";
  pathOpen_ = true;
  pathX_ = penX_ = x;
  pathY_ = penY_ = y;
}

void PdfCanvas::shade(const Rect& r) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  if (mode_ == Mode::Shades && shadeColor_ != textColor_) enter(Mode::None);
  if (mode_ != Mode::Shades) {
    enter(Mode::None);
    setFill((gray_ ? "/Cs2 cs " : "/Cs1 cs ") + colorOperands(textColor_) + " /P1 scn");
    mode_ = Mode::Shades;
    shadeColor_ = textColor_;
    usedPattern_ = true;
  }
  appendInts(out_, {r.left, r.top, static_cast<long long>(r.right) - r.left,
                    static_cast<long long>(r.bottom) - r.top});
  out_ += "re\n";
}

std::string PdfCanvas::takePage() {
  enter(Mode::None);
  std::string page = std::move(out_);
  out_.clear();
  state_ = State{};
  return page;
}

}  // namespace tarn
