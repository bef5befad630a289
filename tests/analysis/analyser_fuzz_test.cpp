// Random and mutated Clarion text through the whole analysis: it either
// finishes or raises one of its errors, never crashes or hangs, and what it
// records points into the token list.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <set>
#include <string>

#include "analysis/analyser.h"
#include "analysis/analysis_error.h"
#include "analysis/source_text.h"
#include "support/fakes.h"

namespace tarn {
namespace {

constexpr std::uint32_t kWalkFlags = tfUnitStart | tfBeforeUnit | tfStructStart | tfStructEnd;

bool knownError(const std::string& m) {
  return m.find("Bad compund structure") != std::string::npos ||
         m.find("Bad brackets () pair matching") != std::string::npos ||
         m.find("Token is zero after ruling out parameter declarations") != std::string::npos ||
         m == "Illegal string property in token";
}

/// Analyses the text; returns whether it finished.
bool analyseChecked(const std::string& text, bool includeComment) {
  TokenList tokens;
  Structure s;
  AnalyseOptions o;
  o.includePrecedingComment = includeComment;
  try {
    analyse(text, true, o, tokens, s);
  } catch (const AnalysisError& e) {
    EXPECT_TRUE(knownError(e.what())) << e.what();
    return false;
  }
  std::set<const TToken*> all;
  for (const TToken* t = tokens.front(); t; t = t->next()) all.insert(t);
  for (const TToken* t : s.blocks) {
    EXPECT_TRUE(all.count(t));
    EXPECT_TRUE(t->is(tcLabel) || t->is(tcKeyword));
  }
  for (const TToken* t : s.embeds) {
    EXPECT_TRUE(all.count(t));
    EXPECT_TRUE(t->has(tfEmbedBefore));
  }
  std::size_t starts = 0;
  for (const TToken* t : all) starts += t->has(tfUnitStart);
  EXPECT_EQ(starts, s.blocks.size()) << "one start mark per unit";
  for (const TToken* t : s.embeds) (void)embedDescription(t->view());
  return true;
}

std::string clarionLike(std::mt19937& rng, std::size_t pieces) {
  static const std::vector<std::string> kPieces = {
      "\nA PROCEDURE", "\nB FUNCTION(x)", "\n  CODE", "\n  END", "\n  .", "\nQ QUEUE", "\nG GROUP",
      "\nW WINDOW('x')", "\n  MAP", "\n  MODULE('m')", "\nR ROUTINE", "\n  PROGRAM", "(", ")", "((",
      "))", ",", "&", " CLASS", ",MODULE('a')", " REPORT", " ITEMIZE", "\n! Before Embed Point: %e) DESC(d) ARG(a)",
      "\n! After Embed Point: %e)", "\n! comment", "\n", "  ", "'str'", "'", "x", "1.5", "\t", "|"};
  std::uniform_int_distribution<std::size_t> pick(0, kPieces.size() - 1);
  std::string s;
  for (std::size_t i = 0; i < pieces; ++i) s += kPieces[pick(rng)];
  return s;
}

TEST(AnalyserFuzz, GeneratedText) {
  std::mt19937 rng(1234);
  int finished = 0;
  for (int i = 0; i < 4000; ++i) finished += analyseChecked(clarionLike(rng, rng() % 120), i % 2);
  EXPECT_GT(finished, 100) << "the generator also makes valid files";
}

TEST(AnalyserFuzz, MutatedRealFiles) {
  std::string root = test::corpusDir();
  if (root.empty()) GTEST_SKIP() << "the Clarion corpus is not on this machine";
  std::mt19937 rng(5);
  std::uniform_int_distribution<int> byte(0, 255);
  for (auto& e : std::filesystem::recursive_directory_iterator(root)) {
    if (!e.is_regular_file()) continue;
    std::string text = sourceTextOf(*test::readRealFile(e.path().string()));
    analyseChecked(text, false);
    for (int round = 0; round < 4; ++round) {
      std::string m = text;
      for (int k = 0; k < 10 && !m.empty(); ++k) {
        std::size_t at = rng() % m.size();
        const char* inserts[] = {"(", ")", " END", "\n  END\n", " QUEUE", "\nX PROCEDURE\n"};
        if (rng() % 2)
          m.insert(at, inserts[rng() % 6]);
        else
          m[at] = static_cast<char>(byte(rng));
      }
      analyseChecked(m, round % 2);
    }
  }
}

TEST(AnalyserFuzz, DegenerateFiles) {
  std::string units;
  for (int i = 0; i < 100000; ++i) units += "U PROCEDURE\n";
  std::string nested;
  for (int i = 0; i < 5000; ++i) nested += "  QUEUE\n";
  std::string insideUnit = "P PROCEDURE\n" + nested;
  for (int i = 0; i < 5000; ++i) insideUnit += "  END\n";
  const std::string texts[] = {std::string(100000, '('), std::string(100000, ')'), units, nested,
                               insideUnit, std::string(50000, '.') , "P PROCEDURE\n" + std::string(50000, '.')};
  for (const std::string& t : texts) analyseChecked(t, true);
  TokenList tokens;
  Structure s;
  analyse(units, true, AnalyseOptions{}, tokens, s);
  EXPECT_EQ(s.blocks.size(), 100000u);
}

}  // namespace
}  // namespace tarn
