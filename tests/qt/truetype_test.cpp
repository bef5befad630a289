#include "platform/qt/truetype.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainterPath>
#include <QRawFont>

#include <map>
#include <random>

#include "platform/qt/qt_fonts.h"

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

}  // namespace
}  // namespace tarn
