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

TEST(SourceText, LongFilesLoadWhole) {
  std::string crlf;
  while (crlf.size() < 3'000'000) crlf += "abcdefgh\r\n";
  crlf += "last";
  EXPECT_EQ(sourceTextOf(crlf).size(), crlf.size() / 10 * 9 + 4);
}

TEST(SourceText, Utf8IsReadAsWindows1252) {
  struct Case {
    const char* name;
    std::string bytes;
    std::string text;
  };
  const Case cases[] = {
      {"mark only", "\xEF\xBB\xBF", ""},
      {"mark and ASCII", "\xEF\xBB\xBF" "A LONG\r\n", "A LONG\n"},
      {"mark and UTF-8", "\xEF\xBB\xBF\xC3\xA9", "\xE9"},
      {"mark and Windows-1252", "\xEF\xBB\xBF\xE9t\xE9", "\xE9t\xE9"},
      {"a mark past the start stays", "a\xEF\xBB\xBF", "a?"},
      {"a cut mark is text", "\xEF\xBB", "\xEF\xBB"},
      {"accents, euro, quotes", "caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x9Cq\xE2\x80\x9D",
       "caf\xE9 \x80 \x93q\x94"},
      {"outside the code page", "\xE4\xB8\xAD\xF0\x9F\x98\x80!", "?" "?!"},
      {"a lone Windows-1252 byte", "caf\xE9 \xC3\xA9", "caf\xE9 \xC3\xA9"},
      {"sequence cut by the end", "\xC3\xA9\xE2\x82", "\xC3\xA9\xE2\x82"},
      {"UTF-8 before Ctrl-Z", "\xC3\xA9\x1A\xFF", "\xE9"},
      {"CR inside a sequence", "\xC3\r\xA9", "\xC3\xA9"},
      {"overlong form", "\xC0\xA9\xC3\xA9", "\xC0\xA9\xC3\xA9"},
      {"C1 codes without a byte", "\xC2\x81\xC2\x80", "\x81?"},
      {"ASCII", "A\tB\x7F", "A\tB\x7F"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(sourceTextOf(c.bytes), c.text);
    for (std::size_t size : {1u, 2u, 4u}) {
      SourceTextReader reader;
      for (std::size_t at = 0; at < c.bytes.size() && reader.feed(c.bytes.substr(at, size));)
        at += size;
      EXPECT_EQ(reader.take(), c.text) << "in chunks of " << size;
    }
  }
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
  EXPECT_FALSE(reader.feed("more")) << "nothing is taken after the end";
  EXPECT_EQ(reader.take(), sourceTextOf(bytes));
}

}  // namespace
}  // namespace tarn
