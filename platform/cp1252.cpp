#include "platform/cp1252.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace tarn::cp1252 {
namespace {

// 0x80..0x9F differ from Latin-1; the five unassigned bytes keep their C1 code.
constexpr std::array<char16_t, 32> kHighTable = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

struct Tables {
  std::array<unsigned char, 256> upper{};
};

Tables makeTables() {
  Tables t;
  for (int c = 0; c < 256; ++c) {
    unsigned char u = static_cast<unsigned char>(c);
    if (c >= 'a' && c <= 'z') u = static_cast<unsigned char>(c - 32);
    else if (c >= 0xE0 && c <= 0xFE && c != 0xF7) u = static_cast<unsigned char>(c - 32);
    else if (c == 0x9A || c == 0x9C || c == 0x9E) u = static_cast<unsigned char>(c - 16);
    else if (c == 0xFF) u = 0x9F;
    t.upper[c] = u;
  }
  return t;
}

const Tables& tables() {
  static const Tables t = makeTables();
  return t;
}

}  // namespace

unsigned char toUpper(unsigned char c) { return tables().upper[c]; }

std::string upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(toUpper(static_cast<unsigned char>(c)));
  return out;
}

int compareIgnoreCase(std::string_view a, std::string_view b) {
  const auto& up = tables().upper;
  std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    int ca = up[static_cast<unsigned char>(a[i])];
    int cb = up[static_cast<unsigned char>(b[i])];
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

char32_t toUnicode(unsigned char c) {
  if (c >= 0x80 && c <= 0x9F) return kHighTable[c - 0x80];
  return c;
}

int fromUnicode(char32_t u) {
  if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return static_cast<int>(u);
  for (std::size_t i = 0; i < kHighTable.size(); ++i)
    if (kHighTable[i] == u) return static_cast<int>(0x80 + i);
  return -1;
}

namespace {

struct Decoded {
  char32_t code;
  std::size_t length;  // 0: not a valid sequence
};

constexpr bool isSurrogate(char32_t u) { return u >= 0xD800 && u <= 0xDFFF; }

Decoded decode(std::string_view utf8, std::size_t i) {
  const unsigned char b = static_cast<unsigned char>(utf8[i]);
  if (b < 0x80) return {b, 1};
  const std::size_t len = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
  char32_t u = len == 4 ? (b & 0x07u) : len == 3 ? (b & 0x0Fu) : (b & 0x1Fu);
  bool ok = len > 1 && b <= 0xF4 && i + len <= utf8.size();
  for (std::size_t k = 1; ok && k < len; ++k) {
    const unsigned char c = static_cast<unsigned char>(utf8[i + k]);
    if ((c & 0xC0) != 0x80) ok = false;
    u = (u << 6) | (c & 0x3Fu);
  }
  const char32_t least = len == 2 ? 0x80 : len == 3 ? 0x800 : 0x10000;
  if (!ok || u < least || u > 0x10FFFF) return {0, 0};
  return {u, len};
}

}  // namespace

std::string fromUtf8(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const Decoded d = decode(utf8, i);
    const int mapped = d.length ? fromUnicode(d.code) : -1;
    out += mapped < 0 ? '?' : static_cast<char>(mapped);
    i += d.length ? d.length : 1;
  }
  return out;
}

bool isUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const Decoded d = decode(text, i);
    if (!d.length || isSurrogate(d.code)) return false;
    i += d.length;
  }
  return true;
}

std::u32string codePoints(std::string_view utf8) {
  std::u32string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const Decoded d = decode(utf8, i);
    const bool valid = d.length && !isSurrogate(d.code);
    out += valid ? d.code : U'\uFFFD';
    i += valid ? d.length : 1;
  }
  return out;
}

std::optional<std::string> fromUtf8Exactly(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const Decoded d = decode(utf8, i);
    const int mapped = d.length ? fromUnicode(d.code) : -1;
    if (mapped < 0) return std::nullopt;
    out += static_cast<char>(mapped);
    i += d.length;
  }
  return out;
}

std::string asUtf8(std::string_view text) {
  return isUtf8(text) ? std::string(text) : toUtf8(text);
}

std::string toUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (char ch : text) {
    char32_t u = toUnicode(static_cast<unsigned char>(ch));
    if (u < 0x80) {
      out += static_cast<char>(u);
    } else if (u < 0x800) {
      out += static_cast<char>(0xC0 | (u >> 6));
      out += static_cast<char>(0x80 | (u & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (u >> 12));
      out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (u & 0x3F));
    }
  }
  return out;
}

}  // namespace tarn::cp1252
