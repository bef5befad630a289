#pragma once

#include <string_view>

#include "analysis/token_list.h"

namespace tarn {

/// Settings that shape the token list.
struct LexOptions {
  int tabWidth = 2;                ///< spaces a tab becomes; 0 or less makes a tab an error
  bool keywordsUppercase = false;  ///< words of the tables are written in upper case
  bool lineBeforeUnit = false;     ///< one extra line-end token before the text
};

/// Longest tab text; wider tab widths are cut to it.
inline constexpr int kMaxTabText = 59;

/// Turns a file's text (as SourceTextReader gives it; it ends at the first
/// NUL) into tokens appended to `tokens`. Clarion lexing classifies words,
/// strings, numbers, operators and comments; plain-text lexing splits at
/// blanks and delimiters. Throws AnalysisError("Illegal string property in
/// token") for a tab when the tab text is empty.
void lex(std::string_view text, bool isClarion, const LexOptions& options, TokenList& tokens);

}  // namespace tarn
