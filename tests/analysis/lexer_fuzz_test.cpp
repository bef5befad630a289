// Randomized input for the lexer: random bytes, Clarion-like fragments and
// mutated real files must lex without crash, hang or out-of-bounds access
// (this suite also runs under the sanitizers), and the token list must keep
// its invariants.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "analysis/lexer.h"
#include "analysis/source_text.h"
#include "support/fakes.h"

namespace tarn {
namespace {

constexpr std::uint32_t kLexerFlags = tfLineEnd | tfLabel | tfComment | tfEmbedBefore | tfEmbedAfter;

void checkInvariants(const std::string& text, bool clarion, const LexOptions& options) {
  TokenList tokens;
  lex(text, clarion, options, tokens);
  std::string_view visible(text.data(), std::min(text.size(), text.find('\0')));
  int lines = 1 + static_cast<int>(std::count(visible.begin(), visible.end(), '\n')) +
              (options.lineBeforeUnit ? 1 : 0);
  int previousLine = 1;
  std::string joined;
  bool hasTab = visible.find('\t') != std::string_view::npos;
  for (const TToken* t = tokens.front(); t; t = t->next()) {
    ASSERT_GT(t->length, 0u);
    ASSERT_EQ(std::strlen(t->text), t->length);
    ASSERT_GE(t->tokenClass, 0);
    ASSERT_LE(t->tokenClass, 9);
    ASSERT_EQ(t->flags & ~kLexerFlags, 0u);
    if (!clarion) {
      ASSERT_EQ(t->flags & ~tfLineEnd, 0u);
    }
    ASSERT_EQ(t->has(tfLabel), t->is(tcLabel));
    ASSERT_GE(t->line, previousLine);
    ASSERT_LE(t->line, lines);
    previousLine = t->line;
    joined.append(t->view());
  }
  if (!hasTab && !options.lineBeforeUnit && !options.keywordsUppercase) {
    ASSERT_EQ(joined, visible);
  }
}

std::string randomBytes(std::mt19937& rng, std::size_t n) {
  std::string s(n, '\0');
  std::uniform_int_distribution<int> byte(0, 255);
  for (char& c : s) c = static_cast<char>(byte(rng));
  return s;
}

std::string clarionLike(std::mt19937& rng, std::size_t pieces) {
  static const std::vector<std::string> kPieces = {
      "PROGRAM", "PROCEDURE", "END", "WINDOW", "CODE", "  ", "\n", "\t", "!", " ! Before Embed Point: %x) DESC(d) ARG(a)",
      "'", "''", "(", ")", ".", ",", "|", "1.2e3", "Loc:Name", "MyQueue.Total", "Queue", "true",
      "EVENT:Accepted", "\r", "\x1A", "\xBB", "\xE9", "x", "MAP", "MODULE('a.clw')", ";", "^", "@n10.2"};
  std::uniform_int_distribution<std::size_t> pick(0, kPieces.size() - 1);
  std::string s;
  for (std::size_t i = 0; i < pieces; ++i) s += kPieces[pick(rng)];
  return s;
}

void mutate(std::mt19937& rng, std::string& s, int edits) {
  std::uniform_int_distribution<int> byte(0, 255);
  for (int e = 0; e < edits && !s.empty(); ++e) {
    std::uniform_int_distribution<std::size_t> at(0, s.size() - 1);
    switch (rng() % 3) {
      case 0: s[at(rng)] = static_cast<char>(byte(rng)); break;
      case 1: s.insert(at(rng), 1, static_cast<char>(byte(rng))); break;
      default: s.erase(at(rng), 1 + rng() % 16);
    }
  }
}

LexOptions randomOptions(std::mt19937& rng) {
  LexOptions o;
  o.tabWidth = static_cast<int>(rng() % 8) + 1;
  o.keywordsUppercase = rng() % 2;
  o.lineBeforeUnit = rng() % 4 == 0;
  return o;
}

TEST(LexerFuzz, RandomBytes) {
  std::mt19937 rng(20261207);
  for (int i = 0; i < 3000; ++i) {
    std::string text = randomBytes(rng, rng() % 400);
    for (bool clarion : {true, false}) ASSERT_NO_FATAL_FAILURE(checkInvariants(text, clarion, randomOptions(rng)));
  }
}

TEST(LexerFuzz, ClarionFragments) {
  std::mt19937 rng(7);
  for (int i = 0; i < 3000; ++i) {
    std::string text = clarionLike(rng, rng() % 80);
    if (i % 2) mutate(rng, text, 3);
    for (bool clarion : {true, false}) ASSERT_NO_FATAL_FAILURE(checkInvariants(text, clarion, randomOptions(rng)));
  }
}

TEST(LexerFuzz, MutatedRealFiles) {
  std::string root = test::corpusDir();
  if (root.empty()) GTEST_SKIP() << "the Clarion corpus is not on this machine";
  std::mt19937 rng(99);
  int files = 0;
  for (auto& e : std::filesystem::recursive_directory_iterator(root)) {
    if (!e.is_regular_file()) continue;
    auto bytes = test::readRealFile(e.path().string());
    ASSERT_TRUE(bytes);
    std::string text = sourceTextOf(*bytes);
    ASSERT_NO_FATAL_FAILURE(checkInvariants(text, true, LexOptions{}));
    for (int round = 0; round < 3; ++round) {
      std::string mutated = text;
      mutate(rng, mutated, 20);
      ASSERT_NO_FATAL_FAILURE(checkInvariants(mutated, true, randomOptions(rng)));
    }
    ++files;
  }
  EXPECT_GT(files, 20);
}

TEST(LexerFuzz, LargeAndDegenerateTexts) {
  const std::string texts[] = {
      std::string(200000, '('),  std::string(200000, '\''), std::string(200000, '\n'),
      std::string(200000, '!'),  std::string(200000, ' '),  std::string(200000, '.'),
      std::string(300000, 'Q') + "\n", "\n" + std::string(300000, '9'),
  };
  for (const std::string& t : texts)
    for (bool clarion : {true, false}) ASSERT_NO_FATAL_FAILURE(checkInvariants(t, clarion, LexOptions{}));
  std::string binary = sourceTextOf(std::string(5'000'000, '\x90'));
  ASSERT_NO_FATAL_FAILURE(checkInvariants(binary, true, LexOptions{}));
}

}  // namespace
}  // namespace tarn
