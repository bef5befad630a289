#pragma once

#include <ctime>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "pdf/pdf_outline.h"
#include "platform/printout.h"

namespace tarn {

class PdfFile;

/// Paper and printable area of a PDF job.
struct PdfPageSetup {
  double paperWidth = 612, paperHeight = 792;  ///< points
  double left = 0, top = 0;  ///< the printable area's top-left corner on the paper, points
  int width = 0, height = 0;  ///< the printable area in device units
  int dpi = 600;

  /// Points a device unit.
  double scale() const;
  /// Device units of the printable area as points on the paper (y up).
  double pointX(double x) const { return left + x * scale(); }
  double pointY(double y) const { return paperHeight - top - y * scale(); }
};

/// A place in a document: a page (index from 0) and a height on it, points.
struct PdfPlace {
  int page = 0;
  double top = 0;
};

/// An area of a page, in points, that leads to a place.
struct PdfLink {
  int page = 0;
  double left = 0, bottom = 0, right = 0, top = 0;
  PdfPlace to;
};

/// A page: its objects, and its resources (0: the page tree's).
struct PdfPage {
  int object = 0;
  int contents = 0;
  int resources = 0;
};

/// What a document's structure is made of.
struct PdfDocument {
  std::vector<PdfPage> pages;
  std::vector<PdfLink> links;
  std::vector<PdfOutlineItem> outline;
  std::u16string title;
  std::optional<std::time_t> created;
  int treeResources = 0;
  double paperWidth = 612, paperHeight = 792;
};

/// Writes the pages with their links, the page tree (object 2), the document
/// information (3), the outline and the catalog (1).
void writePdfStructure(PdfFile& file, const PdfDocument& document);

/// Where the definitions of jobs lie in a document, by file and line; the
/// first place a line prints counts.
class PdfAnchors {
 public:
  /// The anchors of a job of file `file`, its page i at document page
  /// firstPage + i, where `jobPages` numbers the job's pages.
  void add(int file, const DocumentInfo& info, const std::vector<int>& jobPages, int firstPage,
           const PdfPageSetup& page);
  std::optional<PdfPlace> find(int file, int line) const;
  void set(int file, int line, const PdfPlace& place) { places_.try_emplace({file, line}, place); }

 private:
  std::map<std::pair<int, int>, PdfPlace> places_;
};

/// The links of a job drawn as above whose targets `anchors` knows; a job's
/// own file is `file` where a target says 0.
std::vector<PdfLink> pdfLinks(const DocumentInfo& info, const std::vector<int>& jobPages,
                              int firstPage, const PdfPageSetup& page, const PdfAnchors& anchors,
                              int file = 0);

/// The outline of a job drawn as above: its entries of level 1 under the
/// entry before them.
std::vector<PdfOutlineItem> pdfOutline(const DocumentInfo& info, const std::vector<int>& jobPages,
                                       int firstPage, const PdfPageSetup& page);

/// The document page index of job page `jobPage`; -1 when it was not printed.
int documentPage(const std::vector<int>& jobPages, int jobPage);

}  // namespace tarn
