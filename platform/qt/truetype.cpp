#include "platform/qt/truetype.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>

namespace tarn {

unsigned readU16(const QByteArray& d, qsizetype at) {
  if (at < 0 || at + 2 > d.size()) return 0;
  return static_cast<unsigned>(static_cast<uchar>(d[at]) << 8 | static_cast<uchar>(d[at + 1]));
}
int readS16(const QByteArray& d, qsizetype at) { return static_cast<std::int16_t>(readU16(d, at)); }
std::uint32_t readU32(const QByteArray& d, qsizetype at) {
  return static_cast<std::uint32_t>(readU16(d, at)) << 16 | readU16(d, at + 2);
}

namespace {

void put16(std::string& s, unsigned v) {
  s += static_cast<char>((v >> 8) & 0xFF);
  s += static_cast<char>(v & 0xFF);
}
void put32(std::string& s, std::uint32_t v) {
  put16(s, v >> 16);
  put16(s, v & 0xFFFF);
}
void set16(std::string& s, std::size_t at, unsigned v) {
  if (at + 2 > s.size()) return;
  s[at] = static_cast<char>((v >> 8) & 0xFF);
  s[at + 1] = static_cast<char>(v & 0xFF);
}

std::uint32_t checksum(std::string_view d) {
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i < d.size(); i += 4) {
    std::uint32_t word = 0;
    for (std::size_t k = 0; k < 4; ++k)
      word = word << 8 | (i + k < d.size() ? static_cast<unsigned char>(d[i + k]) : 0u);
    sum += word;
  }
  return sum;
}

std::uint32_t tagValue(const std::string& tag) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(tag[0])) << 24 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(tag[1])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(tag[2])) << 8 |
         static_cast<unsigned char>(tag[3]);
}

// A format 4 cmap for the Windows platform: one segment per run of codes
// whose glyph ids run alongside.
std::string makeCmap(std::vector<std::pair<char16_t, quint32>> chars) {
  std::sort(chars.begin(), chars.end());
  struct Segment { unsigned start, end, delta; };
  std::vector<Segment> segments;
  for (auto [code, glyph] : chars) {
    if (glyph == 0 || glyph > 0xFFFF || code == 0xFFFF) continue;
    const unsigned delta = (glyph - code) & 0xFFFF;
    if (!segments.empty() && segments.back().end == code) continue;  // the first mapping stays
    if (!segments.empty() && segments.back().end + 1 == code && segments.back().delta == delta)
      segments.back().end = code;
    else
      segments.push_back({code, code, delta});
  }
  segments.push_back({0xFFFF, 0xFFFF, 1});
  const unsigned count = static_cast<unsigned>(segments.size());
  unsigned selector = 0;
  while ((2u << selector) <= count) ++selector;
  const unsigned range = 2u << selector;
  std::string sub;
  put16(sub, 4);
  put16(sub, 16 + 8 * count);
  put16(sub, 0);
  put16(sub, 2 * count);
  put16(sub, range);
  put16(sub, selector);
  put16(sub, 2 * count - range);
  for (const auto& s : segments) put16(sub, s.end);
  put16(sub, 0);
  for (const auto& s : segments) put16(sub, s.start);
  for (const auto& s : segments) put16(sub, s.delta);
  for (std::size_t i = 0; i < segments.size(); ++i) put16(sub, 0);
  std::string cmap;
  put16(cmap, 0);
  put16(cmap, 1);
  put16(cmap, 3);
  put16(cmap, 1);
  put32(cmap, 12);
  return cmap + sub;
}

std::string asString(const QByteArray& a) {
  return std::string(a.constData(), static_cast<std::size_t>(a.size()));
}

}  // namespace

std::string subsetTrueType(const FontTables& tables, const std::vector<quint32>& glyphs,
                           const std::vector<std::pair<char16_t, quint32>>& chars) {
  const QByteArray head = tables("head"), hhea = tables("hhea"), maxp = tables("maxp"),
                   loca = tables("loca"), glyf = tables("glyf"), hmtx = tables("hmtx");
  if (head.size() < 54 || hhea.size() < 36 || maxp.size() < 6 || loca.isEmpty() || glyf.isEmpty())
    return {};
  const unsigned numGlyphs = readU16(maxp, 4);
  const int locaFormat = readS16(head, 50);
  if (numGlyphs == 0 || (locaFormat != 0 && locaFormat != 1)) return {};
  const qsizetype entry = locaFormat ? 4 : 2;
  auto outline = [&](unsigned g) -> std::string_view {
    if (static_cast<qsizetype>(g + 2) * entry > loca.size()) return {};
    const qsizetype at = static_cast<qsizetype>(g) * entry;
    auto offset = [&](qsizetype i) -> std::uint64_t {
      return locaFormat ? readU32(loca, i) : 2ull * readU16(loca, i);
    };
    const std::uint64_t start = offset(at), end = offset(at + entry);
    if (start >= end || end > static_cast<std::uint64_t>(glyf.size())) return {};
    return std::string_view(glyf.constData() + start, static_cast<std::size_t>(end - start));
  };

  // The glyphs drawn and, for composites, their parts (each looked at once).
  std::vector<char> keep(numGlyphs, 0);
  std::vector<unsigned> work;
  for (quint32 g : glyphs)
    if (g < numGlyphs && !keep[g]) keep[g] = 1, work.push_back(g);
  while (!work.empty()) {
    const std::string_view d = outline(work.back());
    work.pop_back();
    const QByteArray data = QByteArray::fromRawData(d.data(), static_cast<qsizetype>(d.size()));
    if (data.size() < 10 || readS16(data, 0) >= 0) continue;
    for (qsizetype at = 10; at + 4 <= data.size();) {
      const unsigned flags = readU16(data, at), part = readU16(data, at + 2);
      if (part < numGlyphs && !keep[part]) keep[part] = 1, work.push_back(part);
      at += 4 + ((flags & 0x1) ? 4 : 2);
      at += (flags & 0x8) ? 2 : (flags & 0x40) ? 4 : (flags & 0x80) ? 8 : 0;
      if (!(flags & 0x20)) break;
    }
  }

  std::string newGlyf, newLoca;
  for (unsigned g = 0; g < numGlyphs; ++g) {
    put32(newLoca, static_cast<std::uint32_t>(newGlyf.size()));
    if (!keep[g]) continue;
    newGlyf += outline(g);
    newGlyf.resize((newGlyf.size() + 3) & ~std::size_t{3}, '\0');
  }
  put32(newLoca, static_cast<std::uint32_t>(newGlyf.size()));

  // Metrics of glyphs left empty are zeroed: they compress to nothing.
  std::string newHmtx = asString(hmtx);
  const unsigned longMetrics = std::min(readU16(hhea, 34), numGlyphs);
  for (unsigned g = 0; g < numGlyphs; ++g) {
    if (keep[g]) continue;
    const std::size_t at = g < longMetrics ? 4u * g : 4u * longMetrics + 2u * (g - longMetrics);
    const std::size_t size = g < longMetrics ? 4 : 2;
    if (at + size <= newHmtx.size())
      std::fill_n(newHmtx.begin() + static_cast<std::ptrdiff_t>(at), size, '\0');
  }

  std::string newHead = asString(head);
  set16(newHead, 8, 0);
  set16(newHead, 10, 0);
  set16(newHead, 50, 1);

  std::map<std::string, std::string> out;  // by tag
  out["head"] = newHead;
  out["hhea"] = asString(hhea);
  out["maxp"] = asString(maxp);
  out["loca"] = std::move(newLoca);
  out["glyf"] = std::move(newGlyf);
  out["hmtx"] = std::move(newHmtx);
  out["cmap"] = makeCmap(chars);
  for (const char* tag : {"name", "OS/2", "cvt ", "fpgm", "prep"}) {
    QByteArray t = tables(tag);
    if (!t.isEmpty()) out[tag] = asString(t);
  }
  QByteArray post = tables("post");
  if (post.size() >= 32) {
    // Version 3 drops the glyph names, which the PDF never reads.
    std::string p = asString(post.left(32));
    set16(p, 0, 3);
    set16(p, 2, 0);
    out["post"] = p;
  }

  std::vector<std::string> tags;
  for (const auto& t : out) tags.push_back(t.first);
  std::sort(tags.begin(), tags.end(),
            [](const std::string& a, const std::string& b) { return tagValue(a) < tagValue(b); });
  const unsigned count = static_cast<unsigned>(tags.size());
  unsigned selector = 0;
  while ((2u << selector) <= count) ++selector;
  std::string font;
  put32(font, 0x00010000);
  put16(font, count);
  put16(font, 16u << selector);
  put16(font, selector);
  put16(font, count * 16 - (16u << selector));
  std::uint32_t offset = 12 + 16 * count;
  std::size_t headAt = 0;
  std::string body;
  for (const std::string& tag : tags) {
    const std::string& t = out[tag];
    font += tag;
    put32(font, checksum(t));
    put32(font, offset + static_cast<std::uint32_t>(body.size()));
    put32(font, static_cast<std::uint32_t>(t.size()));
    if (tag == "head") headAt = offset + body.size();
    body += t;
    body.resize((body.size() + 3) & ~std::size_t{3}, '\0');
  }
  font += body;
  const std::uint32_t adjust = 0xB1B0AFBAu - checksum(font);
  set16(font, headAt + 8, adjust >> 16);
  set16(font, headAt + 10, adjust & 0xFFFF);
  return font;
}

FontFileStyle fontFileStyle(const FontTables& tables) {
  const QByteArray head = tables("head"), os2 = tables("OS/2"), post = tables("post");
  FontFileStyle style;
  const unsigned mac = readU16(head, 44), selection = readU16(os2, 62);
  style.bold = (head.size() >= 46 && (mac & 1)) || (os2.size() >= 64 && (selection & 0x20)) ||
               (os2.size() >= 6 && readU16(os2, 4) >= 600);
  style.italic = (head.size() >= 46 && (mac & 2)) || (os2.size() >= 64 && (selection & 0x201)) ||
                 (post.size() >= 8 && readU32(post, 4) != 0);
  return style;
}

std::string postScriptName(const QByteArray& table) {
  std::string name;
  const unsigned count = readU16(table, 2), strings = readU16(table, 4);
  for (unsigned i = 0; i < count && name.empty(); ++i) {
    const qsizetype rec = 6 + 12 * static_cast<qsizetype>(i);
    if (readU16(table, rec + 6) != 6) continue;
    const unsigned platform = readU16(table, rec), length = readU16(table, rec + 8);
    const qsizetype at = static_cast<qsizetype>(strings) + readU16(table, rec + 10);
    const bool wide = platform == 0 || platform == 3;
    for (unsigned k = 0; k < length; k += wide ? 2 : 1) {
      const unsigned c = wide                      ? readU16(table, at + k)
                         : at + k < table.size() ? static_cast<uchar>(table[at + k])
                                                 : 0u;
      if (c > 0x20 && c < 0x7F) name += static_cast<char>(c);
    }
  }
  std::string clean;
  for (char c : name)
    if (c > 0x20 && c < 0x7F && !std::strchr("()<>[]{}/%#", c) && clean.size() < 56) clean += c;
  return clean;
}

}  // namespace tarn
