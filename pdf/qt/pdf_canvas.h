#pragma once

#include <QImage>

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "platform/canvas.h"
#include "pdf/qt/pdf_font.h"
#include "pdf/qt/qt_fonts.h"

namespace tarn {

/// A Canvas that writes PDF page content in device units. Fonts and metrics
/// are Qt's for a device of the canvas's resolution, as QtCanvas measures
/// them, with whole-unit advances per byte.
class PdfCanvas : public Canvas {
 public:
  explicit PdfCanvas(PdfFonts& fonts, int dpi = 600);
  ~PdfCanvas() override;
  PdfCanvas(const PdfCanvas&) = delete;
  PdfCanvas& operator=(const PdfCanvas&) = delete;

  int dpiX() const override { return dpi_; }
  int dpiY() const override { return dpi_; }

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

  /// Colours become shades of grey.
  void setGrayscale(bool gray) { gray_ = gray; }
  /// Whether a page has shaded with the dot pattern (/P1 in /Cs1 or /Cs2).
  bool usedPattern() const { return usedPattern_; }
  /// The content drawn since the last call; the next page starts afresh.
  std::string takePage();

  /// The Qt font of a slot (the selected one for a slot out of range).
  QFont font(int slot);

 protected:
  int unicodeTextWidth(std::string_view utf8) override;
  void unicodeTextOut(int x, int y, std::string_view utf8) override;

 private:
  /// A character beyond the code page: its advance and where it is drawn.
  struct Wide {
    int advance = 0;
    PdfFonts::WideCode code;
  };
  struct Face {
    std::shared_ptr<const MeasuredFont> measured;
    std::array<int, 256> advance{};  // whole device units
    std::array<bool, 256> drawn{};   // has a character to draw, not a control code
    PdfFonts::Font* font = nullptr;  // made when it first draws
    std::map<char32_t, Wide> wide;   // characters beyond the code page, as first measured
  };
  struct Slot {
    FontSpec request;
    std::shared_ptr<Face> face;
  };
  enum class Mode { None, Text, Lines, Shades };
  /// What the content has set, as far as later operators depend on it.
  struct State {
    const PdfFonts::Font* font = nullptr;
    std::string fill;  // the operands and operator last written
    std::string stroke;
    double lineWidth = -1;
    int cap = -1;
    int renderMode = 0;
  };

  Face& current();
  Face& faceOf(Slot& slot);
  void enter(Mode mode);
  void closeRun();
  PdfFonts::Font& fontOf(Face& face);
  const Wide& wideOf(Face& face, char32_t code);
  /// Bytes of the code page in the selected face.
  void drawRun(long long x, long long y, std::string_view text);
  /// Selects `font` and moves to (x, baseline); returns the run's position.
  /// `space`: the advance of a blank in `font` (0: it has none).
  long long beginText(PdfFonts::Font& font, long long x, long long baseline, int space);
  void gap(long long units);
  void putCode(unsigned char code, int advance);
  /// Underline and strike-out from `start` to the run's end.
  void endText(const MeasuredFont& m, long long start, long long baseline);
  void setFill(const std::string& op);
  void setStroke(const std::string& op);
  const std::string& colorOperands(std::uint32_t color);

  PdfFonts& fonts_;
  int dpi_;
  QImage device_;  // what fonts are measured for
  std::array<Slot, kFontSlots + 1> slots_;  // the last stands in until a font is selected
  int selected_ = kFontSlots;
  std::uint32_t textColor_ = 0;
  TextAlign align_ = TextAlign::Left;
  int penWidth_ = kThinPen;
  int penX_ = 0, penY_ = 0;
  bool gray_ = false;
  bool usedPattern_ = false;
  std::uint32_t colorOf_ = 0;  // the colour colorOps_ holds
  bool colorGray_ = false;
  std::string colorOps_;

  std::string out_;
  Mode mode_ = Mode::None;
  State state_;
  // The text object: where its line starts, and the run of text being built.
  bool haveLine_ = false;
  bool lineSlanted_ = false;
  long long lineX_ = 0, lineY_ = 0;
  bool runOpen_ = false;
  long long runX_ = 0, runY_ = 0;  // where the next byte of the run would go
  std::string run_;
  bool runString_ = false;  // the run ends inside a string
  bool runArray_ = false;   // the run has a numeric adjustment
  // The path being built: the pen's place after its last segment.
  int pathX_ = 0, pathY_ = 0;
  bool pathOpen_ = false;
  std::uint32_t shadeColor_ = 0;
};

}  // namespace tarn
