#include "platform/cp1252.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace tarn {
namespace {

TEST(Cp1252, EveryByteSurvivesTheRoundTripThroughUnicode) {
  std::string all;
  for (int b = 1; b < 256; ++b) {
    all += static_cast<char>(b);
    EXPECT_EQ(cp1252::fromUnicode(cp1252::toUnicode(static_cast<unsigned char>(b))), b);
  }
  EXPECT_EQ(cp1252::fromUtf8(cp1252::toUtf8(all)), all);
  EXPECT_EQ(cp1252::fromUnicode(U'\u0100'), -1);
  EXPECT_EQ(cp1252::fromUtf8("a\xE9z\xC3"), "a?z?") << "bytes that are not UTF-8";
}

TEST(Cp1252, FileNamesInUtf8AreToldFromTheCodePage) {
  struct Case {
    const char* name;
    std::string text;
    bool utf8;
    std::u32string codes;              // of the text read as UTF-8
    std::optional<std::string> exact;  // in the code page, when it holds every character
  };
  const Case cases[] = {
      {"ASCII", "main.clw", true, U"main.clw", "main.clw"},
      {"Latin-1 letter", "M\xC3\xBCller", true, U"M\u00FCller", "M\xFCller"},
      {"code page above Latin-1", "\xE2\x82\xAC", true, U"\u20AC", "\x80"},
      {"Polish", "\xC5\x81\xC3\xB3" "d\xC5\xBA", true, U"\u0141\u00F3d\u017A", std::nullopt},
      {"beyond 16 bits", "a\xF0\x9F\x98\x80", true, U"a\U0001F600", std::nullopt},
      {"the code page's own bytes", "M\xFCller", false, U"M\uFFFDller", std::nullopt},
      {"overlong slash", "\xC0\xAF", false, U"\uFFFD\uFFFD", std::nullopt},
      {"surrogate", "\xED\xA0\x80", false, U"\uFFFD\uFFFD\uFFFD", std::nullopt},
      {"cut short", "ab\xE2\x82", false, U"ab\uFFFD\uFFFD", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(cp1252::isUtf8(c.text), c.utf8);
    EXPECT_TRUE(cp1252::codePoints(c.text) == c.codes);
    EXPECT_EQ(cp1252::fromUtf8Exactly(c.text), c.utf8 ? c.exact : std::nullopt);
    // Shown as UTF-8: a valid name as it is, anything else read as the code page.
    EXPECT_EQ(cp1252::asUtf8(c.text), c.utf8 ? c.text : cp1252::toUtf8(c.text));
  }
}

}  // namespace
}  // namespace tarn
