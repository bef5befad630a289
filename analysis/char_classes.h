#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "platform/cp1252.h"

/// Character classes of the lexer, one table lookup each.
namespace tarn::chars {

enum : std::uint8_t {
  kLetter = 0x01,     ///< A-Z, a-z only
  kDigit = 0x02,      ///< 0-9
  kWord = 0x04,       ///< letters and digits of the code page plus #$".:_?@~{}`
  kSeparator = 0x08,  ///< Clarion: space, tab, CR, LF, '!'
  kOperator = 0x10,   ///< +-/*%<>=&()[],;|^
  kBlank = 0x20,      ///< plain text: space, tab, LF, CR
  kDelimiter = 0x40,  ///< plain text: (),.[]}{/*-+
};

constexpr std::array<std::uint8_t, 256> buildTable() {
  std::array<std::uint8_t, 256> t{};
  auto mark = [&t](std::string_view set, std::uint8_t cls) {
    for (char c : set) t[static_cast<unsigned char>(c)] |= cls;
  };
  for (int c = 0; c < 256; ++c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) t[c] |= kLetter;
    if (c >= '0' && c <= '9') t[c] |= kDigit;
    // 255 stays outside the word characters, as code 0 does.
    if (c >= 1 && c <= 254 && cp1252::isAlphaNumeric(static_cast<unsigned char>(c)))
      t[c] |= kWord;
  }
  mark("#$\".:_?@~{}`", kWord);
  mark(" \t\r\n!", kSeparator);
  mark("+-/*%<>=&()[],;|^", kOperator);
  mark(" \t\n\r", kBlank);
  mark("(),.[]}{/*-+", kDelimiter);
  return t;
}

inline constexpr std::array<std::uint8_t, 256> kTable = buildTable();

inline bool is(char c, std::uint8_t cls) {
  return (kTable[static_cast<unsigned char>(c)] & cls) != 0;
}
inline bool isLetter(char c) { return is(c, kLetter); }
inline bool isDigit(char c) { return is(c, kDigit); }
inline bool isWordChar(char c) { return is(c, kWord); }
inline bool isSeparator(char c) { return is(c, kSeparator); }
inline bool isOperator(char c) { return is(c, kOperator); }
inline bool isBlank(char c) { return is(c, kBlank); }
inline bool isDelimiter(char c) { return is(c, kDelimiter); }

}  // namespace tarn::chars
