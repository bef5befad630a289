#pragma once

#include <QPainterPath>
#include <QRectF>

#include <string>
#include <utility>
#include <vector>

namespace tarn {

/// A Type 3 glyph procedure that fills `path` (Qt's y-down outline in
/// thousandths of the em) in the colour of the text and advances `advance`;
/// `box` grows by the outline's bounds.
std::string outlineProcedure(const QPainterPath& path, double advance, QRectF& box);

/// A ToUnicode CMap for one-byte codes and the characters they stand for.
std::string toUnicodeCMap(const std::vector<std::pair<int, char32_t>>& codes);

}  // namespace tarn
