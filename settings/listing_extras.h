#pragma once

#include "platform/profile.h"

namespace tarn {

/// Listing options kept in the profile beside the settings record, whose
/// stored image has no room for them.
struct ListingExtras {
  bool lineNumbers = false;  ///< "LineNumbers": each source line with its number
  bool pageCount = false;    ///< "PageCount": "Page 3 of 12" in the header
  bool pdfOutline = true;    ///< "PdfOutline": PDF files carry bookmarks of units and embeds
  friend bool operator==(const ListingExtras&, const ListingExtras&) = default;
};

/// The section of the profile that holds them.
inline constexpr const char* kListingExtrasSection = "Tarnlist";

/// Reads the options; a key that is absent keeps its default, any number
/// but 0 counts as on.
ListingExtras readListingExtras(Profile& profile);

/// Writes the keys whose values differ from `before`; false when the
/// profile could not be written.
bool writeListingExtras(Profile& profile, const ListingExtras& now, const ListingExtras& before);

}  // namespace tarn
