#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/cp1252.h"

namespace tarn {

/// A rectangle in device units; right and bottom are exclusive edges.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

/// The metrics of a font that the layout reads, in device units.
struct TextMetrics {
  int tmHeight = 0;
  int tmExternalLeading = 0;
  int tmInternalLeading = 0;
  int tmAveCharWidth = 0;
  int tmMaxCharWidth = 0;
};

/// A font as the layout describes it.
struct FontSpec {
  std::string faceName;  ///< Windows-1252; empty: the system's fixed-pitch font
  int height = 0;        ///< negative: character height; positive: cell height; 0: default
  int weight = 0;        ///< 700 and above is bold
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
};

enum class TextAlign { Left, Center, Right };  ///< always with the top at y

/// Fonts are kept in slots 0-10 (one per style class), 11 (the header font)
/// and 12 (line numbers).
inline constexpr int kFontSlots = 13;
inline constexpr int kHeaderFontSlot = 11;
inline constexpr int kLineNumberFontSlot = 12;

/// Pen widths of the listing.
inline constexpr int kThinPen = 1;
inline constexpr int kThickPen = 4;

/// A drawing surface in device units: printer dots, or the preview's logical
/// units mapped onto them. Text is Windows-1252, but for file names, which are
/// UTF-8; the surface converts both for drawing. The background is never
/// painted behind text.
class Canvas {
 public:
  virtual ~Canvas() = default;

  /// Dots per inch of the device.
  virtual int dpiX() const = 0;
  virtual int dpiY() const = 0;

  /// Makes (or replaces) the font of a slot; selecting it is separate.
  virtual void setFont(int slot, const FontSpec& font) = 0;
  virtual void selectFont(int slot) = 0;
  /// Metrics of the selected font; false when they cannot be had.
  virtual bool metrics(TextMetrics& out) = 0;
  /// Extent of text in the selected font.
  virtual int textWidth(std::string_view text) = 0;
  virtual int textHeight(std::string_view text) = 0;

  /// Colour of text and of shading dots, 0x00BBGGRR.
  virtual void setTextColor(std::uint32_t color) = 0;
  virtual void setTextAlign(TextAlign align) = 0;
  /// Draws text with its top at y, aligned at x.
  virtual void textOut(int x, int y, std::string_view text) = 0;
  /// Draws text left-aligned at (x, y), cut off outside `clip`.
  virtual void textOutClipped(int x, int y, const Rect& clip, std::string_view text) = 0;

  /// textWidth() and textOut() of UTF-8 text. What the code page holds goes
  /// the code page's way, and so does text that is not valid UTF-8 (a name
  /// from another system, taken as Windows-1252).
  int textWidthUtf8(std::string_view text) {
    if (!cp1252::isUtf8(text)) return textWidth(text);
    if (auto bytes = cp1252::fromUtf8Exactly(text)) return textWidth(*bytes);
    return unicodeTextWidth(text);
  }
  void textOutUtf8(int x, int y, std::string_view text) {
    if (!cp1252::isUtf8(text)) return textOut(x, y, text);
    if (auto bytes = cp1252::fromUtf8Exactly(text)) return textOut(x, y, *bytes);
    unicodeTextOut(x, y, text);
  }

  virtual void selectPen(int width) = 0;
  virtual void moveTo(int x, int y) = 0;
  virtual void lineTo(int x, int y) = 0;

  /// Darkens the rectangle with the dot pattern (rows 0xEE 0xFF 0xBB 0xFF,
  /// repeated; 0 bits are dots) in the text colour; what is drawn stays.
  virtual void shade(const Rect& rect) = 0;

 protected:
  /// Valid UTF-8 with characters the code page lacks; surfaces that draw only
  /// the code page show "?" for them.
  virtual int unicodeTextWidth(std::string_view utf8) { return textWidth(cp1252::fromUtf8(utf8)); }
  virtual void unicodeTextOut(int x, int y, std::string_view utf8) {
    textOut(x, y, cp1252::fromUtf8(utf8));
  }
};

/// The rows of the 8 x 8 shading pattern, top to bottom; a 0 bit is a dot.
inline constexpr std::uint8_t kDotPattern[8] = {0xEE, 0xFF, 0xBB, 0xFF, 0xEE, 0xFF, 0xBB, 0xFF};

}  // namespace tarn
