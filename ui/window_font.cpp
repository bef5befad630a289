#include "ui/window_font.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>

#include <algorithm>
#include <cstdlib>

#include "pdf/qt/qt_fonts.h"

namespace tarn {

QFont windowFontOf(const FontData& data) {
  const LogFont lf = data.logFont;  // a copy: the record is packed
  if (lf.faceName[0] == '\0') return QApplication::font();
  QFont font(qStringFromCp1252(lf.faceName));
  if (lf.height != 0)
    font.setPixelSize(std::clamp(std::abs(static_cast<int>(lf.height)), 4, 200));
  else if (data.pointSize > 0)
    font.setPointSizeF(std::clamp(data.pointSize / 10.0, 4.0, 100.0));
  if (lf.weight > 0) font.setWeight(static_cast<QFont::Weight>(std::clamp<int>(lf.weight, 100, 900)));
  font.setItalic(lf.italic != 0);
  return font;
}

TextMetrics textMetricsOf(const QFont& font) {
  QFontMetrics fm(font);
  TextMetrics tm;
  tm.tmHeight = fm.ascent() + fm.descent();
  tm.tmInternalLeading = std::max(0, tm.tmHeight - QFontInfo(font).pixelSize());
  tm.tmExternalLeading = std::max(0, fm.leading());
  tm.tmAveCharWidth = fm.averageCharWidth();
  tm.tmMaxCharWidth = fm.maxWidth();
  return tm;
}

std::string cp1252FromQString(const QString& text, char missing) {
  const auto& table = cp1252Chars();
  std::string out;
  out.reserve(static_cast<std::size_t>(text.size()));
  for (QChar c : text) {
    char byte = missing;
    if (c.unicode() < 0x80) {
      byte = static_cast<char>(c.unicode());
    } else {
      for (int b = 0x80; b < 256; ++b)
        if (table[static_cast<std::size_t>(b)] == c) {
          byte = static_cast<char>(b);
          break;
        }
    }
    out += byte;
  }
  return out;
}

}  // namespace tarn
