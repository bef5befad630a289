#pragma once

#include <QRawFont>
#include <QRectF>

#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "pdf/qt/qt_fonts.h"

namespace tarn {

class PdfFile;

/// The fonts of one document. A font file is embedded once: TrueType ones
/// holding only the glyphs drawn, OpenType (CFF) and Type 1 ones whole; each
/// size drawn gets a font with its own widths, so that PDF positions are the
/// canvas's advances. Fonts that cannot be embedded so (CID-keyed, no file
/// found, damaged) become Type 3 fonts of their glyph outlines, and so do the
/// characters beyond the code page (file names), 256 to a font.
class PdfFonts {
 public:
  /// One font resource (/F<id>).
  struct Font {
    int id = 0;
    int size = 1;             ///< the Tf size: the pixel size in device units
    bool emboldened = false;  ///< bold asked of a file that is not bold
    bool slanted = false;     ///< italic asked of an upright file
    std::array<bool, 256> used{};  ///< bytes drawn, set by the canvas
  };

  PdfFonts();
  ~PdfFonts();
  PdfFonts(const PdfFonts&) = delete;
  PdfFonts& operator=(const PdfFonts&) = delete;

  /// The font of `face` whose bytes advance by `advance` device units;
  /// made on first use, stable while this object lives.
  Font& fontFor(const MeasuredFont& face, const std::array<int, 256>& advance);

  /// Where a character the code page lacks is drawn: a code of a Type 3 font.
  struct WideCode {
    Font* font = nullptr;
    unsigned char code = 0;
  };
  /// `code` as Qt draws it in `face` (from a fallback font where the face
  /// lacks it), advancing `advance` device units, in the size and synthetic
  /// styles of `look` (the face's own font); given out on first use.
  WideCode wideCode(const MeasuredFont& face, char32_t code, int advance, const Font& look);

  /// Writes every font and returns the entries of the /Font resource dictionary.
  std::string write(PdfFile& file);

  /// Embedded programs hold every character of the code page the face has,
  /// not only those drawn: the parts of a book then share them.
  void setWholeCodePage(bool on) { wholeCodePage_ = on; }

 private:
  struct Program;
  struct Entry;
  /// A Type 3 font of characters beyond the code page.
  struct WideFont {
    struct Glyph {
      std::string procedure;
      int advance = 0;  // device units
      char32_t code = 0;
    };
    Font font;
    std::vector<Glyph> glyphs;  // by code
    QRectF box;
  };
  std::string writeWideFonts(PdfFile& file);

  std::vector<std::unique_ptr<Program>> programs_;
  std::vector<std::unique_ptr<Entry>> entries_;
  std::vector<std::unique_ptr<WideFont>> wideFonts_;
  std::map<std::string, WideCode> wideCodes_;
  int lastId_ = 0;  // of every font, /F<id>
  bool wholeCodePage_ = false;
};

}  // namespace tarn
