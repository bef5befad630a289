#include "platform/qt/qt_canvas.h"

#include <QColor>
#include <QGlyphRun>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include <algorithm>

#include "platform/cp1252.h"

namespace tarn {
namespace {

// Advances are summed in 1/64 units, Qt's own text layout precision, so that
// widths and glyph places agree with what Qt would draw. Glyphs go to whole
// dots, which keeps a PDF's glyph positions short.
constexpr int kUnit = 64;
int roundUnits(long long v) { return static_cast<int>((v + kUnit / 2) >> 6); }

QColor toQColor(std::uint32_t c) {
  return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                static_cast<int>((c >> 16) & 0xFF));
}

}  // namespace

QtCanvas::QtCanvas(QPainter* painter, QPaintDevice* metricsDevice)
    : painter_(painter), device_(metricsDevice ? metricsDevice : painter->device()) {
  dpiX_ = device_->logicalDpiX();
  dpiY_ = device_->logicalDpiY();
  painter_->setBackgroundMode(Qt::TransparentMode);
  // The dots line up across neighbouring shaded cells only with one origin.
  painter_->setBrushOrigin(0, 0);
}

QtCanvas::~QtCanvas() { flush(); }

void QtCanvas::setFont(int slot, const FontSpec& font) {
  if (slot < 0 || slot >= kFontSlots) return;
  Slot& s = slots_[slot];
  if (s.face && sameFontSpec(s.request, font)) return;
  // A new face may come to live where this one did.
  if (s.face.get() == painterFont_) painterFont_ = nullptr;
  s.request = font;
  s.face.reset();
}

void QtCanvas::selectFont(int slot) {
  if (slot >= 0 && slot < kFontSlots) selected_ = slot;
}

const QtCanvas::Face& QtCanvas::faceOf(Slot& slot) {
  if (!slot.face) {
    for (const Slot& other : slots_)
      if (other.face && sameFontSpec(other.request, slot.request)) slot.face = other.face;
    if (!slot.face) slot.face = measureFont(slot.request, device_);
  }
  return *slot.face;
}

const QtCanvas::Face& QtCanvas::current() { return faceOf(slots_[selected_]); }

QFont QtCanvas::font(int slot) {
  if (slot < 0 || slot >= kFontSlots) return current().font;
  return faceOf(slots_[slot]).font;
}

bool QtCanvas::metrics(TextMetrics& out) {
  out = current().tm;
  return true;
}

int QtCanvas::textWidth(std::string_view text) {
  const auto& advance = current().advance;
  long long width = 0;
  for (char c : text) width += advance[static_cast<unsigned char>(c)];
  return roundUnits(width);
}

int QtCanvas::textHeight(std::string_view) { return current().tm.tmHeight; }

void QtCanvas::setTextColor(std::uint32_t color) { textColor_ = color & 0xFFFFFF; }

void QtCanvas::useTextPen(std::uint32_t color) {
  if (painterPen_ == PainterPen::Text && painterPenColor_ == color) return;
  painter_->setPen(toQColor(color));
  painterPen_ = PainterPen::Text;
  painterPenColor_ = color;
}

void QtCanvas::useLinePen() {
  if (painterPen_ == PainterPen::Line && painterPenWidth_ == penWidth_) return;
  painter_->setPen(QPen(Qt::black, penWidth_, Qt::SolidLine,
                        penWidth_ > 1 ? Qt::RoundCap : Qt::SquareCap, Qt::RoundJoin));
  painterPen_ = PainterPen::Line;
  painterPenWidth_ = penWidth_;
}

void QtCanvas::flush() {
  flushText();
  if (pendingShades_.empty()) return;
  // Qt's 12% pattern is the dot pattern bit for bit, tiled from the brush
  // origin. Unlike a bitmap texture, which Qt's PDF output turns into an
  // opaque image, it reaches PDF as a transparent pattern of the same density.
  static_assert(kDotPattern[0] == 0xEE && kDotPattern[2] == 0xBB);
  QBrush dots(Qt::black, Qt::Dense6Pattern);
  std::stable_sort(pendingShades_.begin(), pendingShades_.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (std::size_t i = 0; i < pendingShades_.size();) {
    const std::uint32_t color = pendingShades_[i].first;
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);  // overlapping cells stay shaded
    for (; i < pendingShades_.size() && pendingShades_[i].first == color; ++i)
      path.addRect(pendingShades_[i].second);
    dots.setColor(toQColor(color));
    painter_->fillPath(path, dots);
  }
  pendingShades_.clear();
}

void QtCanvas::flushText() {
  if (pendingGlyphs_.empty()) return;
  useTextPen(pendingColor_);
  QGlyphRun run;
  run.setRawFont(pendingFace_->raw);
  run.setRawData(pendingGlyphs_.data(), pendingPositions_.data(),
                 static_cast<int>(pendingGlyphs_.size()));
  // A run may span lines, so underline and strike-out are never held back.
  painter_->drawGlyphRun(QPointF(0, 0), run);
  pendingGlyphs_.clear();
  pendingPositions_.clear();
}

void QtCanvas::drawText(long long x, int y, std::string_view text, std::size_t first,
                        std::size_t last) {
  const Face& face = current();
  const std::shared_ptr<const Face>& facePtr = slots_[selected_].face;
  long long pos = x;
  for (std::size_t i = 0; i < first; ++i) pos += face.advance[static_cast<unsigned char>(text[i])];
  const qreal baseline = y + face.ascent;

  bool glyphRun = textPath_ == TextPath::GlyphRuns;
  for (std::size_t i = first; glyphRun && i < last; ++i)
    if (face.needsFallback[static_cast<unsigned char>(text[i])]) glyphRun = false;

  if (glyphRun && !face.request.underline && !face.request.strikeOut) {
    if (!pendingGlyphs_.empty() && (pendingFace_ != facePtr || pendingColor_ != textColor_))
      flushText();
    pendingFace_ = facePtr;
    pendingColor_ = textColor_;
    for (std::size_t i = first; i < last; ++i) {
      unsigned char b = static_cast<unsigned char>(text[i]);
      if (face.glyph[b] != 0) {
        pendingGlyphs_.push_back(face.glyph[b]);
        pendingPositions_.emplace_back(roundUnits(pos), baseline);
      }
      pos += face.advance[b];
    }
    return;
  }

  flushText();
  useTextPen(textColor_);
  if (glyphRun) {
    std::vector<quint32> glyphs;
    std::vector<QPointF> positions;
    for (std::size_t i = first; i < last; ++i) {
      unsigned char b = static_cast<unsigned char>(text[i]);
      if (face.glyph[b] != 0) {
        glyphs.push_back(face.glyph[b]);
        positions.emplace_back(roundUnits(pos), baseline);
      }
      pos += face.advance[b];
    }
    if (glyphs.empty()) return;
    // Qt starts the lines at the run's origin, not at its first glyph.
    const QPointF origin(positions.front().x(), 0);
    for (QPointF& p : positions) p -= origin;
    QGlyphRun run;
    run.setRawFont(face.raw);
    run.setRawData(glyphs.data(), positions.data(), static_cast<int>(glyphs.size()));
    run.setUnderline(face.request.underline);
    run.setStrikeOut(face.request.strikeOut);
    painter_->drawGlyphRun(origin, run);
    return;
  }
  if (painterFont_ != &face) {
    painter_->setFont(face.font);
    painterFont_ = &face;
  }
  painter_->drawText(QPointF(roundUnits(pos), baseline),
                     qStringFromCp1252(text.substr(first, last - first)));
}

void QtCanvas::drawWide(long long x, int y, const WideChar& c) {
  const Face& face = current();
  const qreal baseline = y + face.ascent;
  if (c.glyph != 0 && textPath_ == TextPath::GlyphRuns && !face.request.underline &&
      !face.request.strikeOut) {
    const std::shared_ptr<const Face>& facePtr = slots_[selected_].face;
    if (!pendingGlyphs_.empty() && (pendingFace_ != facePtr || pendingColor_ != textColor_))
      flushText();
    pendingFace_ = facePtr;
    pendingColor_ = textColor_;
    pendingGlyphs_.push_back(c.glyph);
    pendingPositions_.emplace_back(roundUnits(x), baseline);
    return;
  }
  // Qt's own layout finds another font for what the face lacks.
  flushText();
  useTextPen(textColor_);
  if (painterFont_ != &face) {
    painter_->setFont(face.font);
    painterFont_ = &face;
  }
  painter_->drawText(QPointF(roundUnits(x), baseline), c.text);
}

void QtCanvas::textOut(int x, int y, std::string_view text) {
  if (text.empty()) return;
  if (align_ != TextAlign::Left) {
    int width = textWidth(text);
    x -= align_ == TextAlign::Center ? width / 2 : width;
  }
  drawText(static_cast<long long>(x) * kUnit, y, text, 0, text.size());
}

int QtCanvas::unicodeTextWidth(std::string_view utf8) {
  const Face& face = current();
  long long width = 0;
  for (char32_t u : cp1252::codePoints(utf8)) {
    const int b = cp1252::fromUnicode(u);
    width += b >= 0 ? face.advance[static_cast<unsigned char>(b)]
                    : wideChar(face, device_, u).advance;
  }
  return roundUnits(width);
}

void QtCanvas::unicodeTextOut(int x, int y, std::string_view utf8) {
  if (align_ != TextAlign::Left) {
    const int width = unicodeTextWidth(utf8);
    x -= align_ == TextAlign::Center ? width / 2 : width;
  }
  const Face& face = current();
  long long pos = static_cast<long long>(x) * kUnit;
  // Characters of the code page go out in runs, as textOut() draws them.
  cp1252::splitRuns(
      utf8,
      [&](std::string_view run) {
        drawText(pos, y, run, 0, run.size());
        for (char c : run) pos += face.advance[static_cast<unsigned char>(c)];
      },
      [&](char32_t u) {
        const WideChar c = wideChar(face, device_, u);
        drawWide(pos, y, c);
        pos += c.advance;
      });
}

void QtCanvas::textOutClipped(int x, int y, const Rect& clip, std::string_view text) {
  if (text.empty()) return;
  if (clip.right <= clip.left || clip.bottom <= clip.top) return;
  const Face& face = current();
  if (y + face.tm.tmHeight <= clip.top || y >= clip.bottom) return;

  // Glyphs wholly outside the clip are left out, which keeps them out of the
  // PDF's text too; the clip itself is set only when some ink would cross it.
  const long long clipLeft = static_cast<long long>(clip.left) * kUnit;
  const long long clipRight = static_cast<long long>(clip.right) * kUnit;
  const InkSpan ink = inkSpan(text, static_cast<long long>(x) * kUnit, clipLeft, clipRight,
                              face.advance, face, kUnit);
  if (ink.empty()) return;

  bool inside = ink.left >= clipLeft && ink.right <= clipRight && y >= clip.top &&
                y + face.tm.tmHeight <= clip.bottom;
  if (inside) {
    drawText(static_cast<long long>(x) * kUnit, y, text, ink.first, ink.last);
    return;
  }
  flushText();
  painter_->save();
  painter_->setClipRect(QRect(clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top),
                        Qt::IntersectClip);
  drawText(static_cast<long long>(x) * kUnit, y, text, ink.first, ink.last);
  flushText();
  painter_->restore();
  // restore() brought back the pen and font of save() time.
  painterPen_ = PainterPen::Unknown;
  painterFont_ = nullptr;
}

void QtCanvas::selectPen(int width) { penWidth_ = std::clamp(width, 1, 1000); }

void QtCanvas::moveTo(int x, int y) {
  penX_ = x;
  penY_ = y;
}

void QtCanvas::lineTo(int x, int y) {
  flushText();
  useLinePen();
  painter_->drawLine(QPoint(penX_, penY_), QPoint(x, y));
  penX_ = x;
  penY_ = y;
}

void QtCanvas::shade(const Rect& rect) {
  if (rect.right <= rect.left || rect.bottom <= rect.top) return;
  pendingShades_.emplace_back(textColor_, QRect(rect.left, rect.top, rect.right - rect.left,
                                                rect.bottom - rect.top));
}

}  // namespace tarn
