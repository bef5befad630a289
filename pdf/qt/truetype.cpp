#include "pdf/qt/truetype.h"

#include <algorithm>
#include <cctype>
#include <charconv>
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

namespace {

// An INDEX of a CFF table: where its first element lies and where it ends;
// false when it does not fit the table.
struct CffIndex {
  unsigned count = 0;
  qsizetype first = 0, firstEnd = 0, end = 0;
};

bool readCffIndex(const QByteArray& d, qsizetype at, CffIndex& out) {
  if (at < 0 || at + 2 > d.size()) return false;
  out.count = readU16(d, at);
  if (out.count == 0) {
    out.end = at + 2;
    return true;
  }
  const int offSize = at + 3 <= d.size() ? static_cast<uchar>(d[at + 2]) : 0;
  if (offSize < 1 || offSize > 4) return false;
  const qsizetype base = at + 3 + (static_cast<qsizetype>(out.count) + 1) * offSize;
  if (base > d.size()) return false;
  auto offset = [&](qsizetype i) {
    std::uint64_t v = 0;
    for (int k = 0; k < offSize; ++k) v = v << 8 | static_cast<uchar>(d[at + 3 + i * offSize + k]);
    return v;
  };
  // Offsets count from 1, the byte before the data.
  const std::uint64_t first = offset(0), second = offset(1), last = offset(out.count);
  if (first != 1 || second < first || last < second ||
      last - 1 > static_cast<std::uint64_t>(d.size() - base))
    return false;
  out.first = base;
  out.firstEnd = base + static_cast<qsizetype>(second - 1);
  out.end = base + static_cast<qsizetype>(last - 1);
  return true;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

// The value after `key` in a Type 1 font's clear text, up to the line's end.
std::string_view type1Value(std::string_view clear, std::string_view key) {
  for (std::size_t at = 0; (at = clear.find(key, at)) != std::string_view::npos;) {
    at += key.size();
    // A longer key that starts alike is another one.
    if (at < clear.size() && !isBlank(clear[at]) && std::string_view("/[{(").find(clear[at]) ==
                                                        std::string_view::npos)
      continue;
    while (at < clear.size() && (clear[at] == ' ' || clear[at] == '\t')) ++at;
    return clear.substr(at, clear.find_first_of("\r\n", at) - at);
  }
  return {};
}

// The numbers at the start of `value`, after an opening bracket.
std::vector<double> type1Numbers(std::string_view value, std::size_t most) {
  std::vector<double> numbers;
  const char* p = value.data();
  const char* end = p + value.size();
  while (p < end && (isBlank(*p) || *p == '[' || *p == '{')) ++p;
  while (p < end && numbers.size() < most) {
    double v = 0;
    const auto [next, error] = std::from_chars(p, end, v);
    if (error != std::errc() || !std::isfinite(v)) break;
    numbers.push_back(v);
    for (p = next; p < end && isBlank(*p);) ++p;
  }
  return numbers;
}

}  // namespace

bool cffHasNamedGlyphs(const QByteArray& cff) {
  if (cff.size() < 4 || static_cast<uchar>(cff[0]) != 1) return false;
  CffIndex names, dicts;
  if (!readCffIndex(cff, static_cast<uchar>(cff[2]), names) || names.count != 1 ||
      !readCffIndex(cff, names.end, dicts) || dicts.count != 1)
    return false;
  // The top dictionary: CID-keyed fonts open it with the ROS operator.
  bool charStrings = false;
  for (qsizetype at = dicts.first; at < dicts.firstEnd;) {
    const int b = static_cast<uchar>(cff[at]);
    if (b == 12) {
      if (at + 1 >= dicts.firstEnd || static_cast<uchar>(cff[at + 1]) == 30) return false;
      at += 2;
    } else if (b <= 21) {
      charStrings |= b == 17;
      ++at;
    } else if (b == 28 || b == 29) {
      at += b == 28 ? 3 : 5;
    } else if (b == 30) {  // a real: nibbles up to the one that is 0xF
      for (++at; at < dicts.firstEnd; ++at) {
        const int n = static_cast<uchar>(cff[at]);
        if ((n >> 4) == 0xF || (n & 0xF) == 0xF) break;
      }
      ++at;
    } else if (b >= 32 && b <= 254) {
      at += b <= 246 ? 1 : 2;
    } else {
      return false;
    }
  }
  return charStrings;
}

std::optional<Type1Font> readType1(std::string_view file) {
  Type1Font t;
  if (!file.empty() && static_cast<uchar>(file[0]) == 0x80) {
    // Segments of clear text (1) and binary (2), up to the end mark (3).
    for (std::size_t at = 0; at + 2 <= file.size() && static_cast<uchar>(file[at]) == 0x80;) {
      const int type = static_cast<uchar>(file[at + 1]);
      if (type == 3) break;
      if ((type != 1 && type != 2) || at + 6 > file.size()) return std::nullopt;
      std::uint32_t size = 0;
      for (int k = 5; k >= 2; --k) size = size << 8 | static_cast<uchar>(file[at + k]);
      at += 6;
      if (size > file.size() - at) return std::nullopt;
      (type == 2 ? t.binary : t.binary.empty() ? t.clear : t.trailer) += file.substr(at, size);
      at += size;
    }
  } else {
    const std::size_t eexec = file.find("eexec");
    if (file.substr(0, 2) != "%!" || eexec == std::string_view::npos) return std::nullopt;
    std::size_t start = eexec + 5;
    if (file.substr(start, 2) == "\r\n")
      start += 2;
    else if (start < file.size() && isBlank(file[start]))
      ++start;
    t.clear = file.substr(0, start);
    // The trailer: 512 zeros, in lines, and cleartomark.
    std::size_t end = file.size();
    const std::size_t mark = file.rfind("cleartomark");
    if (mark != std::string_view::npos && mark > start) {
      end = mark;
      for (int zeros = 0; end > start && zeros < 512; --end) {
        if (file[end - 1] == '0')
          ++zeros;
        else if (!isBlank(file[end - 1]))
          break;
      }
      t.trailer = file.substr(end);
    }
    const std::string_view part = file.substr(start, end - start);
    // Binary data starts with a byte that no hex text has.
    if (part.size() >= 4 && std::all_of(part.begin(), part.begin() + 4, [](char c) {
          return std::isxdigit(static_cast<unsigned char>(c));
        })) {
      int high = -1;
      for (char c : part) {
        if (isBlank(c)) continue;
        if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
        const int v = c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
        if (high < 0) {
          high = v;
        } else {
          t.binary += static_cast<char>(high << 4 | v);
          high = -1;
        }
      }
    } else {
      t.binary = part;
    }
  }

  std::string_view name = type1Value(t.clear, "/FontName");
  if (!name.empty() && name[0] == '/') name.remove_prefix(1);
  for (char c : name) {
    if (c <= 0x20 || c >= 0x7F || std::strchr("()<>[]{}/%#", c) || t.name.size() >= 56) break;
    t.name += c;
  }
  if (t.name.empty() || t.binary.size() < 4) return std::nullopt;
  const std::vector<double> matrix = type1Numbers(type1Value(t.clear, "/FontMatrix"), 1);
  const double scale = !matrix.empty() && matrix[0] > 0 && matrix[0] < 1 ? matrix[0] * 1000 : 1;
  const std::vector<double> box = type1Numbers(type1Value(t.clear, "/FontBBox"), 4);
  if (box.size() == 4)
    for (std::size_t i = 0; i < 4; ++i) t.bbox[i] = box[i] * scale;
  const std::vector<double> angle = type1Numbers(type1Value(t.clear, "/ItalicAngle"), 1);
  if (!angle.empty() && std::abs(angle[0]) < 90) t.italicAngle = angle[0];
  t.fixedPitch = type1Value(t.clear, "/isFixedPitch").substr(0, 4) == "true";
  std::string weight(type1Value(t.clear, "/Weight"));
  for (char& c : weight) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const char* heavy : {"bold", "black", "heavy", "demi"})
    t.bold |= weight.find(heavy) != std::string::npos;
  return t;
}

}  // namespace tarn
