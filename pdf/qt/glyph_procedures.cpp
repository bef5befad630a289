#include "pdf/qt/glyph_procedures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "pdf/pdf_file.h"

namespace tarn {

std::string outlineProcedure(const QPainterPath& path, double advance, QRectF& box) {
  const QRectF r = path.boundingRect();
  if (!path.isEmpty()) box = box.united(r);
  std::string p;
  appendPdfNumber(p, advance, 0);
  p += " 0 ";
  for (double v : {r.left(), -r.bottom(), r.right(), -r.top()}) {
    appendPdfNumber(p, std::round(v), 0);
    p += ' ';
  }
  p += "d1\n";
  auto point = [&p](const QPointF& q) {
    appendPdfNumber(p, q.x(), 1);
    p += ' ';
    appendPdfNumber(p, -q.y(), 1);
    p += ' ';
  };
  for (int i = 0; i < path.elementCount(); ++i) {
    const QPainterPath::Element e = path.elementAt(i);
    if (e.isMoveTo()) {
      point(e);
      p += "m\n";
    } else if (e.isLineTo()) {
      point(e);
      p += "l\n";
    } else if (e.isCurveTo() && i + 2 < path.elementCount()) {
      point(e);
      point(path.elementAt(i + 1));
      point(path.elementAt(i + 2));
      p += "c\n";
      i += 2;
    }
  }
  if (!path.isEmpty()) p += path.fillRule() == Qt::OddEvenFill ? "f*\n" : "f\n";
  return p;
}

std::string toUnicodeCMap(const std::vector<std::pair<int, char32_t>>& codes) {
  std::string s =
      "/CIDInit/ProcSet findresource begin 12 dict begin begincmap/CIDSystemInfo<</Registry(Adobe)"
      "/Ordering(UCS)/Supplement 0>>def/CMapName/Adobe-Identity-UCS def/CMapType 2 def\n"
      "1 begincodespacerange <00><FF> endcodespacerange\n";
  char buf[32];
  // At most 100 entries a block.
  for (std::size_t i = 0; i < codes.size(); i += 100) {
    const std::size_t n = std::min<std::size_t>(100, codes.size() - i);
    s += std::to_string(n) + " beginbfchar\n";
    for (std::size_t k = i; k < i + n; ++k) {
      const char32_t u = codes[k].second;
      if (u > 0xFFFF) {  // UTF-16: a surrogate pair
        const char32_t v = u - 0x10000;
        std::snprintf(buf, sizeof buf, "<%02X><%04X%04X>\n", codes[k].first,
                      static_cast<unsigned>(0xD800 + (v >> 10)),
                      static_cast<unsigned>(0xDC00 + (v & 0x3FF)));
      } else {
        std::snprintf(buf, sizeof buf, "<%02X><%04X>\n", codes[k].first,
                      static_cast<unsigned>(u));
      }
      s += buf;
    }
    s += "endbfchar\n";
  }
  s += "endcmap CMapName currentdict/CMap defineresource pop end end\n";
  return s;
}

}  // namespace tarn
