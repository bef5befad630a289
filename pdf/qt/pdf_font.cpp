#include "pdf/qt/pdf_font.h"

#include <QFile>
#include <QPainterPath>

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <map>
#include <mutex>
#include <set>

#include "platform/cp1252.h"
#include "pdf/pdf_file.h"
#include "pdf/qt/glyph_procedures.h"
#include "pdf/qt/truetype.h"

namespace tarn {
namespace {

std::string asString(const QByteArray& a) {
  return std::string(a.constData(), static_cast<std::size_t>(a.size()));
}

// A PDF name for a font: its PostScript name, else its family and style.
std::string fontName(const QRawFont& raw) {
  std::string name = postScriptName(raw.fontTable("name"));
  if (!name.empty()) return name;
  for (QChar c : raw.familyName() + raw.styleName())
    if (c.unicode() > 0x20 && c.unicode() < 0x7F && !QStringLiteral("()<>[]{}/%#").contains(c) &&
        name.size() < 56)
      name += static_cast<char>(c.unicode());
  return name.empty() ? std::string("Font") : name;
}

}  // namespace

struct PdfFonts::Program {
  enum class Kind { TrueType, Cff, Type1, Outlines };
  QRawFont raw;
  std::string key;
  Kind kind = Kind::Outlines;
  bool sfnt = false;   // has tables, which tell its style
  FontFileStyle style;
  std::optional<Type1Font> type1;
  std::string name;  // PostScript name, fit for a PDF name
};

struct PdfFonts::Entry {
  Font font;
  Program* program = nullptr;
  std::array<int, 256> advance{};
  std::array<quint32, 256> glyph{};
};

PdfFonts::PdfFonts() = default;
PdfFonts::~PdfFonts() = default;

namespace {

// What tells font files apart: their own header and names, which synthetic
// styles leave as they are; else what Qt says of the face.
std::string programKey(const QRawFont& raw) {
  const QByteArray head = raw.fontTable("head");
  if (!head.isEmpty()) return asString(head + raw.fontTable("name"));
  return asString(raw.familyName().toUtf8() + '\n' + raw.styleName().toUtf8() + '\n' +
                  QByteArray::number(raw.weight()) + '\n' +
                  QByteArray::number(static_cast<int>(raw.style())));
}

// Larger font files are not looked into.
constexpr qint64 kMostFontFile = 32 << 20;

// Whether two fonts of 1000 pixels draw the printable ASCII characters alike.
bool sameOutlines(const QRawFont& a, const QRawFont& b) {
  if (!a.isValid() || !b.isValid()) return false;
  for (char16_t c = 0x21; c < 0x7F; ++c) {
    const QChar ch(c);
    quint32 ga = 0, gb = 0;
    int n = 1;
    if (!a.glyphIndexesForChars(&ch, 1, &ga, &n)) ga = 0;
    n = 1;
    if (!b.glyphIndexesForChars(&ch, 1, &gb, &n)) gb = 0;
    if ((ga == 0) != (gb == 0)) return false;
    if (ga == 0) continue;
    const QRectF ra = a.pathForGlyph(ga).boundingRect(), rb = b.pathForGlyph(gb).boundingRect();
    const qreal wa = a.advancesForGlyphIndexes(QList<quint32>{ga}).value(0).x(),
                wb = b.advancesForGlyphIndexes(QList<quint32>{gb}).value(0).x();
    for (auto [p, q] : {std::pair{ra.left(), rb.left()}, {ra.top(), rb.top()},
                        {ra.right(), rb.right()}, {ra.bottom(), rb.bottom()}, {wa, wb}})
      if (std::abs(p - q) > 1.5) return false;
  }
  return true;
}

// The Type 1 file Qt draws `raw` from (it gives no tables of these): of
// fontconfig's Type 1 files of the family, one with the same outlines.
std::optional<Type1Font> type1FileOf(const QRawFont& raw) {
  QString family = raw.familyName();
  // Qt tells apart a family that several foundries make as "Family [Foundry]".
  const qsizetype foundry = family.lastIndexOf(QLatin1String(" ["));
  if (foundry > 0 && family.endsWith(QLatin1Char(']'))) family.truncate(foundry);
  QRawFont drawn(raw);
  drawn.setPixelSize(1000);
  const QByteArray familyBytes = family.toUtf8();
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(familyBytes.constData()));
  FcPatternAddString(pattern, FC_FONTFORMAT, reinterpret_cast<const FcChar8*>("Type 1"));
  FcObjectSet* objects = FcObjectSetBuild(FC_FILE, static_cast<char*>(nullptr));
  FcFontSet* fonts = pattern && objects ? FcFontList(nullptr, pattern, objects) : nullptr;
  std::optional<Type1Font> found;
  for (int i = 0; fonts && i < fonts->nfont && !found; ++i) {
    FcChar8* path = nullptr;
    if (FcPatternGetString(fonts->fonts[i], FC_FILE, 0, &path) != FcResultMatch) continue;
    QFile file(QFile::decodeName(reinterpret_cast<const char*>(path)));
    if (file.size() > kMostFontFile || !file.open(QIODevice::ReadOnly)) continue;
    const QByteArray data = file.readAll();
    if (sameOutlines(drawn, QRawFont(data, 1000)))
      found = readType1(std::string_view(data.constData(), static_cast<std::size_t>(data.size())));
  }
  if (fonts) FcFontSetDestroy(fonts);
  if (objects) FcObjectSetDestroy(objects);
  if (pattern) FcPatternDestroy(pattern);
  return found;
}

}  // namespace

PdfFonts::Font& PdfFonts::fontFor(const MeasuredFont& face, const std::array<int, 256>& advance) {
  const std::string key = programKey(face.raw);
  Program* program = nullptr;
  for (const auto& p : programs_)
    if (p->key == key) program = p.get();
  if (!program) {
    auto p = std::make_unique<Program>();
    const QRawFont& raw = face.raw;
    p->raw = raw;
    p->key = key;
    p->sfnt = !raw.fontTable("head").isEmpty();
    p->style = fontFileStyle([&raw](const char* tag) { return raw.fontTable(tag); });
    if (!raw.fontTable("glyf").isEmpty())
      p->kind = Program::Kind::TrueType;
    else if (cffHasNamedGlyphs(raw.fontTable("CFF ")))
      p->kind = Program::Kind::Cff;
    else if (!p->sfnt && (p->type1 = type1FileOf(raw)))
      p->kind = Program::Kind::Type1;
    if (p->type1) p->style = {p->type1->bold, p->type1->italicAngle != 0};
    p->name = p->type1 ? p->type1->name : fontName(raw);
    program = p.get();
    programs_.push_back(std::move(p));
  }
  Font wanted;
  wanted.size = std::max(1, face.font.pixelSize());
  wanted.emboldened = program->sfnt && face.request.weight >= 700 && !program->style.bold;
  wanted.slanted = program->sfnt && face.request.italic && !program->style.italic;
  for (const auto& e : entries_)
    if (e->program == program && e->font.size == wanted.size &&
        e->font.emboldened == wanted.emboldened && e->font.slanted == wanted.slanted &&
        e->advance == advance && e->glyph == face.glyph)
      return e->font;
  auto e = std::make_unique<Entry>();
  e->font = wanted;
  e->font.id = ++lastId_;
  e->program = program;
  e->advance = advance;
  e->glyph = face.glyph;
  entries_.push_back(std::move(e));
  return entries_.back()->font;
}

namespace {

std::string subsetTag(const std::string& name, const std::vector<quint32>& glyphs) {
  std::uint64_t h = 14695981039346656037ull;
  auto mix = [&h](unsigned v) { h = (h ^ v) * 1099511628211ull; };
  for (char c : name) mix(static_cast<unsigned char>(c));
  for (quint32 g : glyphs) mix(g);
  std::string tag;
  for (int i = 0; i < 6; ++i, h /= 26) tag += static_cast<char>('A' + h % 26);
  return tag;
}

// Font units of a file, scaled to the 1000 of PDF font metrics.
struct Scale {
  double factor;
  std::string operator()(double v) const {
    std::string s;
    appendPdfNumber(s, std::round(v * factor), 0);
    return s;
  }
};

// The metrics of a font file with tables, which the caller has checked.
std::string descriptorMetrics(const QRawFont& raw, bool italic) {
  const QByteArray head = raw.fontTable("head"), hhea = raw.fontTable("hhea"),
                   os2 = raw.fontTable("OS/2"), post = raw.fontTable("post");
  const unsigned em = readU16(head, 18);
  const Scale s{1000.0 / (em >= 16 && em <= 16384 ? em : 1000)};
  const int ascent = readS16(hhea, 4);
  const int cap = os2.size() >= 90 && readU16(os2, 0) >= 2 ? readS16(os2, 88) : ascent;
  std::string d = "/FontBBox[" + s(readS16(head, 36)) + " " + s(readS16(head, 38)) + " " +
                  s(readS16(head, 40)) + " " + s(readS16(head, 42)) + "]/Ascent " + s(ascent) +
                  "/Descent " + s(readS16(hhea, 6)) + "/CapHeight " + s(cap) + "/ItalicAngle ";
  if (post.size() >= 8)
    appendPdfNumber(d, readS16(post, 4) + readU16(post, 6) / 65536.0, 2);
  else
    d += italic ? "-12" : "0";
  d += raw.weight() >= 600 ? "/StemV 120" : "/StemV 80";
  return d;
}

// The metrics of a Type 1 file: its own box and angle, Qt's heights.
std::string descriptorMetrics(const QRawFont& raw, const Type1Font& t) {
  QRawFont big(raw);
  big.setPixelSize(1000);
  const Scale s{1};
  std::string d = "/FontBBox[" + s(t.bbox[0]) + " " + s(t.bbox[1]) + " " + s(t.bbox[2]) + " " +
                  s(t.bbox[3]) + "]/Ascent " + s(big.ascent()) + "/Descent " +
                  s(-big.descent()) + "/CapHeight " + s(big.capHeight()) + "/ItalicAngle ";
  appendPdfNumber(d, t.italicAngle, 2);
  d += t.bold ? "/StemV 120" : "/StemV 80";
  return d;
}

std::string widthsOf(const std::array<int, 256>& advance, int size) {
  std::string w = "/FirstChar 32/LastChar 255/Widths[";
  for (int b = 32; b < 256; ++b) {
    appendPdfNumber(w, advance[static_cast<std::size_t>(b)] * 1000.0 / size, 4);
    w += b == 255 ? "]" : " ";
  }
  return w;
}

// What a Type 3 font's codes of the code page stand for.
std::string codePageCMap() {
  std::vector<std::pair<int, char32_t>> map;
  for (int b = 32; b < 256; ++b) {
    const char32_t u = cp1252::toUnicode(static_cast<unsigned char>(b));
    if (u >= 0x20 && (u < 0x7F || u >= 0xA0)) map.emplace_back(b, u);
  }
  return toUnicodeCMap(map);
}

}  // namespace

namespace {

/// pdfDeflate of font programs that many documents of a run embed alike.
std::string sharedDeflate(const std::string& data) {
  static std::mutex mutex;
  static std::map<std::string, std::string> done;
  {
    std::lock_guard lock(mutex);
    if (auto it = done.find(data); it != done.end()) return it->second;
  }
  std::string packed = pdfDeflate(data);
  std::lock_guard lock(mutex);
  // A run meets a few faces in a few styles; more are not kept.
  if (done.size() < 16) done.emplace(data, packed);
  return packed;
}

}  // namespace

std::string PdfFonts::write(PdfFile& file) {
  std::string resources;
  int toUnicode = 0;
  for (const auto& program : programs_) {
    std::vector<Entry*> entries;
    std::set<quint32> glyphSet;
    std::vector<std::pair<char16_t, quint32>> chars;
    for (const auto& e : entries_) {
      if (e->program != program.get()) continue;
      entries.push_back(e.get());
      for (int b = 32; b < 256; ++b) {
        const quint32 g = e->glyph[static_cast<std::size_t>(b)];
        if (!(wholeCodePage_ || e->font.used[static_cast<std::size_t>(b)]) || g == 0) continue;
        glyphSet.insert(g);
        chars.emplace_back(
            static_cast<char16_t>(cp1252::toUnicode(static_cast<unsigned char>(b))), g);
      }
    }
    if (entries.empty()) continue;
    const std::vector<quint32> glyphs(glyphSet.begin(), glyphSet.end());
    const QRawFont& raw = program->raw;
    const bool italic = program->style.italic;
    std::string subset;
    if (program->kind == Program::Kind::TrueType)
      subset = subsetTrueType([&raw](const char* tag) { return raw.fontTable(tag); }, glyphs,
                              chars);
    // Only a subset's name is tagged.
    const std::string name = program->kind == Program::Kind::TrueType
                                 ? subsetTag(program->name, glyphs) + "+" + program->name
                                 : program->name;
    // The font program, then one font of the code page's glyph names per size drawn.
    auto embed = [&](const char* subtype, const std::string& fontFile, bool fixedPitch,
                     const std::string& metrics) {
      const int descriptor = file.reserve();
      const int flags = 32 | (fixedPitch ? 1 : 0) | (italic ? 64 : 0);
      file.object(descriptor, "<</Type/FontDescriptor/FontName/" + name + "/Flags " +
                                  std::to_string(flags) + metrics + "/MissingWidth 0" + fontFile +
                                  ">>");
      for (Entry* e : entries) {
        const int object = file.reserve();
        file.object(object, "<</Type/Font/Subtype/" + std::string(subtype) + "/BaseFont/" + name +
                                widthsOf(e->advance, e->font.size) +
                                "/Encoding/WinAnsiEncoding/FontDescriptor " +
                                std::to_string(descriptor) + " 0 R>>");
        resources += "/F" + std::to_string(e->font.id) + " " + std::to_string(object) + " 0 R";
      }
    };
    auto reference = [](const char* key, int object) {
      return std::string(key) + " " + std::to_string(object) + " 0 R";
    };
    const bool postFixed = readU32(raw.fontTable("post"), 12) != 0;
    if (!subset.empty()) {
      const int fontFile = file.reserve();
      // Every part of a book embeds the same program: compressed once a run.
      file.deflatedStream(fontFile, "/Length1 " + std::to_string(subset.size()), subset,
                          wholeCodePage_ ? sharedDeflate(subset) : pdfDeflate(subset));
      embed("TrueType", reference("/FontFile2", fontFile), postFixed,
            descriptorMetrics(raw, italic));
      continue;
    }
    if (program->kind == Program::Kind::Cff) {
      const int fontFile = file.reserve();
      const std::string cff = asString(raw.fontTable("CFF "));
      file.deflatedStream(fontFile, "/Subtype/Type1C", cff,
                          wholeCodePage_ ? sharedDeflate(cff) : pdfDeflate(cff));
      embed("Type1", reference("/FontFile3", fontFile), postFixed, descriptorMetrics(raw, italic));
      continue;
    }
    if (program->kind == Program::Kind::Type1) {
      const Type1Font& t = *program->type1;
      const int fontFile = file.reserve();
      const std::string whole = t.clear + t.binary + t.trailer;
      file.deflatedStream(fontFile,
                  "/Length1 " + std::to_string(t.clear.size()) + "/Length2 " +
                      std::to_string(t.binary.size()) + "/Length3 " +
                      std::to_string(t.trailer.size()),
                  whole, wholeCodePage_ ? sharedDeflate(whole) : pdfDeflate(whole));
      embed("Type1", reference("/FontFile", fontFile), t.fixedPitch, descriptorMetrics(raw, t));
      continue;
    }

    // No TrueType outlines (or damaged ones): the glyphs become drawings.
    QRawFont big(raw);
    big.setPixelSize(1000);
    QRectF box;
    std::string procs = "<<";
    for (quint32 g : glyphs) {
      const int object = file.reserve();
      const QVector<QPointF> advances = big.advancesForGlyphIndexes(QVector<quint32>{g});
      file.stream(object, "",
                  outlineProcedure(big.pathForGlyph(g), advances.isEmpty() ? 0.0 : advances[0].x(),
                                   box),
                  true);
      procs += "/g" + std::to_string(g) + " " + std::to_string(object) + " 0 R";
    }
    const int procsObject = file.reserve();
    file.object(procsObject, procs + ">>");
    if (!toUnicode) {
      toUnicode = file.reserve();
      file.stream(toUnicode, "", codePageCMap(), true);
    }
    std::string bbox = "[";
    for (double v : {box.left(), -box.bottom(), box.right(), -box.top()}) {
      appendPdfNumber(bbox, std::round(v), 0);
      bbox += ' ';
    }
    bbox.back() = ']';
    for (Entry* e : entries) {
      std::string differences = "[";
      int next = -1;
      for (int b = 32; b < 256; ++b) {
        const quint32 g = e->glyph[static_cast<std::size_t>(b)];
        if (!(wholeCodePage_ || e->font.used[static_cast<std::size_t>(b)]) || g == 0) continue;
        if (b != next) differences += (differences.size() > 1 ? " " : "") + std::to_string(b);
        differences += "/g" + std::to_string(g);
        next = b + 1;
      }
      const int object = file.reserve();
      file.object(object, "<</Type/Font/Subtype/Type3/FontBBox" + bbox +
                              "/FontMatrix[.001 0 0 .001 0 0]/CharProcs " +
                              std::to_string(procsObject) +
                              " 0 R/Encoding<</Type/Encoding/Differences" + differences + "]>>" +
                              widthsOf(e->advance, e->font.size) + "/Resources<<>>/ToUnicode " +
                              std::to_string(toUnicode) + " 0 R>>");
      resources += "/F" + std::to_string(e->font.id) + " " + std::to_string(object) + " 0 R";
    }
  }
  return resources + writeWideFonts(file);
}

}  // namespace tarn
