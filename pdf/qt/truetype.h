#pragma once

#include <QByteArray>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarn {

/// Big-endian numbers of a font table; 0 where the table ends.
unsigned readU16(const QByteArray& table, qsizetype at);
int readS16(const QByteArray& table, qsizetype at);
std::uint32_t readU32(const QByteArray& table, qsizetype at);

/// The tables of a font file by tag ("head", "glyf", ...); empty when absent.
using FontTables = std::function<QByteArray(const char* tag)>;

/// A TrueType font program rebuilt from `tables`: every glyph id stays, but
/// only `glyphs` (and the glyphs they are composed of) keep their outlines;
/// the cmap maps `chars` (Unicode, glyph id). Empty when the tables hold no
/// usable TrueType outlines.
std::string subsetTrueType(const FontTables& tables, const std::vector<quint32>& glyphs,
                           const std::vector<std::pair<char16_t, quint32>>& chars);

/// What a font file is, by its own tables; both false when it has none.
struct FontFileStyle {
  bool bold = false;
  bool italic = false;
};
FontFileStyle fontFileStyle(const FontTables& tables);

/// The PostScript name in a name table, reduced to what a PDF name may
/// hold; empty when there is none.
std::string postScriptName(const QByteArray& nameTable);

/// Whether a 'CFF ' table holds one font whose glyphs go by name, as a font
/// with a byte encoding needs: not CID-keyed, not damaged where it is read.
bool cffHasNamedGlyphs(const QByteArray& cff);

/// A Type 1 font program in the three parts a PDF embeds, and what its clear
/// text says of the font.
struct Type1Font {
  std::string clear;    ///< up to the eexec line's end
  std::string binary;   ///< the encrypted part, in binary
  std::string trailer;  ///< the zeros and cleartomark
  std::string name;     ///< /FontName, fit for a PDF name
  std::array<double, 4> bbox{};  ///< in thousandths of the em
  double italicAngle = 0;
  bool fixedPitch = false;
  bool bold = false;  ///< by its /Weight
};
/// A PFB file, or a PFA one with its encrypted part in hex or binary;
/// nothing when it is neither or lacks a part or a name.
std::optional<Type1Font> readType1(std::string_view file);

}  // namespace tarn
