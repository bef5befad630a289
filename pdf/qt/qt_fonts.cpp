#include "pdf/qt/qt_fonts.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QString>

#include <algorithm>
#include <cmath>

#include "platform/cp1252.h"

namespace tarn {
namespace {

// Bounds for sizes from a damaged configuration: 10,000 dots are 16 inches at 600 dpi.
constexpr long long kMaxPixelSize = 10000;

int cellHeight(const QFont& base, int pixelSize, QPaintDevice* device) {
  QFont f(base);
  f.setPixelSize(pixelSize);
  QFontMetrics m(f, device);
  return m.ascent() + m.descent();
}

// The pixel size whose cell (ascent + descent) is the largest not above `cell`,
// as a positive font height asks; 1 when even that is too tall.
int pixelSizeForCell(const QFont& base, int cell, QPaintDevice* device) {
  int px = cell;
  int measured = cellHeight(base, px, device);
  if (measured > 0)
    px = static_cast<int>(std::clamp<long long>(std::llround(double(cell) * px / measured), 1,
                                                kMaxPixelSize));
  // The estimate is off by a step or two at most; the bounds keep odd fonts finite.
  for (int i = 0; i < 16 && px > 1 && cellHeight(base, px, device) > cell; ++i) --px;
  for (int i = 0; i < 16 && px < kMaxPixelSize && cellHeight(base, px + 1, device) <= cell; ++i)
    ++px;
  return px;
}

}  // namespace

const std::array<QChar, 256>& cp1252Chars() {
  static const std::array<QChar, 256> table = [] {
    std::array<QChar, 256> t{};
    for (int b = 0; b < 256; ++b)
      t[b] = QChar(static_cast<char16_t>(cp1252::toUnicode(static_cast<unsigned char>(b))));
    return t;
  }();
  return table;
}

QString qStringFromCp1252(std::string_view text) {
  const auto& table = cp1252Chars();
  QString out(static_cast<qsizetype>(text.size()), Qt::Uninitialized);
  QChar* p = out.data();
  for (char c : text) *p++ = table[static_cast<unsigned char>(c)];
  return out;
}

bool sameFontSpec(const FontSpec& a, const FontSpec& b) {
  return a.faceName == b.faceName && a.height == b.height && a.weight == b.weight &&
         a.italic == b.italic && a.underline == b.underline && a.strikeOut == b.strikeOut;
}

QFont defaultListingFont() {
  QFont f;
  f.setFamily(QStringLiteral("Courier New"));
  f.setStyleHint(QFont::TypeWriter);
  f.setFixedPitch(true);
  return f;
}

std::shared_ptr<const MeasuredFont> measureFont(const FontSpec& want, QPaintDevice* device) {
  auto face = std::make_shared<MeasuredFont>();
  face->request = want;
  QFont f = want.faceName.empty() ? defaultListingFont() : QFont();
  if (!want.faceName.empty()) f.setFamily(qStringFromCp1252(want.faceName));
  f.setWeight(want.weight >= 700 ? QFont::Bold : QFont::Normal);
  f.setItalic(want.italic);
  f.setUnderline(want.underline);
  f.setStrikeOut(want.strikeOut);
  // Widths are sums of single advances, so the text drawn must not kern.
  f.setKerning(false);

  long long px;
  if (want.height < 0) {
    px = -static_cast<long long>(want.height);
  } else if (want.height == 0) {
    px = (12LL * device->logicalDpiY() + 36) / 72;
  } else {
    px = pixelSizeForCell(f, static_cast<int>(std::min<long long>(want.height, kMaxPixelSize)),
                          device);
  }
  px = std::clamp<long long>(px, 1, kMaxPixelSize);
  f.setPixelSize(static_cast<int>(px));
  face->font = QFont(f, device);

  QFontMetrics m(face->font, device);
  QFontMetricsF exact(face->font, device);
  face->ascent = m.ascent();
  face->underlinePos = m.underlinePos();
  face->strikeOutPos = m.strikeOutPos();
  face->lineWidth = std::max(1, m.lineWidth());
  TextMetrics& tm = face->tm;
  tm.tmHeight = m.ascent() + m.descent();
  tm.tmInternalLeading = tm.tmHeight - static_cast<int>(px);
  tm.tmExternalLeading = std::max(0, m.leading());
  tm.tmAveCharWidth = m.averageCharWidth();
  tm.tmMaxCharWidth = m.maxWidth();

  face->raw = QRawFont::fromFont(face->font);
  const auto& table = cp1252Chars();
  for (int b = 0; b < 256; ++b) {
    QChar c = table[b];
    face->advance[b] = static_cast<int>(std::lround(exact.horizontalAdvance(c) * 64));
    face->inkLeft[b] = std::max(0, -m.leftBearing(c));
    face->inkRight[b] = std::max(0, -m.rightBearing(c));
    quint32 glyph = 0;
    int count = 1;
    if (face->raw.isValid() && !face->raw.glyphIndexesForChars(&c, 1, &glyph, &count)) glyph = 0;
    face->glyph[b] = glyph;
    // Qt's own font fallback finds what the face lacks; control codes stay blank.
    face->needsFallback[b] = glyph == 0 && c.isPrint() && c != QLatin1Char(' ');
  }
  return face;
}

WideChar wideChar(const MeasuredFont& font, QPaintDevice* device, char32_t code) {
  WideChar w;
  w.text = QString::fromUcs4(&code, 1);
  w.advance = static_cast<int>(
      std::lround(QFontMetricsF(font.font, device).horizontalAdvance(w.text) * 64));
  quint32 glyphs[2] = {0, 0};
  int count = 2;
  if (font.raw.isValid() &&
      font.raw.glyphIndexesForChars(w.text.constData(), static_cast<int>(w.text.size()), glyphs,
                                    &count) &&
      count == 1)
    w.glyph = glyphs[0];
  return w;
}

InkSpan inkSpan(std::string_view text, long long x, long long clipLeft, long long clipRight,
                const std::array<int, 256>& advance, const MeasuredFont& font, long long unit) {
  InkSpan span;
  long long pos = x;
  bool any = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    const long long left = pos - font.inkLeft[b] * unit;
    const long long right = pos + advance[b] + font.inkRight[b] * unit;
    if (left < clipRight && right > clipLeft) {
      if (!any) {
        span.first = i;
        span.start = pos;
        span.left = left;
        span.right = right;
        any = true;
      }
      span.left = std::min(span.left, left);
      span.right = std::max(span.right, right);
      span.last = i + 1;
    }
    pos += advance[b];
  }
  return span;
}

}  // namespace tarn
