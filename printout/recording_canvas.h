#pragma once

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "platform/print_job.h"

namespace tarn {

/// The fixed test device: 600 dots per inch, a font of character height h
/// has cell height h, no leading and characters max(1, h / 2) wide; bold and
/// italic change nothing. Every drawing operation becomes one line of text;
/// text beyond the code page is recorded as code points (\u0141).
class RecordingCanvas : public Canvas {
 public:
  int dpiX() const override { return 600; }
  int dpiY() const override { return 600; }
  void setFont(int slot, const FontSpec& font) override;
  void selectFont(int slot) override;
  bool metrics(TextMetrics& out) override;
  int textWidth(std::string_view text) override;
  int textHeight(std::string_view text) override;
  void setTextColor(std::uint32_t color) override { color_ = color; }
  void setTextAlign(TextAlign align) override { align_ = align; }
  void textOut(int x, int y, std::string_view text) override;
  void textOutClipped(int x, int y, const Rect& clip, std::string_view text) override;
  void selectPen(int width) override { pen_ = width; }
  void moveTo(int x, int y) override;
  void lineTo(int x, int y) override;
  void shade(const Rect& rect) override;

  /// Starts the record of a page.
  void beginPage(int page);
  const std::string& record() const { return record_; }

 protected:
  int unicodeTextWidth(std::string_view utf8) override;
  void unicodeTextOut(int x, int y, std::string_view utf8) override;

 private:
  int height() const;
  int charWidth() const { return std::max(1, height() / 2); }
  void appendColor();
  void appendTextHead(int x, int y);

  std::array<int, kFontSlots> heights_{};
  int selected_ = -1;
  std::uint32_t color_ = 0;
  TextAlign align_ = TextAlign::Left;
  int pen_ = kThinPen;
  int penX_ = 0, penY_ = 0;
  std::string record_;
};

/// A page of the test device: (0, 0, 6814, 4760) in landscape, turned for portrait.
class RecordingTarget : public PrintTarget {
 public:
  explicit RecordingTarget(bool portrait) : portrait_(portrait) {}
  Canvas& canvas() override { return canvas_; }
  Rect pageRect() override { return portrait_ ? Rect{0, 0, 4760, 6814} : Rect{0, 0, 6814, 4760}; }
  bool beginPage(int page) override;
  void endPage() override {}
  const std::string& record() const { return canvas_.record(); }
  int pages() const { return pages_; }

  /// Stops the job before this page (0: never), as a cancelled job would.
  int cancelAtPage = 0;

 private:
  bool portrait_;
  int pages_ = 0;
  RecordingCanvas canvas_;
};

/// A printer whose every job goes to a RecordingTarget.
class RecordingPrinter : public Printer {
 public:
  JobResult print(Printout& printout, bool withDialog) override;
  /// One record per job printed.
  std::vector<std::string> jobs;
  std::vector<std::string> titles;
  std::vector<bool> withDialog;
  /// The pages each job prints, as a print dialog's range chooses them.
  PageRange range;
  /// What the next jobs end with; anything but Printed stands for a print
  /// dialog cancelled or a job that failed, and nothing is recorded.
  JobResult answer = JobResult::Printed;
};

}  // namespace tarn
