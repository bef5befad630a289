#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "platform/canvas.h"

namespace tarn {

/// What a printout asks of the printer before the print dialog.
struct DeviceMode {
  enum : int { kPortrait = 1, kLandscape = 2 };
  enum : int { kMonochrome = 1, kColor = 2 };
  enum : unsigned { kFieldOrientation = 0x1, kFieldColor = 0x800 };
  int orientation = kPortrait;
  int color = kColor;
  unsigned fields = 0;  ///< which of the above the printout has set
};

/// The page range the print dialog offers; all 0: no range.
struct PageRange {
  int minPage = 0, maxPage = 0, fromPage = 0, toPage = 0;
};

/// A bookmark of a job: where one of its parts begins.
struct OutlineEntry {
  std::string title;  ///< Windows-1252; UTF-8 when `utf8` (a file name)
  bool utf8 = false;
  int level = 0;  ///< 0: top level; 1: a child of the last entry of level 0
  int page = 1;   ///< the job's page number, from 1
  int y = 0;      ///< device units below the top of the page's usable area
};

/// A definition a link leads to: line `line` of file `file` (0: the job's own).
struct LinkTarget {
  int file = 0;
  int line = 0;
  friend bool operator==(const LinkTarget&, const LinkTarget&) = default;
};

/// An area of a page that leads elsewhere when clicked.
struct LinkArea {
  int page = 1;  ///< the job's page number
  Rect rect;     ///< device units in the page's usable area
  LinkTarget target;
};

/// Where a definition starts on the job's pages.
struct LinkAnchor {
  int line = 0;  ///< the definition's line in the job's file
  int page = 1;
  int y = 0;
};

/// What a file that a job is written into says of itself.
struct DocumentInfo {
  std::string title;     ///< UTF-8
  std::time_t created = 0;
  std::vector<OutlineEntry> outline;  ///< in page order; empty: none
  std::vector<LinkArea> links;        ///< by page; only when asked for
  std::vector<LinkAnchor> anchors;    ///< of the definitions printed
};

/// The protocol a print job drives: parameters, the dialog question, then
/// pages while the printout says there is one.
class Printout {
 public:
  explicit Printout(std::string title) : title_(std::move(title)) {}
  virtual ~Printout() = default;
  Printout(const Printout&) = delete;
  Printout& operator=(const Printout&) = delete;

  /// The job's document name.
  const std::string& title() const { return title_; }

  virtual void setPrintParams(Canvas* canvas, int pageWidth, int pageHeight) {
    canvas_ = canvas;
    pageWidth_ = pageWidth;
    pageHeight_ = pageHeight;
  }
  virtual void getDialogInfo(PageRange& range, DeviceMode& mode) {
    (void)range;
    (void)mode;
  }
  /// Starts a pass over the pages; false when the device did not answer.
  virtual bool beginPrinting() { return true; }
  virtual void beginDocument() {}
  virtual bool hasPage(int page) = 0;
  /// Draws one page into `rect`, the page's usable area.
  virtual void printPage(int page, const Rect& rect) = 0;
  virtual void endDocument() {}
  virtual void endPrinting() {}

  /// The number of pages, laid out on the device of the current pass, or
  /// 0 when the printout cannot know them ahead.
  virtual int pageCount() { return 0; }
  /// Asked before a job by a writer whose files can hold links: the pages
  /// then record where names lead.
  virtual void wantLinks() {}
  /// Asked after the pages of a job, for a file written from it.
  virtual DocumentInfo documentInfo() { return DocumentInfo{title_, std::time(nullptr), {}, {}, {}}; }

 protected:
  Canvas* canvas() const { return canvas_; }
  int pageWidth() const { return pageWidth_; }
  int pageHeight() const { return pageHeight_; }

 private:
  std::string title_;
  Canvas* canvas_ = nullptr;
  int pageWidth_ = 0;
  int pageHeight_ = 0;
};

}  // namespace tarn
