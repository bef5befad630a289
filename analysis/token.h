#pragma once

#include <cstdint>
#include <string_view>

#include "analysis/linked_list.h"

namespace tarn {

/// Token classes; the value is also the index of the class's style, colour
/// and font.
enum TokenClass : std::int32_t {
  tcBuiltIn = 0,
  tcComment = 1,  ///< every separator: blanks, line ends, tabs, '!' comments
  tcDirective = 2,
  tcIdentifier = 3,
  tcKeyword = 4,
  tcLabel = 5,
  tcLiteral = 6,
  tcOperator = 7,
  tcEquate = 8,
  tcUnknown = 9,
};
inline constexpr int kTokenClassCount = 10;

/// Flag bits of TToken::flags.
enum TokenFlag : std::uint32_t {
  tfUnitStart = 0x001,
  tfBeforeUnit = 0x002,
  tfLineEnd = 0x004,
  tfLabel = 0x008,
  tfComment = 0x020,
  tfEmbedBefore = 0x040,
  tfEmbedAfter = 0x080,
  tfStructStart = 0x200,
  tfStructEnd = 0x400,
};

/// Style name of a token class as the setup dialog lists it.
const char* tokenClassName(int tokenClass);

/// One token of a file; the token itself is the node of the file's list.
/// Its text lives in the list's text store and is never empty.
struct TToken : TLLNode<TToken> {
  const char* text = nullptr;  ///< NUL-terminated
  std::uint32_t length = 0;    ///< characters of text
  std::uint32_t flags = 0;
  std::int32_t tokenClass = tcUnknown;
  std::int32_t line = 1;       ///< 1-based line the token starts on

  TToken() = default;
  TToken(const char* t, std::uint32_t len, std::int32_t cls, std::uint32_t f, std::int32_t ln)
      : text(t), length(len), flags(f), tokenClass(cls), line(ln) {}

  std::string_view view() const { return {text, length}; }
  bool is(TokenClass c) const { return tokenClass == c; }
  bool has(std::uint32_t mask) const { return (flags & mask) != 0; }
  void set(std::uint32_t mask) { flags |= mask; }
  bool isSeparator() const { return tokenClass == tcComment; }
};

}  // namespace tarn
