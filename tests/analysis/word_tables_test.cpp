#include "analysis/word_tables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "analysis/char_classes.h"

namespace tarn {
namespace {

TEST(WordTables, CountsOfEveryTable) {
  words::prepare();
  EXPECT_EQ(words::table(words::kBuiltIns).size(), 206u);
  EXPECT_EQ(words::table(words::kDirectives).size(), 8u);
  EXPECT_EQ(words::table(words::kKeywords).size(), 251u);
  EXPECT_EQ(words::table(words::kEquates).size(), 26u);
  EXPECT_EQ(words::table(words::kStructures).size(), 25u);
  for (int unused : {1, 3, 5, 6, 7, 9, 11, -1}) EXPECT_TRUE(words::table(unused).empty());
}

TEST(WordTables, TablesAreSortedForBinarySearch) {
  for (int position : {0, 2, 4, 8, 10}) {
    auto t = words::table(position);
    EXPECT_TRUE(std::is_sorted(t.begin(), t.end())) << "table " << position;
  }
}

TEST(WordTables, Classify) {
  struct Case {
    const char* word;
    int expected;  // -1: found nowhere
  };
  const Case cases[] = {
      {"MESSAGE", tcBuiltIn},   {"message", tcBuiltIn},  {"Yield", tcBuiltIn},
      {"OMIT", tcDirective},    {"Compile", tcDirective}, {"END", tcKeyword},
      {"end", tcKeyword},       {"End", tcKeyword},       {"WINDOW", tcKeyword},
      {"ITEMIZE", tcKeyword},   {"Interface", tcKeyword}, {"ZOOM", tcKeyword},
      {"ACCEPT", tcKeyword},    {"true", tcEquate},       {"False", tcEquate},
      {"EVENT:", tcEquate},  // in the table, though the lexer never asks for it
      {"Log10", tcBuiltIn},  // likewise; the lexer never looks up words with digits
      {"MyProc", -1},           {"", -1},                 {"ENDX", -1},
      {"EN", -1},               {"CONVERTANSITOOEMX", -1},
  };
  for (const Case& c : cases) {
    auto cls = words::classify(c.word);
    if (c.expected < 0)
      EXPECT_FALSE(cls) << c.word;
    else
      EXPECT_EQ(cls, static_cast<TokenClass>(c.expected)) << c.word;
  }
}

TEST(WordTables, WordsLongerThanTheLookupBufferAreNotFound) {
  std::string huge(words::kMaxLookupLength + 1, 'A');
  EXPECT_FALSE(words::classify(huge));
  EXPECT_FALSE(words::isStructureWord(huge));
  EXPECT_FALSE(words::classify(std::string(100000, 'e')));
}

TEST(WordTables, StructureTable) {
  for (const char* w : {"APPLICATION", "class", "Module", "WINDOW", "ITEMIZE", "INTERFACE", "TAB"})
    EXPECT_TRUE(words::isStructureWord(w)) << w;
  for (const char* w : {"END", "IF", "LOOP", "PROCEDURE", ".", "CASE", ""})
    EXPECT_FALSE(words::isStructureWord(w)) << w;
}

TEST(WordTables, NoWordStandsInTwoClassifyingTables) {
  std::vector<std::string_view> all;
  for (int position : {0, 2, 4, 8}) {
    auto t = words::table(position);
    std::vector<std::string_view> unique(t.begin(), t.end());
    unique.erase(std::unique(unique.begin(), unique.end()), unique.end());
    all.insert(all.end(), unique.begin(), unique.end());
  }
  std::sort(all.begin(), all.end());
  EXPECT_EQ(std::adjacent_find(all.begin(), all.end()), all.end());
}

TEST(CharClasses, WordCharactersOfTheCodePage) {
  for (char c : std::string("azAZ09#$\".:_?@~{}`")) EXPECT_TRUE(chars::isWordChar(c)) << c;
  for (int c : {0xC0, 0xE9, 0xFE, 0x8A, 0x9F, 0xB5, 0xB2}) EXPECT_TRUE(chars::isWordChar(static_cast<char>(c))) << c;
  for (int c : {0x00, 0x20, 0x27, 0x21, 0x2B, 0xBB, 0xD7, 0xF7, 0xFF, 0x80, 0xA0, 0x5C})
    EXPECT_FALSE(chars::isWordChar(static_cast<char>(c))) << c;
  EXPECT_FALSE(chars::isLetter(static_cast<char>(0xE9))) << "letters are ASCII only";
}

}  // namespace
}  // namespace tarn
