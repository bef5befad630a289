#include "pdf/pdf_document.h"

#include <algorithm>

#include "pdf/pdf_file.h"
#include "platform/cp1252.h"
#include "pdf/pdf_text.h"

namespace tarn {
namespace {

constexpr const char* kCreator = "Tarnlist for Clarion " TARNLIST_VERSION;

std::string ref(int object) { return std::to_string(object) + " 0 R"; }

std::string destination(const std::vector<PdfPage>& pages, const PdfPlace& to) {
  std::string d = "[" + ref(pages[static_cast<std::size_t>(to.page)].object) + "/XYZ null ";
  appendPdfNumber(d, to.top, 3);
  return d + " null]";
}

}  // namespace

double PdfPageSetup::scale() const { return 72.0 / std::clamp(dpi, 1, 10000); }

void writePdfStructure(PdfFile& file, const PdfDocument& doc) {
  const auto onAPage = [&doc](int page) {
    return page >= 0 && static_cast<std::size_t>(page) < doc.pages.size();
  };
  std::vector<std::string> annots(doc.pages.size());
  for (const PdfLink& link : doc.links) {
    if (!onAPage(link.page) || !onAPage(link.to.page)) continue;
    std::string a = "<</Type/Annot/Subtype/Link/Rect[";
    for (double v : {link.left, link.bottom, link.right, link.top}) {
      appendPdfNumber(a, v, 2);
      a += ' ';
    }
    a.back() = ']';
    // No frame: links never change what is drawn.
    a += "/Border[0 0 0]/Dest" + destination(doc.pages, link.to) + ">>";
    const int object = file.reserve();
    file.object(object, a);
    annots[static_cast<std::size_t>(link.page)] += ref(object) + " ";
  }
  for (std::size_t i = 0; i < doc.pages.size(); ++i) {
    const PdfPage& p = doc.pages[i];
    std::string d = "<</Type/Page/Parent 2 0 R/Contents " + ref(p.contents);
    if (p.resources) d += "/Resources " + ref(p.resources);
    if (!annots[i].empty()) {
      annots[i].back() = ']';
      d += "/Annots[" + annots[i];
    }
    file.object(p.object, d + ">>");
  }

  std::string tree = "<</Type/Pages/MediaBox[0 0 ";
  appendPdfNumber(tree, doc.paperWidth, 3);
  tree += ' ';
  appendPdfNumber(tree, doc.paperHeight, 3);
  tree += "]";
  if (doc.treeResources) tree += "/Resources " + ref(doc.treeResources);
  tree += "/Count " + std::to_string(doc.pages.size()) + "/Kids[";
  for (const PdfPage& p : doc.pages) tree += ref(p.object) + " ";
  tree.back() = ']';
  file.object(2, tree + ">>");
  std::string info = "<</Producer(Tarnlist)/Creator" + pdfTextString(pdfUtf16(kCreator));
  if (!doc.title.empty()) info += "/Title" + pdfTextString(doc.title);
  // The job's own time, fixed by SOURCE_DATE_EPOCH: the same listing gives the same file.
  if (doc.created) info += "/CreationDate" + pdfDate(*doc.created);
  file.object(3, info + ">>");
  std::vector<int> pageObjects;
  for (const PdfPage& p : doc.pages) pageObjects.push_back(p.object);
  const int outline = doc.outline.empty() ? 0 : writeOutline(file, doc.outline, pageObjects);
  file.object(1, outline ? "<</Type/Catalog/Pages 2 0 R/Outlines " + ref(outline) +
                               "/PageMode/UseOutlines>>"
                         : std::string("<</Type/Catalog/Pages 2 0 R>>"));
}

int documentPage(const std::vector<int>& jobPages, int jobPage) {
  // Job pages rise: a range, or every page.
  auto at = std::lower_bound(jobPages.begin(), jobPages.end(), jobPage);
  return at == jobPages.end() || *at != jobPage ? -1 : static_cast<int>(at - jobPages.begin());
}

void PdfAnchors::add(int file, const DocumentInfo& info, const std::vector<int>& jobPages,
                     int firstPage, const PdfPageSetup& page) {
  for (const LinkAnchor& a : info.anchors) {
    const int index = documentPage(jobPages, a.page);
    if (index < 0) continue;
    places_.try_emplace({file, a.line}, PdfPlace{firstPage + index, page.pointY(a.y)});
  }
}

std::optional<PdfPlace> PdfAnchors::find(int file, int line) const {
  auto it = places_.find({file, line});
  if (it == places_.end()) return std::nullopt;
  return it->second;
}

std::vector<PdfOutlineItem> pdfOutline(const DocumentInfo& info, const std::vector<int>& jobPages,
                                       int firstPage, const PdfPageSetup& page) {
  std::vector<PdfOutlineItem> items;
  for (const OutlineEntry& e : info.outline) {
    PdfOutlineItem item;
    item.title = pdfUtf16(e.utf8 ? e.title : cp1252::toUtf8(e.title));
    const int index = documentPage(jobPages, e.page);
    item.page = index < 0 ? -1 : firstPage + index;
    item.top = page.pointY(e.y);
    if (e.level > 0 && !items.empty())
      items.back().children.push_back(std::move(item));
    else
      items.push_back(std::move(item));
  }
  return items;
}

std::vector<PdfLink> pdfLinks(const DocumentInfo& info, const std::vector<int>& jobPages,
                              int firstPage, const PdfPageSetup& page, const PdfAnchors& anchors,
                              int file) {
  std::vector<PdfLink> links;
  for (const LinkArea& area : info.links) {
    const int index = documentPage(jobPages, area.page);
    if (index < 0) continue;
    auto to = anchors.find(area.target.file == 0 ? file : area.target.file, area.target.line);
    if (!to) continue;
    links.push_back(PdfLink{firstPage + index, page.pointX(area.rect.left),
                            page.pointY(area.rect.bottom), page.pointX(area.rect.right),
                            page.pointY(area.rect.top), *to});
  }
  return links;
}

}  // namespace tarn
