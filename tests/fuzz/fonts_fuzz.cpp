// A font file as a damaged one on a user's system may be: its TrueType or
// OpenType tables, a CFF table and a Type 1 program all go through the PDF
// writer's readers. Beyond "no crash": names are fit for PDF, a subset is a
// font file its own reader takes again, numbers are finite.
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "pdf/qt/truetype.h"

namespace tarn {
namespace {

/// The table directory of an sfnt file; a table that runs past the end is cut.
std::map<std::string, QByteArray> tablesOf(const QByteArray& file) {
  std::map<std::string, QByteArray> tables;
  const unsigned count = readU16(file, 4);
  for (unsigned i = 0; i < count; ++i) {
    const qsizetype at = 12 + 16 * static_cast<qsizetype>(i);
    if (at + 16 > file.size()) break;
    const std::string tag(file.constData() + at, 4);
    const std::uint32_t offset = readU32(file, at + 8), length = readU32(file, at + 12);
    if (offset > static_cast<std::uint64_t>(file.size())) continue;
    tables.emplace(tag, file.mid(offset, length));
  }
  return tables;
}

bool pdfName(std::string_view name) {
  for (unsigned char c : name)
    if (c < 0x21 || c > 0x7E || std::string_view("()<>[]{}/%#").find(static_cast<char>(c)) !=
                                    std::string_view::npos)
      return false;
  return true;
}

void readTables(const std::map<std::string, QByteArray>& tables, std::string_view extra,
                bool again) {
  FontTables find = [&](const char* tag) {
    auto it = tables.find(tag);
    return it == tables.end() ? QByteArray() : it->second;
  };
  (void)fontFileStyle(find);
  auto name = tables.find("name");
  if (name != tables.end()) FUZZ_CHECK(pdfName(postScriptName(name->second)), "a PDF name");
  auto cff = tables.find("CFF ");
  if (cff != tables.end()) (void)cffHasNamedGlyphs(cff->second);

  std::vector<quint32> glyphs{0, 1, 2, 3};
  std::vector<std::pair<char16_t, quint32>> chars{{u' ', 1}, {u'A', 2}, {u'\u20AC', 3}};
  for (std::size_t i = 0; i + 1 < extra.size() && i < 16; i += 2) {
    const auto g = static_cast<quint32>(static_cast<unsigned char>(extra[i]) << 8 |
                                        static_cast<unsigned char>(extra[i + 1]));
    glyphs.push_back(g);
    chars.emplace_back(static_cast<char16_t>(0x41 + i), g);
  }
  const std::string subset = subsetTrueType(find, glyphs, chars);
  if (subset.empty() || again) return;
  const QByteArray file(subset.data(), static_cast<qsizetype>(subset.size()));
  const auto rebuilt = tablesOf(file);
  FUZZ_CHECK(rebuilt.count("glyf") && rebuilt.count("loca") && rebuilt.count("head"),
             "a subset is a TrueType font");
  readTables(rebuilt, extra, true);
  // Only glyphs without outlines kept leave an empty glyf, which takes nothing more.
  FUZZ_CHECK(rebuilt.at("glyf").isEmpty() || !subsetTrueType(
                                                    [&](const char* tag) {
                                                      auto it = rebuilt.find(tag);
                                                      return it == rebuilt.end() ? QByteArray()
                                                                                 : it->second;
                                                    },
                                                    glyphs, chars)
                                                    .empty(),
             "a subset can be subset again");
}

}  // namespace
}  // namespace tarn

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tarn;
  const std::string_view bytes = fuzz::bytes(data, size);
  const QByteArray file(bytes.data(), static_cast<qsizetype>(bytes.size()));
  readTables(tablesOf(file), bytes.substr(0, 64), false);

  if (auto t1 = readType1(bytes)) {
    FUZZ_CHECK(!t1->name.empty() && pdfName(t1->name), "a Type 1 font has a PDF name");
    FUZZ_CHECK(!t1->clear.empty() && !t1->binary.empty(), "a Type 1 font has both parts");
    FUZZ_CHECK(t1->clear.size() <= bytes.size() && t1->binary.size() <= bytes.size() &&
                   t1->trailer.size() <= bytes.size(),
               "parts come from the file");
    FUZZ_CHECK(std::isfinite(t1->italicAngle), "finite italic angle");
    for (double v : t1->bbox) FUZZ_CHECK(std::isfinite(v), "finite bounding box");
  }
  return 0;
}
