#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "analysis/token_list.h"

namespace tarn {

/// Text escaped for the dumps: backslash as \\, line feed \n, tab \t,
/// carriage return \r, other bytes below 0x20 or from 0x7F up as \xhh.
std::string escapeDumpText(std::string_view text);

/// One line per token: line, class, flags (decimal) and escaped text,
/// separated by tabs.
std::string dumpTokens(const TokenList& tokens);

/// "unit", line and escaped text of each unit start, then "embed", line and
/// escaped description (empty when it has none) of each embed point.
std::string dumpStructure(const std::vector<TToken*>& blocks, const std::vector<TToken*>& embeds);

}  // namespace tarn
