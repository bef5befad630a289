#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "document/source_document.h"
#include "printout/dates.h"
#include "platform/print_job.h"
#include "platform/printout.h"
#include "settings/setup_data.h"

namespace tarn {

/// What a printout needs besides its document.
struct PrintContext {
  const SetupData& setup;  ///< read when used, never copied
  DateFormatter& dates;
  Clock now;
};

/// Whether the file has nothing to print in a print mode: mode 1 needs a
/// token that is not a separator, mode 2 one inside a structure or embed
/// point, mode 3 one inside an embed point.
bool hasNothingToPrint(const TFileDataSource& document, int printMode);

/// The listing of one source file as printed pages: tokens in the styles of
/// their classes, column by column, framed by header and footer. Pages are
/// not counted ahead; each continues where the last one stopped.
class TMyPrintout : public Printout {
 public:
  /// Prints from `startToken` (null: the first token) to the end, or through
  /// the first token with a flag of `stopMask`.
  TMyPrintout(TFileDataSource& document, std::string title, std::uint32_t stopMask,
              TToken* startToken, bool regionsOnly, const PrintContext& context);
  ~TMyPrintout() override;

  void getDialogInfo(PageRange& range, DeviceMode& mode) override;
  bool beginPrinting() override;
  bool hasPage(int page) override { (void)page; return hasMore_; }
  void printPage(int page, const Rect& rect) override;

  /// Height of a font of `pointSize` tenths of a point at `dpiY`: two thirds
  /// of the nominal size, negative (a character height). A size of 0 counts
  /// as 12 points.
  static int fontHeight(int pointSize, int dpiY);

 private:
  enum class Step { Next, Stop };

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
  void drawCutMarker(int cutWidth);

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
};

}  // namespace tarn
