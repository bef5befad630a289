#include "pdf/qt/pdf_target.h"

#include <algorithm>
#include <cstdio>

#include "platform/cp1252.h"

#include "pdf/pdf_file.h"
#include "pdf/pdf_outline.h"
#include "pdf/pdf_text.h"

namespace tarn {
namespace {

constexpr const char* kCreator = "Tarnlist for Clarion " TARNLIST_VERSION;

std::string ref(int object) { return std::to_string(object) + " 0 R"; }

}  // namespace

PdfTarget::PdfTarget(std::string path, const PdfPageSetup& page)
    : path_(std::move(path)), page_(page), canvas_(fonts_, page.dpi) {
  page_.width = std::max(0, page_.width);
  page_.height = std::max(0, page_.height);
  // Device units (y down, from the printable area's corner) onto points (y up).
  const double scale = 72.0 / std::clamp(page_.dpi, 1, 10000);
  std::string m;
  for (double v : {scale, 0.0, 0.0, -scale, page_.left, page_.paperHeight - page_.top}) {
    appendPdfNumber(m, v, 5);
    m += ' ';
  }
  matrix_ = m;
}

PdfTarget::~PdfTarget() = default;

bool PdfTarget::open() {
  file_ = std::make_unique<PdfFile>(path_);
  if (!file_->open()) {
    file_.reset();
    return false;
  }
  // The catalog, page tree, document information and shared resources.
  for (int n = 1; n <= 4; ++n) file_->reserve();
  return true;
}

bool PdfTarget::failed() const { return !file_ || file_->failed(); }

bool PdfTarget::beginPage(int page) {
  if (failed()) return false;
  if (pageStarting && !pageStarting(page)) return false;
  pageOpen_ = true;
  jobPage_ = page;
  return true;
}

void PdfTarget::setDocumentInfo(const DocumentInfo& info) {
  title_ = pdfUtf16(info.title);
  created_ = info.created;
  outline_ = info.outline;
}

std::vector<PdfOutlineItem> PdfTarget::outlineItems() const {
  // The job's page numbers as this file's page indexes: a page range starts later.
  std::vector<PdfOutlineItem> items;
  const double scale = 72.0 / std::clamp(page_.dpi, 1, 10000);
  for (const OutlineEntry& e : outline_) {
    auto at = std::find(jobPages_.begin(), jobPages_.end(), e.page);
    PdfOutlineItem item;
    item.title = pdfUtf16(e.utf8 ? e.title : cp1252::toUtf8(e.title));
    item.page = at == jobPages_.end() ? -1 : static_cast<int>(at - jobPages_.begin());
    item.top = page_.paperHeight - page_.top - e.y * scale;
    if (e.level > 0 && !items.empty())
      items.back().children.push_back(std::move(item));
    else
      items.push_back(std::move(item));
  }
  return items;
}

void PdfTarget::endPage() {
  if (pageOpen_) writePage();
  pageOpen_ = false;
}

void PdfTarget::writePage() {
  if (!file_) return;
  const int contents = file_->reserve(), page = file_->reserve();
  file_->stream(contents, "", matrix_ + "cm 1 j\n" + canvas_.takePage(), true);
  file_->object(page, "<</Type/Page/Parent 2 0 R/Contents " + ref(contents) + ">>");
  pages_.push_back(page);
  jobPages_.push_back(jobPage_);
}

bool PdfTarget::finish() {
  if (!file_) return false;
  if (pageOpen_ || pages_.empty()) writePage();  // viewers want at least one page
  pageOpen_ = false;

  std::string resources = "<</ProcSet[/PDF/Text]";
  const std::string fonts = fonts_.write(*file_);
  if (!fonts.empty()) resources += "/Font<<" + fonts + ">>";
  if (canvas_.usedPattern()) {
    // The rows as an image mask: painted where a bit is 0, one device unit a
    // bit, tiled from the device origin in the colour the fill gives. Readers
    // average a mask well at screen resolutions, where squares this small
    // come out far too dark.
    std::string cell = "8 0 0 -8 0 8 cm BI/W 8/H 8/IM true/BPC 1 ID ";
    for (std::uint8_t row : kDotPattern) cell += static_cast<char>(row);
    cell += "\nEI\n";
    const int pattern = file_->reserve();
    file_->stream(pattern,
                  "/Type/Pattern/PatternType 1/PaintType 2/TilingType 1/BBox[0 0 8 8]/XStep 8"
                  "/YStep 8/Resources<<>>/Matrix[" + matrix_ + "]",
                  cell, true);
    resources += "/Pattern<</P1 " + ref(pattern) +
                 ">>/ColorSpace<</Cs1[/Pattern/DeviceRGB]/Cs2[/Pattern/DeviceGray]>>";
  }
  file_->object(4, resources + ">>");

  std::string tree = "<</Type/Pages/MediaBox[0 0 ";
  appendPdfNumber(tree, page_.paperWidth, 3);
  tree += ' ';
  appendPdfNumber(tree, page_.paperHeight, 3);
  tree += "]/Resources 4 0 R/Count " + std::to_string(pages_.size()) + "/Kids[";
  for (int page : pages_) tree += ref(page) + " ";
  tree.back() = ']';
  file_->object(2, tree + ">>");
  std::string info = "<</Producer(Tarnlist)/Creator" + pdfTextString(pdfUtf16(kCreator));
  if (!title_.empty()) info += "/Title" + pdfTextString(title_);
  // The job's own time, fixed by SOURCE_DATE_EPOCH: the same listing gives the same file.
  if (created_) info += "/CreationDate" + pdfDate(*created_);
  file_->object(3, info + ">>");
  const int outline = outline_.empty() ? 0 : writeOutline(*file_, outlineItems(), pages_);
  file_->object(1, outline ? "<</Type/Catalog/Pages 2 0 R/Outlines " + ref(outline) +
                                 "/PageMode/UseOutlines>>"
                           : std::string("<</Type/Catalog/Pages 2 0 R>>"));
  const bool ok = file_->commit(1, 3);
  file_.reset();
  return ok;
}

}  // namespace tarn
