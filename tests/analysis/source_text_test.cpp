#include "analysis/source_text.h"

#include <gtest/gtest.h>

#include <string>

namespace tarn {
namespace {

TEST(SourceText, ReadAsText) {
  struct Case {
    const char* name;
    std::string bytes;
    std::string text;
  };
  const Case cases[] = {
      {"CR LF becomes LF", "a\r\nb\r\n", "a\nb\n"},
      {"a lone CR is dropped", "a\rb", "ab"},
      {"Ctrl-Z ends the text", "abc\x1A" "def", "abc"},
      {"a NUL ends the text", std::string("abc\0def", 7), "abc"},
      {"other control bytes stay", "\x01\x7F\xFF", "\x01\x7F\xFF"},
      {"empty", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(sourceTextOf(c.bytes), c.text);
  }
}

TEST(SourceText, AtMostAMillionCharactersAfterDroppingCarriageReturns) {
  std::string plain(kMaxSourceChars + 1, 'x');
  EXPECT_EQ(sourceTextOf(plain).size(), kMaxSourceChars) << "the last character is lost";

  std::string crlf;
  while (crlf.size() < kMaxSourceChars + 100000) crlf += "abcdefgh\r\n";
  std::string text = sourceTextOf(crlf);
  EXPECT_GT(crlf.size(), kMaxSourceChars);
  EXPECT_EQ(text.size(), crlf.size() / 10 * 9) << "CR LF files longer than the limit load whole";

  std::string big(5'000'000, 'y');
  EXPECT_EQ(sourceTextOf(big).size(), kMaxSourceChars);
}

TEST(SourceText, ChunksGiveTheSameText) {
  std::string bytes;
  for (int i = 0; i < 5000; ++i) bytes += "line " + std::to_string(i) + "\r\n";
  bytes += '\x1A';
  bytes += "after";
  SourceTextReader reader;
  std::size_t at = 0;
  while (at < bytes.size() && reader.feed(std::string_view(bytes).substr(at, 13))) at += 13;
  EXPECT_TRUE(reader.done());
  EXPECT_EQ(reader.text(), sourceTextOf(bytes));
  EXPECT_FALSE(reader.feed("more")) << "nothing is taken after the end";
}

}  // namespace
}  // namespace tarn
