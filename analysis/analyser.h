#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/lexer.h"
#include "analysis/token_list.h"

namespace tarn {

/// Settings that shape the analysis of a file.
struct AnalyseOptions {
  LexOptions lex;
  bool includePrecedingComment = false;  ///< a unit begins with the comment lines above its label
};

/// What the structure walk finds: unit starts and embed points, in file order.
struct Structure {
  std::vector<TToken*> blocks;  ///< the first token of every unit (label or keyword)
  std::vector<TToken*> embeds;  ///< comments that open an embed point
};

/// Lexes `text` into `tokens`, then walks the tokens once: records units and
/// embed points and marks unit starts and WINDOW/APPLICATION/REPORT
/// structures in the token flags. Throws AnalysisError with the message the
/// user sees; the tokens made so far then stay in `tokens`.
void analyse(std::string_view text, bool isClarion, const AnalyseOptions& options,
             TokenList& tokens, Structure& structure);

/// The structure walk alone, over a finished token list of `source`, whose
/// first line the tokens number `firstLine`.
void walkStructure(TokenList& tokens, bool includePrecedingComment, Structure& structure,
                   std::string_view source, int firstLine = 1);

/// Longest embed description; longer ones are not shown.
inline constexpr std::size_t kMaxEmbedDescription = 399;

/// The display text of an embed comment: the text between "DESC(" and
/// ") ARG(", three spaces, and everything from the first "ARG(" on, less the
/// last character (the comment's line end). Nothing when a marker is missing,
/// stands in the wrong order, or the result is too long.
std::optional<std::string> embedDescription(std::string_view commentText);

}  // namespace tarn
