#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "document/source_document.h"
#include "printout/dates.h"
#include "printout/listing_links.h"
#include "platform/print_job.h"
#include "platform/printout.h"
#include "settings/listing_extras.h"
#include "settings/setup_data.h"

namespace tarn {

/// What a printout needs besides its document.
struct PrintContext {
  const SetupData& setup;  ///< read when used, never copied
  DateFormatter& dates;
  Clock now;
  ListingExtras extras = {};
  /// Where names lead, for links in the pages (a book's); null: the
  /// listing's own units, when a writer asks for links.
  const ListingLinks* links = nullptr;
};

/// Whether the file has nothing to print in a print mode: mode 1 needs a
/// token that is not a separator, mode 2 one inside a structure or embed
/// point, mode 3 one inside an embed point.
bool hasNothingToPrint(const TFileDataSource& document, int printMode);

/// The listing of one source file as printed pages: tokens in the styles of
/// their classes, column by column, framed by header and footer. Pages are
/// laid out in order; where the page count is wanted ahead, or a page out of
/// order, a first pass that draws nothing lays out every page and remembers
/// where each starts, so that any page draws without the ones before it.
class TMyPrintout : public Printout {
 public:
  /// Prints from `startToken` (null: the first token) to the end, or through
  /// the first token with a flag of `stopMask`.
  TMyPrintout(TFileDataSource& document, std::string title, std::uint32_t stopMask,
              TToken* startToken, bool regionsOnly, const PrintContext& context);
  ~TMyPrintout() override;

  void setPrintParams(Canvas* canvas, int pageWidth, int pageHeight) override;
  void getDialogInfo(PageRange& range, DeviceMode& mode) override;
  bool beginPrinting() override;
  bool hasPage(int page) override;
  void printPage(int page, const Rect& rect) override;
  int pageCount() override;
  void wantLinks() override;
  /// The file's name, the printing time and, unless the extras say no, the
  /// outline: the units printed, their embed points as children; the links
  /// drawn and where the units printed start.
  DocumentInfo documentInfo() override;

  /// Later passes reuse the pages laid out by the first: a preview draws on
  /// the same device again and again.
  void keepPages() { keepPages_ = true; }
  /// Whether the last pass printed every page, from the first to the end (a
  /// page range does not).
  bool printedWhole() const { return printedWhole_; }

  /// Height of a font of `pointSize` tenths of a point at `dpiY`: two thirds
  /// of the nominal size, negative (a character height). A size of 0 counts
  /// as 12 points.
  static int fontHeight(int pointSize, int dpiY);
  /// The size, in tenths of a point, a font record of size 0 prints at.
  static constexpr int kDefaultPointSize = 120;

 private:
  enum class Step { Next, Stop };

  /// What carries over from one page to the next.
  struct PageStart {
    TToken* token = nullptr;  ///< the token list's cursor
    const TToken* resumed = nullptr;
    std::size_t resumeAt = 0;
    const TToken* unit = nullptr;
    int embedIndent = 0;
    bool hasMore = true, inRegion = false, pendingContinuation = false;
    bool lineEnded = false, blankToken = false;
    friend bool operator==(const PageStart&, const PageStart&) = default;
  };
  PageStart pageState() const;
  void restore(const PageStart& start);
  /// Lays out every page on a canvas that measures like ours and draws nothing.
  void paginate();
  void layOutPage(int page, const Rect& rect);

  /// Where a unit or embed point first prints, for the outline.
  struct Mark {
    const TToken* token;
    const TToken* unit;  ///< the unit it lies in (null: before every unit)
    int page, y;
  };
  void markPosition(const TToken* token, int y);

  // Fonts and metrics.
  void selectFont(int slot);
  int width(std::string_view text) { return canvas()->textWidth(text); }
  int linePitch() const;

  // The frame of a page and the end marker.
  void drawFrame();
  void drawEndMarker();
  /// `utf8`: the text is a file name, not Windows-1252.
  void bandText(const Rect& rect, std::string_view text, TextAlign align, bool utf8 = false);
  void outline(const Rect& rect);

  // Filling a column.
  void fillColumn();
  Step drawToken(TToken* token);
  void beginRegion(const TToken* token);
  Step separatorAndHeading(const TToken* token, std::string_view text, bool columnEmpty);
  void emphasisBar();
  bool wrap(TToken* token, std::string_view text, std::size_t len, int cutWidth);
  /// Prints the head of a token that does not fit and moves on to a continuation line.
  bool split(TToken* token, std::string_view text, std::size_t len, int cutWidth);
  void continueOnNextLine(TToken* token, int cutWidth);
  /// The longest head of `text` (at most `len` characters) at most `room` wide.
  std::size_t headThatFits(std::string_view text, std::size_t len, int room);
  void drawText(std::string_view text, std::size_t len, int cutWidth);
  /// Text of the token at hand drawn from the pen on: a link when it names a definition.
  void linkArea(int width);
  void drawCutMarker(int cutWidth);
  /// The number of the token's line in the gutter, once a line.
  void drawLineNumber(const TToken* token);

  TFileDataSource& document_;
  PrintContext context_;
  const SetupData& setup_;

  std::array<TextMetrics, kFontSlots> textMetrics_{};
  bool lineEnded_ = false;
  bool blankToken_ = false;
  int currentFont_ = -1;
  Rect pageRect_;
  int pageNumber_ = 0;
  int gap_ = 0;
  int embedIndent_ = 0;
  bool hasMore_ = true;
  Rect headerRect_;
  Rect footerRect_;
  bool unitEnded_ = false;
  bool inRegion_ = false;
  std::uint32_t stopMask_;
  TToken* startToken_;
  bool regionsOnly_;
  Rect columnRect_;

  // The column being filled.
  int x0_ = 0, xR_ = 0, y0_ = 0, yB_ = 0;
  int x_ = 0, y_ = 0;
  bool continuation_ = false;
  bool columnFull_ = false;
  /// A token cut at the bottom of the last column goes on in the next one.
  bool pendingContinuation_ = false;
  /// The token whose separator, heading and unit test already ran (it was wrapped or split).
  const TToken* resumed_ = nullptr;
  /// How much of the resumed token its earlier lines printed.
  std::size_t resumeAt_ = 0;
  int lastBarY_ = -1;
  int lastCutY_ = -1;
  int lastNumberY_ = -1;

  // Line numbers: the gutter left of every column's text, and its blank.
  int gutter_ = 0;
  int numberGap_ = 0;

  // Pages.
  Rect printable_;  ///< the page's usable area, from setPrintParams
  bool keepPages_ = false;
  bool paginated_ = false;
  std::vector<PageStart> pageStarts_;
  PageStart passStart_;
  int nextPage_ = 1;
  bool inOrder_ = true;  ///< every page of this pass followed the one before, from 1
  bool printedWhole_ = false;

  // The outline: the unit of the token at hand, and where parts first print.
  const TToken* unit_ = nullptr;
  std::vector<Mark> marks_;
  std::unordered_set<const TToken*> marked_;
  const TToken* lastMarked_ = nullptr;

  // Links: where names lead, and the areas drawn by page.
  std::unique_ptr<ListingLinks> ownLinks_;
  const ListingLinks* links_ = nullptr;
  const LinkTarget* linkTarget_ = nullptr;  ///< of the token being drawn
  std::map<int, std::vector<LinkArea>> linkAreas_;
};

}  // namespace tarn
