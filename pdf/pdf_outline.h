#pragma once

#include <string>
#include <vector>

namespace tarn {

class PdfFile;

/// One bookmark: its title and where it leads, with its children.
struct PdfOutlineItem {
  std::u16string title;
  int page = 0;     ///< index into the document's pages
  double top = 0;   ///< points above the paper's bottom edge
  std::vector<PdfOutlineItem> children;
};

/// Writes the outline into `file`, leading to `pageObjects` (object numbers
/// by page index); items on pages the file lacks are left out, their
/// children taking their place. Children start closed. Returns the object
/// number of the outline dictionary, 0 when nothing was written.
int writeOutline(PdfFile& file, const std::vector<PdfOutlineItem>& items,
                 const std::vector<int>& pageObjects);

}  // namespace tarn
