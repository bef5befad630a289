#pragma once

#include <QByteArray>

#include <cstdint>
#include <functional>
#include <string>
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

}  // namespace tarn
