#pragma once

#include <QChar>
#include <QFont>
#include <QRawFont>
#include <QString>

#include <array>
#include <memory>
#include <string_view>

#include "platform/canvas.h"

class QPaintDevice;

namespace tarn {

/// The Unicode character of every Windows-1252 byte.
const std::array<QChar, 256>& cp1252Chars();

/// Windows-1252 text as a QString (0x80-0x9F by the code page, not Latin-1).
QString qStringFromCp1252(std::string_view text);

/// Whether two specs ask for the same font.
bool sameFontSpec(const FontSpec& a, const FontSpec& b);

/// A font as a canvas on one device measures and draws it.
struct MeasuredFont {
  FontSpec request;
  QFont font;
  QRawFont raw;
  TextMetrics tm;
  int ascent = 0;
  int underlinePos = 0;  ///< below the baseline
  int strikeOutPos = 0;  ///< above the baseline
  int lineWidth = 1;     ///< of underline and strike-out
  std::array<int, 256> advance{};   ///< in 1/64 device units, as Qt lays text out
  std::array<int, 256> inkLeft{};   ///< how far a glyph's ink reaches left of its cell
  std::array<int, 256> inkRight{};  ///< and right of it
  std::array<quint32, 256> glyph{};
  std::array<bool, 256> needsFallback{};  ///< the face lacks a printable character
};

/// A character the code page lacks, as `font` measures it on `device`: its
/// advance in 1/64 device units (another font's where Qt falls back to one)
/// and its glyph in font.raw (0 when the face lacks it).
struct WideChar {
  QString text;
  int advance = 0;
  quint32 glyph = 0;
};
WideChar wideChar(const MeasuredFont& font, QPaintDevice* device, char32_t code);

/// The characters of a text whose ink reaches into the columns
/// [clipLeft, clipRight) when drawn from pen position x: [first, last), the
/// pen position of the first, and the ink's left and right extent. Positions
/// are in the units of `advance`; the font's ink extents (device units) are
/// multiplied by `unit`. Empty (first == last) when nothing shows.
struct InkSpan {
  std::size_t first = 0, last = 0;
  long long start = 0, left = 0, right = 0;
  bool empty() const { return first == last; }
};
InkSpan inkSpan(std::string_view text, long long x, long long clipLeft, long long clipRight,
                const std::array<int, 256>& advance, const MeasuredFont& font, long long unit);

/// What an empty face asks for: named so that fontconfig substitutes its
/// metric-compatible fixed-pitch face.
QFont defaultListingFont();

/// The font `request` asks for on `device`: an empty face is the system's
/// fixed-pitch font, a negative height a pixel size, a positive one the
/// largest cell not above it, 0 twelve points; sizes are bounded.
std::shared_ptr<const MeasuredFont> measureFont(const FontSpec& request,
                                                 QPaintDevice* device);

}  // namespace tarn
