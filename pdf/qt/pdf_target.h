#pragma once

#include <functional>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "pdf/background_deflate.h"
#include "pdf/pdf_document.h"
#include "pdf/pdf_outline.h"
#include "pdf/qt/pdf_canvas.h"
#include "pdf/qt/pdf_font.h"
#include "platform/print_job.h"

namespace tarn {

class PdfFile;

/// The pages of a job written into memory, for a book to take in.
struct PdfPart {
  std::unique_ptr<PdfFile> objects;
  std::vector<int> contents;  ///< content stream of each page, numbered in `objects`
  std::vector<int> jobPages;  ///< the job's number of each page
  int resources = 0;          ///< the pages' resources, numbered in `objects`
  DocumentInfo info;
  PdfPageSetup page;
};

/// A print job into a PDF file. Nothing appears at the path until finish()
/// succeeds; a job cancelled or failed leaves no file. A job into memory
/// makes a part of a book.
class PdfTarget : public PrintTarget {
 public:
  /// `path` is the platform's bytes; empty: into memory.
  PdfTarget(std::string path, const PdfPageSetup& page);
  ~PdfTarget() override;

  /// Starts the file; false when it cannot be written there.
  bool open();
  void setTitle(std::u16string title) { title_ = std::move(title); }
  /// Title, creation time and outline, from the job's printout; the
  /// outline's page numbers are the job's, as beginPage() was given them.
  void setDocumentInfo(const DocumentInfo& info);
  void setGrayscale(bool gray) { canvas_.setGrayscale(gray); }
  /// Pages are compressed on a thread of their own while the next is laid
  /// out: for a job that has no other thread beside it.
  void setBackgroundDeflate(bool on);
  /// Asked before each page; false cancels the job.
  std::function<bool(int page)> pageStarting;

  Canvas& canvas() override { return canvas_; }
  Rect pageRect() override { return Rect{0, 0, page_.width, page_.height}; }
  bool beginPage(int page) override;
  void endPage() override;

  /// Completes the file and puts it at its path (with `publish`; else
  /// publish() does); false (and no file) when that fails or writing failed
  /// before. Names that lead to definitions of the job become links.
  bool finish(bool publish = true);
  bool publish();
  /// A job into memory: its part of a book, fonts written.
  PdfPart takePart();
  /// Whether writing has failed (a full disk, say).
  bool failed() const;

 private:
  void writePage();
  /// Writes the pages compressed so far (all of them, with `all`).
  void writeDeflated(bool all);
  /// Fonts and shading pattern into `resources`.
  void writeResources(int resources);

  std::string path_;
  PdfPageSetup page_;
  std::u16string title_;
  std::unique_ptr<PdfFile> file_;
  std::unique_ptr<BackgroundDeflate> deflate_;
  PdfFonts fonts_;
  PdfCanvas canvas_;
  std::string matrix_;  // device units onto the paper: six numbers
  std::vector<int> contents_;  // content streams
  std::vector<int> jobPages_;  // the job's number of each page
  int jobPage_ = 0;
  bool pageOpen_ = false;
  std::optional<std::time_t> created_;
  DocumentInfo info_;
};

}  // namespace tarn
