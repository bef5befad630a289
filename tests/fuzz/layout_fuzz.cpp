// A source and the listing settings (first four bytes: columns, orientation,
// wrapping, print mode, line numbers, page count, tab width, unit rules) laid
// out on the test device. The job ends, everything is drawn inside the page,
// and with wrapping on every character of the source is drawn, in order.
#include <string>

#include "analysis/analysis_error.h"
#include "fuzz_check.h"
#include "platform/print_job.h"
#include "printout/listing_printout.h"
#include "printout/print_document.h"
#include "printout/recording_canvas.h"
#include "support/fakes.h"

namespace tarn {
namespace {

/// The test device's metrics; draws nothing but checks where everything goes.
class CheckingCanvas : public RecordingCanvas {
 public:
  Rect page;
  std::string body;  ///< the source's text as drawn, blanks left out

  void selectFont(int slot) override {
    RecordingCanvas::selectFont(slot);
    slot_ = slot;
  }
  void setTextAlign(TextAlign align) override { align_ = align; }
  void textOut(int x, int y, std::string_view text) override {
    const int w = textWidth(text);
    const int left = align_ == TextAlign::Left ? x : align_ == TextAlign::Right ? x - w : x - w / 2;
    inside(left, y, left + w, y + textHeight(text), "text inside the page");
    keep(text);
  }
  void textOutClipped(int x, int, const Rect& clip, std::string_view text) override {
    inside(clip.left, clip.top, clip.right, clip.bottom, "clip inside the page");
    const std::size_t shown = text.find_last_not_of(" \t") + 1;  // blanks may run past
    if (wrapping && x + textWidth(text.substr(0, shown)) > clip.right)
      fuzz::fail("with wrapping no text is cut: \"" + std::string(text) + "\" at " +
                     std::to_string(x) + " clipped at " + std::to_string(clip.right),
                 __FILE__, __LINE__);
    keep(text);
  }
  void moveTo(int x, int y) override { inside(x, y, x, y, "line inside the page"); }
  void lineTo(int x, int y) override { inside(x, y, x, y, "line inside the page"); }
  void shade(const Rect& r) override { inside(r.left, r.top, r.right, r.bottom, "shade inside"); }

  bool wrapping = false;

 protected:
  void unicodeTextOut(int x, int y, std::string_view utf8) override {
    textOut(x, y, cp1252::fromUtf8(utf8));
  }

 private:
  void inside(int l, int t, int r, int b, const char* what) {
    if (l >= page.left && t >= page.top && r <= page.right && b <= page.bottom && l <= r && t <= b)
      return;
    fuzz::fail(std::string(what) + ": " + std::to_string(l) + "," + std::to_string(t) + " - " +
                   std::to_string(r) + "," + std::to_string(b),
               __FILE__, __LINE__);
  }
  void keep(std::string_view text) {
    if (slot_ < 0 || slot_ >= kHeaderFontSlot) return;
    for (char c : text)
      if (c != ' ') body += c;
  }
  int slot_ = -1;
  TextAlign align_ = TextAlign::Left;
};

class CheckingTarget : public PrintTarget {
 public:
  explicit CheckingTarget(bool portrait)
      : rect_(portrait ? Rect{0, 0, 4760, 6814} : Rect{0, 0, 6814, 4760}) {
    canvas_.page = rect_;
  }
  Canvas& canvas() override { return canvas_; }
  Rect pageRect() override { return rect_; }
  bool beginPage(int page) override {
    FUZZ_CHECK(page == ++pages_, "pages in order");
    return true;
  }
  void endPage() override {}
  CheckingCanvas canvas_;
  int pages_ = 0;

 private:
  Rect rect_;
};

/// Whether `part` appears within `whole` in order, other characters between.
bool inOrder(std::string_view part, std::string_view whole) {
  std::size_t at = 0;
  for (char c : part) {
    at = whole.find(c, at);
    if (at == std::string_view::npos) return false;
    ++at;
  }
  return true;
}

}  // namespace
}  // namespace tarn

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tarn;
  fuzz::Input input(fuzz::bytes(data, size));
  const std::uint8_t b0 = input.byte(), b1 = input.byte(), b2 = input.byte(), b3 = input.byte();
  SetupData setup = defaultSetupData();
  setup.columns = 1 + b0 % 10;
  setup.portrait = (b0 / 10) % 2;
  setup.landscape = !setup.portrait;
  setup.wrapLine = b1 & 1;
  setup.lineBeforeUnit = (b1 >> 1) & 1;
  setup.includePrecedingComment = (b1 >> 2) & 1;
  setup.unitPerColumn = (b1 >> 3) & 1;
  setup.unitPerPage = (b1 >> 4) & 1;
  setup.oneUnitEach = (b1 >> 5) & 1;
  setup.keywordsUppercase = (b1 >> 6) & 1;
  setup.emphasizeEmbeds = (b1 >> 7) & 1;
  setup.printMode = b2 % 3;
  setup.tabWidth = kMinTabWidth + (b2 / 3) % 9;
  setup.lineHeight = kMinLineHeight + b3 % (kMaxLineHeight - kMinLineHeight + 1);
  ListingExtras extras;
  extras.lineNumbers = b0 >= 128;
  extras.pageCount = (b0 / 20) % 2;

  test::VirtualFileSystem fs;
  test::RecordingMessages messages;
  test::MemoryProfile profile;
  const std::string path = b3 >= 128 ? "/src/LISTING.TXT" : "/src/MAIN.CLW";
  fs.create(path, std::string(input.rest()));
  std::unique_ptr<TFileDataSource> doc;
  try {
    doc = loadDocument(path, analysisOptions(setup), fs, messages);
  } catch (const AnalysisError&) {
    return 0;  // the analysis target checks these
  }
  FUZZ_CHECK(doc != nullptr, "the source loads");
  if (hasNothingToPrint(*doc, setup.printMode)) return 0;

  DateFormatter dates{profile, [] { return std::optional<int>(1); }, messages};
  PrintContext context{setup, dates, [] { return std::time_t(0); }, extras};
  auto printout = makePrintout(*doc, PrintSelection::wholeFile(), context);
  FUZZ_CHECK(printout != nullptr, "a printout of the whole file");
  PageRange range;
  DeviceMode mode;
  printout->getDialogInfo(range, mode);
  CheckingTarget target(mode.orientation == DeviceMode::kPortrait);
  target.canvas_.wrapping = setup.wrapLine != 0;
  FUZZ_CHECK(runPrintJob(*printout, target, {}) == JobResult::Printed, "the job is printed");
  FUZZ_CHECK(target.pages_ >= 1, "at least one page");

  if (setup.wrapLine && setup.printMode == kPrintFullSource) {
    std::string source;
    for (const TToken* t = doc->tokens->front(); t; t = t->next())
      for (char c : t->view())
        if (c != ' ' && c != '\t' && c != '\n') source += c;
    FUZZ_CHECK(inOrder(source, target.canvas_.body), "every character of the source is drawn");
  }
  return 0;
}
