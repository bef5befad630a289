#pragma once

#include <functional>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "pdf/pdf_outline.h"
#include "pdf/qt/pdf_canvas.h"
#include "pdf/qt/pdf_font.h"
#include "platform/print_job.h"

namespace tarn {

class PdfFile;

/// Paper and printable area of a PDF job.
struct PdfPageSetup {
  double paperWidth = 612, paperHeight = 792;  ///< points
  double left = 0, top = 0;  ///< the printable area's top-left corner on the paper, points
  int width = 0, height = 0;  ///< the printable area in device units
  int dpi = 600;
};

/// A print job into a PDF file. Nothing appears at the path until finish()
/// succeeds; a job cancelled or failed leaves no file.
class PdfTarget : public PrintTarget {
 public:
  /// `path` is the platform's bytes.
  PdfTarget(std::string path, const PdfPageSetup& page);
  ~PdfTarget() override;

  /// Starts the file; false when it cannot be written there.
  bool open();
  void setTitle(std::u16string title) { title_ = std::move(title); }
  /// Title, creation time and outline, from the job's printout; the
  /// outline's page numbers are the job's, as beginPage() was given them.
  void setDocumentInfo(const DocumentInfo& info);
  void setGrayscale(bool gray) { canvas_.setGrayscale(gray); }
  /// Asked before each page; false cancels the job.
  std::function<bool(int page)> pageStarting;

  Canvas& canvas() override { return canvas_; }
  Rect pageRect() override { return Rect{0, 0, page_.width, page_.height}; }
  bool beginPage(int page) override;
  void endPage() override;

  /// Completes the file and puts it at its path; false (and no file) when
  /// that fails or writing failed before.
  bool finish();
  /// Whether writing has failed (a full disk, say).
  bool failed() const;

 private:
  void writePage();
  std::vector<PdfOutlineItem> outlineItems() const;

  std::string path_;
  PdfPageSetup page_;
  std::u16string title_;
  std::unique_ptr<PdfFile> file_;
  PdfFonts fonts_;
  PdfCanvas canvas_;
  std::string matrix_;  // device units onto the paper: six numbers
  std::vector<int> pages_;     // page objects
  std::vector<int> jobPages_;  // the job's number of each page
  int jobPage_ = 0;
  bool pageOpen_ = false;
  std::optional<std::time_t> created_;
  std::vector<OutlineEntry> outline_;
};

}  // namespace tarn
