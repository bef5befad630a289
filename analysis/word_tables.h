#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "analysis/token.h"

/// The word tables that decide a word's class, and the structure table.
namespace tarn::words {

/// Positions of the tables; a classifying table's position is the class it gives.
enum TablePosition : int {
  kBuiltIns = 0,
  kDirectives = 2,
  kKeywords = 4,
  kEquates = 8,
  kStructures = 10,  ///< compound structures closed by END or "."; never used for classing
};

/// Longest word the lexer copies for a lookup; longer runs are never found.
inline constexpr std::size_t kMaxLookupLength = 1999;

/// Sorts the tables once per run; every lookup calls it first.
void prepare();

/// The entries of a table, sorted after preparation (empty for unused positions).
std::span<const std::string_view> table(int position);

/// The class a word gets from the classifying tables (0, 2, 4 or 8), searched
/// in that order, ignoring case; nothing when no table holds it.
std::optional<TokenClass> classify(std::string_view word);

/// Whether the word (any case) stands in the structure table.
bool isStructureWord(std::string_view word);

}  // namespace tarn::words
