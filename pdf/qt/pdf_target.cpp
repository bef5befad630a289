#include "pdf/qt/pdf_target.h"

#include <algorithm>
#include <cstdio>

#include "platform/cp1252.h"

#include "pdf/pdf_file.h"
#include "pdf/pdf_outline.h"
#include "pdf/pdf_text.h"

namespace tarn {
namespace {

std::string ref(int object) { return std::to_string(object) + " 0 R"; }

}  // namespace

PdfTarget::PdfTarget(std::string path, const PdfPageSetup& page)
    : path_(std::move(path)), page_(page), canvas_(fonts_, page.dpi) {
  page_.width = std::max(0, page_.width);
  page_.height = std::max(0, page_.height);
  // Device units (y down, from the printable area's corner) onto points (y up).
  std::string m;
  for (double v : {page_.scale(), 0.0, 0.0, -page_.scale(), page_.left,
                   page_.paperHeight - page_.top}) {
    appendPdfNumber(m, v, 5);
    m += ' ';
  }
  matrix_ = m;
}

PdfTarget::~PdfTarget() = default;

bool PdfTarget::open() {
  if (path_.empty()) {
    fonts_.setWholeCodePage(true);
    file_ = PdfFile::inMemory();
    file_->reserve();  // the pages' resources
    return true;
  }
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
  info_ = info;
}

void PdfTarget::endPage() {
  if (pageOpen_) writePage();
  pageOpen_ = false;
}

void PdfTarget::setBackgroundDeflate(bool on) {
  if (on && !deflate_) deflate_ = std::make_unique<BackgroundDeflate>();
  if (!on) {
    writeDeflated(true);
    deflate_.reset();
  }
}

void PdfTarget::writeDeflated(bool all) {
  BackgroundDeflate::Done done;
  while (deflate_ && file_ && deflate_->next(done, all))
    file_->deflatedStream(done.number, "", done.data, done.packed);
}

void PdfTarget::writePage() {
  if (!file_) return;
  const int contents = file_->reserve();
  if (deflate_) {
    deflate_->add(contents, matrix_ + "cm 1 j\n" + canvas_.takePage());
    writeDeflated(false);
  } else {
    file_->stream(contents, "", matrix_ + "cm 1 j\n" + canvas_.takePage(), true);
  }
  contents_.push_back(contents);
  jobPages_.push_back(jobPage_);
}

void PdfTarget::writeResources(int resources) {
  std::string dict = "<</ProcSet[/PDF/Text]";
  const std::string fonts = fonts_.write(*file_);
  if (!fonts.empty()) dict += "/Font<<" + fonts + ">>";
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
    dict += "/Pattern<</P1 " + ref(pattern) +
            ">>/ColorSpace<</Cs1[/Pattern/DeviceRGB]/Cs2[/Pattern/DeviceGray]>>";
  }
  file_->object(resources, dict + ">>");
}

PdfPart PdfTarget::takePart() {
  PdfPart part;
  if (!file_ || path_.size()) return part;
  if (pageOpen_ || contents_.empty()) writePage();  // viewers want at least one page
  pageOpen_ = false;
  writeDeflated(true);
  writeResources(1);
  part.contents = contents_;
  part.jobPages = jobPages_;
  part.resources = 1;
  part.info = info_;
  part.page = page_;
  part.objects = std::move(file_);
  return part;
}

bool PdfTarget::finish(bool publishNow) {
  if (!file_ || path_.empty()) return false;
  if (pageOpen_ || contents_.empty()) writePage();  // viewers want at least one page
  pageOpen_ = false;
  writeDeflated(true);
  writeResources(4);

  PdfDocument doc;
  for (std::size_t i = 0; i < contents_.size(); ++i)
    doc.pages.push_back(PdfPage{file_->reserve(), contents_[i], 0});
  PdfAnchors anchors;
  anchors.add(0, info_, jobPages_, 0, page_);
  doc.links = pdfLinks(info_, jobPages_, 0, page_, anchors);
  if (!info_.outline.empty()) doc.outline = pdfOutline(info_, jobPages_, 0, page_);
  doc.title = title_;
  doc.created = created_;
  doc.treeResources = 4;
  doc.paperWidth = page_.paperWidth;
  doc.paperHeight = page_.paperHeight;
  writePdfStructure(*file_, doc);
  const bool ok = file_->complete(1, 3) && (!publishNow || file_->publish());
  if (!ok || publishNow) file_.reset();
  return ok;
}

bool PdfTarget::publish() {
  const bool ok = file_ && file_->publish();
  file_.reset();
  return ok;
}

}  // namespace tarn
