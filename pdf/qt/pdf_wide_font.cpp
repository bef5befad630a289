// Characters beyond the code page in PDF files: the canvas measures them
// as Qt does and draws them from Type 3 fonts of the outlines Qt would draw.
#include <QGlyphRun>
#include <QPainterPath>
#include <QTextLayout>

#include <algorithm>
#include <climits>
#include <cmath>

#include "platform/cp1252.h"
#include "pdf/qt/pdf_canvas.h"
#include "pdf/pdf_file.h"
#include "pdf/qt/pdf_font.h"
#include "pdf/qt/glyph_procedures.h"

namespace tarn {

namespace {

constexpr std::size_t kCodesPerFont = 256;
// Outlines are taken at 1000 pixels: in thousandths of the em.
constexpr int kOutlinePixels = 1000;

// What Qt draws for a character in `font`: the face's glyph, else one of the
// font it falls back to, else a missing-glyph shape; the baseline at 0.
QPainterPath outlineOf(const QFont& font, char32_t code) {
  QFont big(font);
  big.setPixelSize(kOutlinePixels);
  QTextLayout layout(QString::fromUcs4(&code, 1), big);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  layout.endLayout();
  QPainterPath path;
  if (!line.isValid()) return path;
  bool first = true;
  for (const QGlyphRun& run : layout.glyphRuns()) {
    const QRawFont raw = run.rawFont();
    const QList<quint32> glyphs = run.glyphIndexes();
    const QList<QPointF> positions = run.positions();
    for (qsizetype i = 0; i < glyphs.size() && i < positions.size(); ++i) {
      QPainterPath glyph = raw.pathForGlyph(glyphs[i]);
      glyph.translate(positions[i].x(), positions[i].y() - line.ascent());
      if (first) path.setFillRule(glyph.fillRule());
      first = false;
      path.addPath(glyph);
    }
  }
  return path;
}

}  // namespace

PdfFonts::WideCode PdfFonts::wideCode(const MeasuredFont& face, char32_t code, int advance,
                                      const Font& look) {
  const std::string key = face.font.key().toStdString() + '\n' + std::to_string(code) + ' ' +
                          std::to_string(advance) + ' ' + std::to_string(look.size) +
                          (look.emboldened ? " b" : "") + (look.slanted ? " i" : "");
  if (auto known = wideCodes_.find(key); known != wideCodes_.end()) return known->second;

  WideFont* font = nullptr;
  for (const auto& f : wideFonts_)
    if (f->font.size == look.size && f->font.emboldened == look.emboldened &&
        f->font.slanted == look.slanted && f->glyphs.size() < kCodesPerFont)
      font = f.get();
  if (!font) {
    auto f = std::make_unique<WideFont>();
    f->font.id = ++lastId_;
    f->font.size = look.size;
    f->font.emboldened = look.emboldened;
    f->font.slanted = look.slanted;
    font = f.get();
    wideFonts_.push_back(std::move(f));
  }
  WideFont::Glyph glyph;
  glyph.advance = advance;
  glyph.code = code;
  glyph.procedure =
      outlineProcedure(outlineOf(face.font, code), advance * 1000.0 / look.size, font->box);
  const WideCode result{&font->font, static_cast<unsigned char>(font->glyphs.size())};
  font->font.used[result.code] = true;
  font->glyphs.push_back(std::move(glyph));
  wideCodes_.emplace(key, result);
  return result;
}

std::string PdfFonts::writeWideFonts(PdfFile& file) {
  std::string resources;
  for (const auto& f : wideFonts_) {
    std::string procs = "<<", names, widths;
    std::vector<std::pair<int, char32_t>> codes;
    for (std::size_t c = 0; c < f->glyphs.size(); ++c) {
      const WideFont::Glyph& g = f->glyphs[c];
      const int object = file.reserve();
      file.stream(object, "", g.procedure, true);
      const std::string name = "/c" + std::to_string(c);
      procs += name + " " + std::to_string(object) + " 0 R";
      names += name;
      appendPdfNumber(widths, g.advance * 1000.0 / f->font.size, 4);
      widths += ' ';
      codes.emplace_back(static_cast<int>(c), g.code);
    }
    const int procsObject = file.reserve(), cmap = file.reserve(), object = file.reserve();
    file.object(procsObject, procs + ">>");
    file.stream(cmap, "", toUnicodeCMap(codes), true);
    std::string bbox = "[";
    for (double v : {f->box.left(), -f->box.bottom(), f->box.right(), -f->box.top()}) {
      appendPdfNumber(bbox, std::round(v), 0);
      bbox += ' ';
    }
    bbox.back() = ']';
    widths.pop_back();
    file.object(object, "<</Type/Font/Subtype/Type3/FontBBox" + bbox +
                            "/FontMatrix[.001 0 0 .001 0 0]/CharProcs " +
                            std::to_string(procsObject) +
                            " 0 R/Encoding<</Type/Encoding/Differences[0" + names +
                            "]>>/FirstChar 0/LastChar " + std::to_string(f->glyphs.size() - 1) +
                            "/Widths[" + widths + "]/Resources<<>>/ToUnicode " +
                            std::to_string(cmap) + " 0 R>>");
    resources += "/F" + std::to_string(f->font.id) + " " + std::to_string(object) + " 0 R";
  }
  return resources;
}

const PdfCanvas::Wide& PdfCanvas::wideOf(Face& face, char32_t code) {
  auto known = face.wide.find(code);
  if (known != face.wide.end()) return known->second;
  Wide w;
  w.advance = (wideChar(*face.measured, &device_, code).advance + 32) >> 6;
  w.code = fonts_.wideCode(*face.measured, code, w.advance, fontOf(face));
  return face.wide.emplace(code, w).first->second;
}

int PdfCanvas::unicodeTextWidth(std::string_view utf8) {
  Face& face = current();
  long long width = 0;
  for (char32_t u : cp1252::codePoints(utf8)) {
    const int b = cp1252::fromUnicode(u);
    width += b >= 0 ? face.advance[static_cast<std::size_t>(b)] : wideOf(face, u).advance;
  }
  return static_cast<int>(std::clamp<long long>(width, INT32_MIN, INT32_MAX));
}

void PdfCanvas::unicodeTextOut(int x, int y, std::string_view utf8) {
  long long pos = x;
  if (align_ != TextAlign::Left) {
    const int width = unicodeTextWidth(utf8);
    pos -= align_ == TextAlign::Center ? width / 2 : width;
  }
  Face& face = current();
  const long long baseline = y + face.measured->ascent;
  // Characters of the code page keep to the face's own font.
  cp1252::splitRuns(
      utf8,
      [&](std::string_view run) {
        drawRun(pos, y, run);
        pos = runX_;
      },
      [&](char32_t u) {
        const Wide& w = wideOf(face, u);
        const long long start = beginText(*w.code.font, pos, baseline, 0);
        putCode(w.code.code, w.advance);
        endText(*face.measured, start, baseline);
        pos = runX_;
      });
}

}  // namespace tarn
