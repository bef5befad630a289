#include "pdf/qt/pdf_target.h"

#include <algorithm>
#include <cstdio>

#include "pdf/pdf_file.h"

namespace tarn {
namespace {

// A PDF text string: ASCII as it is, anything else as UTF-16 with a byte order mark.
std::string textString(const std::u16string& text) {
  std::string out;
  if (std::all_of(text.begin(), text.end(), [](char16_t c) { return c >= 0x20 && c < 0x7F; })) {
    appendPdfString(out, std::string(text.begin(), text.end()));
    return out;
  }
  out = "<FEFF";
  char hex[8];
  for (char16_t c : text) {
    std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(c));
    out += hex;
  }
  return out + ">";
}

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
  return true;
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
  // No dates: the same listing gives the same file.
  file_->object(3, "<</Producer(Tarnlist)" +
                       (title_.empty() ? std::string() : "/Title" + textString(title_)) + ">>");
  file_->object(1, "<</Type/Catalog/Pages 2 0 R>>");
  const bool ok = file_->commit(1, 3);
  file_.reset();
  return ok;
}

}  // namespace tarn
