#pragma once

#include <optional>
#include <string>
#include <string_view>

/// Text of the Windows-1252 code page: source files and settings hold these
/// bytes unchanged; they become Unicode only to be drawn or shown.
namespace tarn::cp1252 {

/// The letters and digits of the code page (what IsCharAlphaNumericA says
/// for it), code 0 excluded.
constexpr bool isAlphaNumeric(unsigned char c) {
  if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
  bool letter = c == 0x83 || c == 0x8A || c == 0x8C || c == 0x8E || c == 0x9A || c == 0x9C ||
                c == 0x9E || c == 0x9F || c == 0xAA || c == 0xB5 || c == 0xBA ||
                (c >= 0xC0 && c != 0xD7 && c != 0xF7);
  bool digit = c == 0xB2 || c == 0xB3 || c == 0xB9;
  return letter || digit;
}

/// Upper case of a byte within the code page (as CharUpper does).
unsigned char toUpper(unsigned char c);

/// Upper-cases every byte.
std::string upper(std::string_view text);

/// Case-insensitive three-way comparison: both sides upper-cased byte by
/// byte, then compared as unsigned bytes.
int compareIgnoreCase(std::string_view a, std::string_view b);

/// The Unicode code point of a byte.
char32_t toUnicode(unsigned char c);

/// The byte of a code point, or -1 when the code page lacks it.
int fromUnicode(char32_t u);

/// UTF-8 text converted to the code page; characters it lacks, and bytes that
/// are not valid UTF-8, become '?'.
std::string fromUtf8(std::string_view utf8);

/// The text converted to UTF-8.
std::string toUtf8(std::string_view text);

/// Whether the bytes are valid UTF-8 (shortest forms, no surrogates).
bool isUtf8(std::string_view text);

/// The code points of UTF-8 text; a byte that begins no valid sequence
/// becomes U+FFFD.
std::u32string codePoints(std::string_view utf8);

/// Walks UTF-8 text in order: runs of characters the code page holds reach
/// `bytes` as code-page bytes, every other character reaches `other` alone.
template <class Bytes, class Other>
void splitRuns(std::string_view utf8, Bytes&& bytes, Other&& other) {
  std::string run;
  for (char32_t u : codePoints(utf8)) {
    if (const int b = fromUnicode(u); b >= 0) {
      run += static_cast<char>(b);
      continue;
    }
    if (!run.empty()) bytes(std::string_view(run));
    run.clear();
    other(u);
  }
  if (!run.empty()) bytes(std::string_view(run));
}

/// Valid UTF-8 text in the code page, when it holds every character.
std::optional<std::string> fromUtf8Exactly(std::string_view utf8);

/// Text of either kind as UTF-8: valid UTF-8 as it is (file names), anything
/// else read as the code page (source text).
std::string asUtf8(std::string_view text);

}  // namespace tarn::cp1252
