#pragma once

#include <QFont>
#include <QRawFont>
#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/canvas.h"
#include "pdf/qt/qt_fonts.h"

class QPainter;
class QPaintDevice;

namespace tarn {

/// A Canvas over a QPainter: a printer, a PDF file, an image, or a preview
/// widget whose painter maps the printer's dots onto the screen. Text and
/// shading are held back until flush().
class QtCanvas : public Canvas {
 public:
  /// How text reaches the painter. Glyph runs skip Qt's text shaping and
  /// place every glyph at the advances textWidth() sums.
  enum class TextPath { GlyphRuns, DrawText };

  /// Draws with `painter` and measures fonts as `metricsDevice` sees them
  /// (null: the painter's own device). The painter must be active and
  /// outlive the canvas.
  explicit QtCanvas(QPainter* painter, QPaintDevice* metricsDevice = nullptr);
  ~QtCanvas() override;
  QtCanvas(const QtCanvas&) = delete;
  QtCanvas& operator=(const QtCanvas&) = delete;

  int dpiX() const override { return dpiX_; }
  int dpiY() const override { return dpiY_; }

  void setFont(int slot, const FontSpec& font) override;
  void selectFont(int slot) override;
  bool metrics(TextMetrics& out) override;
  int textWidth(std::string_view text) override;
  int textHeight(std::string_view text) override;

  void setTextColor(std::uint32_t color) override;
  void setTextAlign(TextAlign align) override { align_ = align; }
  void textOut(int x, int y, std::string_view text) override;
  void textOutClipped(int x, int y, const Rect& clip, std::string_view text) override;

  void selectPen(int width) override;
  void moveTo(int x, int y) override;
  void lineTo(int x, int y) override;
  void shade(const Rect& rect) override;

  /// Draws what is held back: texts in one face and colour that follow each
  /// other go out together, and a page's shading goes out at once, over its
  /// text (where dots and text share a colour, as the dots' AND would look).
  /// Call when the page ends or before the painter is used otherwise; the
  /// destructor calls it too.
  void flush();

  /// The Qt font a slot resolves to (the selected one for a slot out of range).
  QFont font(int slot);
  void setTextPath(TextPath path) { textPath_ = path; }
  TextPath textPath() const { return textPath_; }

 protected:
  int unicodeTextWidth(std::string_view utf8) override;
  void unicodeTextOut(int x, int y, std::string_view utf8) override;

 private:
  using Face = MeasuredFont;
  struct Slot {
    FontSpec request;
    std::shared_ptr<const Face> face;  ///< shared by slots of the same font; null until used
  };

  const Face& current();
  const Face& faceOf(Slot& slot);
  /// Draws bytes [first, last) of text with the cell's top-left at (x, y);
  /// x in 1/64 units.
  void drawText(long long x, int y, std::string_view text, std::size_t first, std::size_t last);
  /// The same for one character beyond the code page.
  void drawWide(long long x, int y, const WideChar& c);
  void flushText();
  void useTextPen(std::uint32_t color);
  void useLinePen();

  QPainter* painter_;
  QPaintDevice* device_;
  int dpiX_ = 0;
  int dpiY_ = 0;
  // Slot kFontSlots stands in until a font is selected.
  std::array<Slot, kFontSlots + 1> slots_;
  int selected_ = kFontSlots;
  const Face* painterFont_ = nullptr;  // the face whose font the painter holds
  std::uint32_t textColor_ = 0;
  TextAlign align_ = TextAlign::Left;
  int penWidth_ = kThinPen;
  enum class PainterPen { Unknown, Text, Line } painterPen_ = PainterPen::Unknown;
  std::uint32_t painterPenColor_ = 0;
  int painterPenWidth_ = 0;
  int penX_ = 0, penY_ = 0;
  // Each fill with a pattern costs a PDF object; one fill per colour and page
  // keeps files small.
  std::vector<std::pair<std::uint32_t, QRect>> pendingShades_;
  TextPath textPath_ = TextPath::GlyphRuns;
  // Glyphs of consecutive texts in one face and colour, drawn as one run.
  std::shared_ptr<const Face> pendingFace_;
  std::uint32_t pendingColor_ = 0;
  std::vector<quint32> pendingGlyphs_;
  std::vector<QPointF> pendingPositions_;
};

}  // namespace tarn
