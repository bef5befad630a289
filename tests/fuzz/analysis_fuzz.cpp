// A file's bytes through the lexer and the whole analysis, in each of a few
// settings. Beyond "no crash": the tokens hold the text, in order, and
// nothing else; flags stand only where they may; units and embed points are
// tokens of the file, in file order; an error always carries its message.
#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <string>
#include <vector>

#include "analysis/analyser.h"
#include "analysis/analysis_error.h"
#include "analysis/source_text.h"
#include "fuzz_check.h"
#include "platform/cp1252.h"

namespace tarn {
namespace {

constexpr std::uint32_t kLexerFlags = tfLineEnd | tfLabel | tfComment | tfEmbedBefore | tfEmbedAfter;
constexpr std::uint32_t kWalkFlags = tfUnitStart | tfBeforeUnit | tfStructStart | tfStructEnd;

struct Setting {
  int tabWidth;
  bool uppercase;
  bool lineBeforeUnit;
  bool precedingComment;
};
constexpr Setting kSettings[] = {
    {2, false, false, false}, {8, true, false, true}, {1, false, true, true}, {0, true, true, false}};

bool knownMessage(std::string_view m) {
  auto has = [&](std::string_view s) { return m.find(s) != std::string_view::npos; };
  return m == "Illegal string property in token" ||
         (m.starts_with("Error in syntax in line ") && has(": Bad compund structure")) ||
         (m.starts_with("Error in syntax in line ") && has(": Bad brackets () pair matching")) ||
         (m.starts_with("Line ") && has(": Token is zero after ruling out parameter declarations"));
}

std::string withoutBlanks(std::string_view s) {
  std::string r;
  for (char c : s)
    if (c != ' ' && c != '\t') r += c;
  return r;
}

/// The token list as the lexer must leave it for `text`.
void checkTokens(const TokenList& tokens, std::string_view text, bool clarion, const Setting& s) {
  const int lines = 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n')) +
                    (s.lineBeforeUnit ? 1 : 0);
  std::string joined;
  int previousLine = 1;
  for (const TToken* t = tokens.front(); t; t = t->next()) {
    FUZZ_CHECK(t->length > 0 && std::strlen(t->text) == t->length, "token text is its length");
    FUZZ_CHECK(t->tokenClass >= 0 && t->tokenClass < kTokenClassCount, "token class in range");
    FUZZ_CHECK((t->flags & ~kLexerFlags) == 0, "lexer sets only its flags");
    FUZZ_CHECK(clarion || (t->flags & ~tfLineEnd) == 0, "plain text has only line ends");
    FUZZ_CHECK(t->has(tfLabel) == t->is(tcLabel), "label flag with label class");
    FUZZ_CHECK(!t->has(tfComment | tfEmbedBefore | tfEmbedAfter) || t->is(tcComment),
               "comment flags on separators only");
    FUZZ_CHECK(!t->has(tfEmbedBefore | tfEmbedAfter) || t->has(tfComment),
               "embed flags on comments only");
    std::string_view v = t->view();
    FUZZ_CHECK(v.find('\n') == std::string_view::npos || v.find('\n') == v.size() - 1,
               "a line end ends its token");
    FUZZ_CHECK(t->has(tfLineEnd) == (v.back() == '\n'), "line-end flag on line ends");
    FUZZ_CHECK(t->line >= previousLine && t->line <= lines, "lines in order and in the file");
    previousLine = t->line;
    if (t == tokens.front() && s.lineBeforeUnit) continue;
    joined.append(v);
  }
  // Tabs become blanks and blanks before a tab go; every other byte stays,
  // in order, upper-cased where keywords are.
  std::string expected = withoutBlanks(text), got = withoutBlanks(joined);
  if (s.uppercase) {
    expected = cp1252::upper(expected);
    got = cp1252::upper(got);
  }
  FUZZ_CHECK(got == expected, "tokens hold the text");
  if (text.find('\t') == std::string_view::npos && !s.uppercase)
    FUZZ_CHECK(joined == text, "tokens hold the text byte for byte");
}

void checkStructure(const TokenList& tokens, const Structure& structure) {
  std::vector<const TToken*> order;
  std::unordered_map<const TToken*, std::ptrdiff_t> index;
  for (const TToken* t = tokens.front(); t; t = t->next()) {
    index.emplace(t, static_cast<std::ptrdiff_t>(order.size()));
    order.push_back(t);
  }
  auto position = [&](const TToken* t) {
    auto it = index.find(t);
    FUZZ_CHECK(it != index.end(), "a recorded token is a token of the file");
    return it->second;
  };
  std::ptrdiff_t last = -1;
  for (const TToken* t : structure.blocks) {
    std::ptrdiff_t at = position(t);
    FUZZ_CHECK(at > last, "units in file order, each once");
    last = at;
    FUZZ_CHECK(t->is(tcLabel) || t->is(tcKeyword), "a unit starts at a label or keyword");
  }
  last = -1;
  for (const TToken* t : structure.embeds) {
    std::ptrdiff_t at = position(t);
    FUZZ_CHECK(at > last, "embed points in file order, each once");
    last = at;
    FUZZ_CHECK(t->has(tfEmbedBefore), "an embed point is an embed comment");
    auto description = embedDescription(t->view());
    FUZZ_CHECK(!description || description->size() <= kMaxEmbedDescription,
               "embed description within its limit");
  }
  std::size_t starts = 0;
  for (const TToken* t : order) {
    starts += t->has(tfUnitStart);
    FUZZ_CHECK(!t->has(tfStructEnd) || t->is(tcKeyword), "a structure ends at a keyword");
    FUZZ_CHECK((t->flags & ~(kLexerFlags | kWalkFlags)) == 0, "only known flags");
  }
  FUZZ_CHECK(starts == structure.blocks.size(), "one start mark per unit");
}

void run(std::string_view text, bool clarion, const Setting& s) {
  AnalyseOptions options;
  options.lex = {s.tabWidth, s.uppercase, s.lineBeforeUnit};
  options.includePrecedingComment = s.precedingComment;
  {
    TokenList tokens;
    try {
      lex(text, clarion, options.lex, tokens);
    } catch (const AnalysisError& e) {
      FUZZ_CHECK(std::string_view(e.what()) == "Illegal string property in token" &&
                     s.tabWidth <= 0 && text.find('\t') != std::string_view::npos,
                 "the lexer fails only on a tab of no width");
      return;
    }
    checkTokens(tokens, text, clarion, s);
  }
  TokenList tokens;
  Structure structure;
  try {
    analyse(text, clarion, options, tokens, structure);
  } catch (const AnalysisError& e) {
    FUZZ_CHECK(clarion && knownMessage(e.what()), "an analysis error carries its message");
    return;
  }
  checkStructure(tokens, structure);
}

}  // namespace
}  // namespace tarn

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text = tarn::sourceTextOf(tarn::fuzz::bytes(data, size));
  FUZZ_CHECK(text.find('\0') == std::string::npos && text.find('\r') == std::string::npos,
             "source text holds no NUL or carriage return");
  for (const tarn::Setting& s : tarn::kSettings) tarn::run(text, true, s);
  tarn::run(text, false, tarn::kSettings[0]);
  return 0;
}
