#pragma once

#include <string>
#include <vector>

#include "platform/printout.h"
#include "settings/setup_data.h"

namespace tarn {

/// One line of a book's contents or index and the page it leads to.
struct BookLine {
  std::vector<std::string> cells;  ///< UTF-8
  /// Where the line leads: a file of the book and a line of it (0: its first
  /// page); file 0: nowhere.
  LinkTarget target;
};

/// The contents or the index of a book: a title, column headings and lines,
/// as many pages as they take, each line a link. Columns listed in
/// `rightAligned` (numbers) are aligned at their right edge.
class BookTablePrintout : public Printout {
 public:
  BookTablePrintout(std::string title, std::vector<std::string> headings,
                    std::vector<bool> rightAligned, std::vector<BookLine> lines,
                    const SetupData& setup);

  /// The book's number of this part's first page.
  void setFirstPage(int page) { firstPage_ = page; }
  /// Lines a page holds on the device of the last pass; known after beginPrinting().
  int pageCount() override;

  bool beginPrinting() override;
  bool hasPage(int page) override { return page >= 1 && page <= pageCount(); }
  void printPage(int page, const Rect& rect) override;
  void wantLinks() override { links_ = true; }
  DocumentInfo documentInfo() override;

 private:
  struct Layout {
    Rect band;  // the header band
    int top = 0, pitch = 1, perPage = 1;
    std::vector<int> x;  // each column's left (right when aligned so) edge
    int right = 0;
  };
  Layout layOut(const Rect& rect);

  std::vector<std::string> headings_;
  std::vector<bool> rightAligned_;
  std::vector<BookLine> lines_;
  const SetupData& setup_;
  int firstPage_ = 1;
  bool links_ = false;
  int perPage_ = 0;
  std::vector<LinkArea> areas_;
};

}  // namespace tarn
