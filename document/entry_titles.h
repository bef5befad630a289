#pragma once

#include <string>

#include "analysis/token.h"

namespace tarn {

/// The keyword that follows a unit's label ("PROCEDURE", "ROUTINE", ...);
/// null when the entry is no label or nothing follows it.
const TToken* keywordAfterLabel(const TToken* entry);

/// A unit as its list shows it: "BrowseCustomers PROCEDURE",
/// "RefreshTitle ROUTINE", "PROGRAM" (Windows-1252).
std::string unitTitle(const TToken* entry);

/// An embed point as its list shows it: the embed description, else its
/// comment without the "!", the blanks after it and the line end (Windows-1252).
std::string embedTitle(const TToken* comment);

}  // namespace tarn
