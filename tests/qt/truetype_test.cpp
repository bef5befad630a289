#include "pdf/qt/truetype.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainterPath>
#include <QRawFont>

#include <map>
#include <optional>
#include <random>

#include "pdf/qt/qt_fonts.h"

namespace tarn {
namespace {

using Tables = std::map<std::string, QByteArray>;

const char* const kTags[] = {"head", "hhea", "maxp", "loca", "glyf", "hmtx",
                             "cmap", "name", "OS/2", "post", "cvt ", "fpgm", "prep"};

QRawFont systemMono() {
  QImage device(1, 1, QImage::Format_RGB32);
  device.setDotsPerMeterX(23622);
  device.setDotsPerMeterY(23622);
  return measureFont(FontSpec{"", -100}, &device)->raw;
}

Tables tablesOf(const QRawFont& raw) {
  Tables t;
  for (const char* tag : kTags) t[tag] = raw.fontTable(tag);
  return t;
}

FontTables reader(const Tables& t) {
  return [&t](const char* tag) {
    auto it = t.find(tag);
    return it == t.end() ? QByteArray() : it->second;
  };
}

quint32 glyphOf(const QRawFont& raw, char16_t c) {
  QChar ch(c);
  quint32 glyph = 0;
  int count = 1;
  raw.glyphIndexesForChars(&ch, 1, &glyph, &count);
  return glyph;
}

std::string_view outline(const Tables& t, quint32 g) {
  const QByteArray& loca = t.at("loca");
  const bool longLoca = readS16(t.at("head"), 50) == 1;
  const std::uint32_t start = longLoca ? readU32(loca, 4 * g) : 2 * readU16(loca, 2 * g);
  const std::uint32_t end = longLoca ? readU32(loca, 4 * g + 4) : 2 * readU16(loca, 2 * g + 2);
  return std::string_view(t.at("glyf").constData() + start, end - start);
}

/// Every table lies inside the file and the file's checksum is the one
/// TrueType asks for.
void expectWellFormed(const std::string& font) {
  ASSERT_GE(font.size(), 12u);
  const QByteArray data = QByteArray::fromRawData(font.data(), static_cast<qsizetype>(font.size()));
  EXPECT_EQ(readU32(data, 0), 0x00010000u);
  const unsigned tables = readU16(data, 4);
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i + 4 <= font.size(); i += 4)
    sum += readU32(data, static_cast<qsizetype>(i));
  EXPECT_EQ(sum, 0xB1B0AFBAu);
  for (unsigned i = 0; i < tables; ++i) {
    const qsizetype record = 12 + 16 * i;
    EXPECT_LE(std::uint64_t{readU32(data, record + 8)} + readU32(data, record + 12), font.size());
  }
}

TEST(TrueTypeTest, SubsetKeepsGlyphIdsAndOnlyTheGlyphsDrawn) {
  const QRawFont raw = systemMono();
  const Tables t = tablesOf(raw);
  if (t.at("glyf").isEmpty()) GTEST_SKIP() << "the fixed-pitch font has no TrueType outlines";
  // An accented capital is usually made of two other glyphs.
  char16_t composite = 0;
  for (char16_t c : u"ÅÄÖÜÉÇÑ") {
    const std::string_view d = outline(t, glyphOf(raw, c));
    if (d.size() >= 2 && static_cast<signed char>(d[0]) < 0) composite = c;
  }
  std::vector<quint32> glyphs = {glyphOf(raw, u'A'), glyphOf(raw, u'b')};
  std::vector<std::pair<char16_t, quint32>> chars = {{u'A', glyphs[0]}, {u'b', glyphs[1]}};
  if (composite) {
    glyphs.push_back(glyphOf(raw, composite));
    chars.emplace_back(composite, glyphs.back());
  }
  const std::string font = subsetTrueType(reader(t), glyphs, chars);
  expectWellFormed(font);
  EXPECT_LT(font.size(), static_cast<std::size_t>(t.at("glyf").size()) / 4);

  QRawFont sub(QByteArray(font.data(), static_cast<qsizetype>(font.size())), 100);
  ASSERT_TRUE(sub.isValid());
  QRawFont original(raw);
  original.setPixelSize(100);
  for (auto [c, g] : chars) {
    SCOPED_TRACE(static_cast<int>(c));
    EXPECT_EQ(glyphOf(sub, c), g) << "the cmap maps the characters to the same ids";
    // The same outline, up to the hinting either engine applies.
    const QRectF a = sub.pathForGlyph(g).boundingRect();
    const QRectF b = original.pathForGlyph(g).boundingRect();
    EXPECT_FALSE(a.isEmpty());
    for (auto [p, q] : {std::pair{a.left(), b.left()}, {a.top(), b.top()}, {a.right(), b.right()},
                        {a.bottom(), b.bottom()}})
      EXPECT_NEAR(p, q, 1.0);
  }
  const quint32 z = glyphOf(raw, u'Z');
  EXPECT_EQ(glyphOf(sub, u'Z'), 0u);
  EXPECT_TRUE(sub.pathForGlyph(z).isEmpty()) << "glyphs not drawn keep their id, not their outline";
  EXPECT_FALSE(original.pathForGlyph(z).isEmpty());
}

TEST(TrueTypeTest, DamagedTablesGiveNothingOrAWellFormedFont) {
  const QRawFont raw = systemMono();
  const Tables real = tablesOf(raw);
  if (real.at("glyf").isEmpty()) GTEST_SKIP() << "the fixed-pitch font has no TrueType outlines";
  const std::vector<quint32> glyphs = {0, 1, 2, glyphOf(raw, u'A'), 70000};

  QByteArray selfMade = QByteArray::fromHex("ffff" "0000000000000000"   // composite of itself
                                            "0021" "0000" "00000000"  // more follow, words
                                            "0020" "0000");           // cut short
  QByteArray loca2 = QByteArray::fromHex("00000000" "00000016");
  struct Case {
    const char* name;
    std::function<void(Tables&)> damage;
    bool empty;
  };
  const Case cases[] = {
      {"no outlines", [](Tables& t) { t["glyf"].clear(); }, true},
      {"short head", [](Tables& t) { t["head"].truncate(20); }, true},
      {"unknown offset format", [](Tables& t) { t["head"][51] = 7; }, true},
      {"no glyphs", [](Tables& t) { t["maxp"][4] = t["maxp"][5] = 0; }, true},
      {"offsets past the outlines", [](Tables& t) { t["loca"].fill('\x7F'); }, false},
      {"offset table cut short", [](Tables& t) { t["loca"].truncate(10); }, false},
      {"metrics cut short", [](Tables& t) { t["hmtx"].truncate(3); }, false},
      {"a composite of itself, cut short",
       [&](Tables& t) {
         t["glyf"] = selfMade;
         t["loca"] = loca2;
         t["head"][50] = 0;
         t["head"][51] = 1;
         t["maxp"][4] = 0;
         t["maxp"][5] = 1;
       },
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Tables t = real;
    c.damage(t);
    const std::string font = subsetTrueType(reader(t), glyphs, {{u'A', 3}, {0xFFFF, 9}});
    EXPECT_EQ(font.empty(), c.empty);
    if (!font.empty()) expectWellFormed(font);
  }

  // Random damage: never a crash, a hang or a table outside the file.
  std::mt19937 random(1234);
  for (int round = 0; round < 300; ++round) {
    Tables t = real;
    for (int k = 0; k < 8; ++k) {
      QByteArray& table = t[kTags[random() % 6]];
      if (table.isEmpty()) continue;
      table[static_cast<qsizetype>(random() % static_cast<unsigned>(table.size()))] =
          static_cast<char>(random());
    }
    const std::string font = subsetTrueType(reader(t), glyphs, {});
    if (!font.empty()) expectWellFormed(font);
  }
}

TEST(TrueTypeTest, StyleComesFromTheFilesOwnTables) {
  // A zeroed table of `size` bytes with some bytes set.
  auto table = [](qsizetype size, std::initializer_list<std::pair<qsizetype, int>> bytes) {
    QByteArray t(size, '\0');
    for (auto [at, value] : bytes) t[at] = static_cast<char>(value);
    return t;
  };
  const struct {
    const char* name;
    Tables tables;
    bool bold, italic;
  } cases[] = {
      {"no tables", {}, false, false},
      {"regular", {{"head", table(54, {})}, {"OS/2", table(96, {{4, 0x01}, {5, 0x90}})}},
       false, false},
      {"medium is not bold", {{"OS/2", table(96, {{4, 0x01}, {5, 0xF4}})}}, false, false},
      {"semibold is", {{"OS/2", table(96, {{4, 0x02}, {5, 0x58}})}}, true, false},
      {"bold by its style bits", {{"head", table(54, {{45, 1}})}}, true, false},
      {"bold by its selection", {{"OS/2", table(96, {{63, 0x20}})}}, true, false},
      {"italic by its style bits", {{"head", table(54, {{45, 2}})}}, false, true},
      {"italic by its selection", {{"OS/2", table(96, {{63, 0x01}})}}, false, true},
      {"oblique by its selection", {{"OS/2", table(96, {{62, 0x02}})}}, false, true},
      {"slanted by its angle", {{"post", table(32, {{4, 0xFF}, {5, 0xF4}})}}, false, true},
      {"tables too short to say", {{"head", table(40, {})}, {"OS/2", table(4, {})}}, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const FontFileStyle style = fontFileStyle(reader(c.tables));
    EXPECT_EQ(style.bold, c.bold);
    EXPECT_EQ(style.italic, c.italic);
  }
  const FontFileStyle mono = fontFileStyle(reader(tablesOf(systemMono())));
  EXPECT_FALSE(mono.bold);
  EXPECT_FALSE(mono.italic);
}

TEST(FontFileTest, Type1FilesSplitIntoThePartsAPdfEmbeds) {
  const std::string clear =
      "%!PS-AdobeFont-1.0: T\n/FontMatrix [0.0005 0 0 0.0005 0 0] readonly def\n"
      "/FontNameX /No def\n/FontName /Test-Bold def\n/FontBBox {-100 -200 1400 1800} readonly def\n"
      "/ItalicAngle -12.5 def\n/isFixedPitch true def\n/Weight (Bold) def\ncurrentfile eexec\r";
  // Ends in the digit 0, which only the trailer's 512 zeros may take.
  const std::string binary("\xD9\xD6\x6F\x63\x00\xFF 00", 9);
  std::string trailer, hex;
  for (int i = 0; i < 8; ++i) trailer += std::string(64, '0') + "\n";
  trailer += "cleartomark\n";
  for (unsigned char c : binary)  // either case of digits
    hex += std::string(1, "0123456789abcdef"[c >> 4]) + "0123456789ABCDEF"[c & 15];
  auto segment = [](int type, const std::string& data) {
    std::string s = {'\x80', static_cast<char>(type)};
    for (int k = 0; k < 32; k += 8) s += static_cast<char>((data.size() >> k) & 0xFF);
    return s + data;
  };
  const std::string pfb = segment(1, clear) + segment(2, binary) + segment(1, trailer) + "\x80\x03";
  const std::pair<std::string, bool> cases[] = {
      {clear + binary + trailer, true},
      {clear + hex.substr(0, 6) + "\r\n" + hex.substr(6) + "\n" + trailer, true},
      {pfb, true},
      {pfb.substr(0, pfb.size() - 100), false},       // cut short
      {clear.substr(0, clear.find("eexec")), false},  // no encrypted part
      {clear + hex + "zz\n" + trailer, false},        // hex with other text
      {"%!\n/FontName () def\ncurrentfile eexec\r" + binary, false},
  };
  for (const auto& [file, valid] : cases) {
    const std::optional<Type1Font> t = readType1(file);
    ASSERT_EQ(t.has_value(), valid) << file;
    if (!t) continue;
    EXPECT_EQ(t->clear + "|" + t->binary + "|" + t->trailer, clear + "|" + binary + "|" + trailer);
    EXPECT_EQ(t->name, "Test-Bold");
    EXPECT_EQ(t->bbox, (std::array<double, 4>{-50, -100, 700, 900}));
    EXPECT_TRUE(t->italicAngle == -12.5 && t->fixedPitch && t->bold);
  }
}

TEST(FontFileTest, OnlyCffFontsOfNamedGlyphsAreEmbeddedByName) {
  // A CFF table of one font named "A" whose top dictionary is `dict`.
  auto cff = [](const std::string& dict) {
    return QByteArray::fromStdString(std::string("\x01\x00\x04\x01\x00\x01\x01\x01\x02" "A"
                                                 "\x00\x01\x01\x01", 14) +
                                     static_cast<char>(dict.size() + 1) + dict);
  };
  const std::pair<QByteArray, bool> cases[] = {
      {cff("\x8b\x1e\x2a\xff\x11"), true},                           // named glyphs
      {cff(std::string("\x8b\x8b\x8b\x0c\x1e\x8b\x11", 7)), false},  // CID-keyed
      {cff("\x8b\x0f"), false},                                      // no glyphs
      {cff("\x8b\x11").left(14), false},                             // cut short
      {cff("\x8b\x11").replace(6, 1, "\x05"), false},                // offsets of 5 bytes
  };
  for (const auto& [table, named] : cases)
    EXPECT_EQ(cffHasNamedGlyphs(table), named) << table.toHex().toStdString();
}

}  // namespace
}  // namespace tarn
