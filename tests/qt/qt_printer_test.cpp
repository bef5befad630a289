#include "platform/qt/qt_printer.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSpinBox>
#include <QTemporaryDir>

#include <cstdio>
#include <optional>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include "pdf_render.h"
#include "platform/qt/guarded_progress.h"
#include "platform/qt/qt_environment.h"

namespace tarn {
namespace {

using test::run;

std::string pdfinfo(const std::string& file, const std::string& field) {
  std::string info = run("pdfinfo '" + file + "' 2>/dev/null");
  std::size_t at = info.find(field + ":");
  if (at == std::string::npos) return {};
  std::size_t start = info.find_first_not_of(' ', at + field.size() + 1);
  return info.substr(start, info.find('\n', start) - start);
}

constexpr Rect kBand{200, 1000, 2200, 1400};   // shaded, nothing else drawn there
constexpr Rect kHeavy{200, 1600, 1200, 1800};  // heavy black letters
constexpr Rect kUnder{2400, 1600, 3400, 1800};  // heavy letters, then shaded

/// Three pages with texts, a clipped text, lines and a shaded band.
class SamplePrintout : public Printout {
 public:
  SamplePrintout(std::string title, int orientation)
      : Printout(std::move(title)), orientation_(orientation) {}

  void getDialogInfo(PageRange&, DeviceMode& mode) override {
    mode.orientation = orientation_;
    mode.fields |= DeviceMode::kFieldOrientation;
  }
  bool beginPrinting() override {
    canvas()->setFont(0, FontSpec{"", -66});
    canvas()->setFont(1, FontSpec{"Liberation Sans", -200, 700});
    return passSucceeds;
  }
  bool hasPage(int page) override { return page <= pages; }
  void printPage(int page, const Rect& r) override {
    pageRects.push_back(r);
    Canvas& c = *canvas();
    c.selectFont(0);
    c.setTextAlign(TextAlign::Center);
    c.textOut(r.right / 2, 100, "Sample page " + std::to_string(page));
    c.setTextAlign(TextAlign::Left);
    c.setTextColor(0x800000);
    c.textOut(200, 400, "Marker \xBB continued, 5 \x80 \x84quoted\x93");
    const int kept = c.textWidth("KEPTPART");
    c.textOutClipped(200, 600, Rect{200, 600, 200 + kept, 700}, "KEPTPARTCUTAWAY");
    c.selectPen(kThickPen);
    c.moveTo(150, 300);
    c.lineTo(150, 900);
    c.setTextColor(0);
    c.shade(kBand);
    c.selectFont(1);
    c.textOut(kHeavy.left, kHeavy.top, "MMMM");
    c.textOut(kUnder.left, kUnder.top, "MMMM");
    c.shade(kUnder);
  }

  bool passSucceeds = true;
  int pages = 3;
  std::vector<Rect> pageRects;

 private:
  int orientation_;
};

class QtPrinterPdfTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::system("(command -v pdfinfo && command -v pdftotext && command -v pdftoppm)"
                    " >/dev/null") != 0)
      GTEST_SKIP() << "poppler-utils (pdfinfo, pdftotext, pdftoppm) are not installed";
    ASSERT_TRUE(dir_.isValid());
  }
  std::string path(const char* name) const { return dir_.filePath(name).toStdString(); }
  QTemporaryDir dir_;
};

TEST_F(QtPrinterPdfTest, PrintsEveryPageInTheAskedOrientation) {
  const struct {
    const char* file;
    int orientation;
    bool withDialog;  // never shown without a screen, and so never waited for
  } cases[] = {{"landscape.pdf", DeviceMode::kLandscape, false},
               {"portrait.pdf", DeviceMode::kPortrait, true}};
  QtPrinter printer;  // one printer, a file per job
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    printer.setPdfOutput(path(c.file));
    EXPECT_FALSE(printer.hasError());
    SamplePrintout printout("/src/Main Program.clw", c.orientation);
    ASSERT_EQ(printer.print(printout, c.withDialog), JobResult::Printed);
    EXPECT_EQ(pdfinfo(path(c.file), "Pages"), "3");
    EXPECT_EQ(pdfinfo(path(c.file), "Title"), "/src/Main Program.clw");
    double width = 0, height = 0;
    std::sscanf(pdfinfo(path(c.file), "Page size").c_str(), "%lf x %lf", &width, &height);
    EXPECT_EQ(width > height, c.orientation == DeviceMode::kLandscape);
    // Pages are the area inside 5 mm margins at 600 dpi (the PDF has whole points).
    ASSERT_EQ(printout.pageRects.size(), 3u);
    EXPECT_NEAR(printout.pageRects[0].right, (width / 72 - 10 / 25.4) * 600, 5);
    EXPECT_NEAR(printout.pageRects[0].bottom, (height / 72 - 10 / 25.4) * 600, 5);
  }
  EXPECT_EQ(pdfinfo(path("landscape.pdf"), "Pages"), "3");  // the second job left it alone
}

TEST_F(QtPrinterPdfTest, PdfHoldsWindows1252TextCutTextAndLightShading) {
  QtPrinter printer;
  printer.setPdfOutput(path("sample.pdf"));
  SamplePrintout printout("sample", DeviceMode::kLandscape);
  ASSERT_EQ(printer.print(printout, false), JobResult::Printed);

  const std::string text = run("pdftotext -layout -enc UTF-8 '" + path("sample.pdf") + "' -");
  for (const char* expected : {"Sample page 1", "Sample page 3", "KEPTPART",
                               "Marker » continued, 5 € „quoted“"})
    EXPECT_NE(text.find(expected), std::string::npos) << expected << " in\n" << text;
  EXPECT_EQ(text.find("CUTAWAY"), std::string::npos) << text;

  run("pdftoppm -r 100 -png -f 1 -l 1 -singlefile '" + path("sample.pdf") + "' '" +
      path("page") + "'");
  const QImage page(dir_.filePath("page.png"));
  ASSERT_FALSE(page.isNull());
  auto mean = [&page](const Rect& r, int inset) {  // device units to 100 dpi behind 5 mm
    auto px = [](int v) { return int(v / 6.0 + 5 / 25.4 * 100); };
    double sum = 0;
    int n = 0;
    for (int y = px(r.top + inset); y < px(r.bottom - inset); ++y)
      for (int x = px(r.left + inset); x < px(r.right - inset); ++x, ++n)
        sum += qGray(page.pixel(x, y));
    return sum / n;
  };
  const double paper = mean(Rect{3000, 2500, 4000, 3000}, 0);
  const double band = mean(kBand, 60);
  EXPECT_GT(paper, 254);
  EXPECT_LT(band, paper - 5);
  EXPECT_GT(band, mean(kHeavy, 40) + 50);
  EXPECT_LT(mean(kUnder, 40), mean(kHeavy, 40) + 10);  // shading hides nothing
  EXPECT_GT(mean(Rect{kBand.left - 120, kBand.top, kBand.left - 30, kBand.bottom}, 0), 254);
}

TEST_F(QtPrinterPdfTest, FailsCleanlyAndLeavesNoFile) {
  const std::string readOnly = path("read-only");
  ASSERT_EQ(::mkdir(readOnly.c_str(), 0555), 0);
  const struct {
    const char* name;
    std::string file;
    bool passSucceeds;
  } cases[] = {
      {"missing folder", path("no-such-folder/out.pdf"), true},
      {"a folder", dir_.path().toStdString(), true},
      // The superuser writes into read-only folders; nobody creates files in /proc.
      {"read-only folder", ::geteuid() == 0 ? "/proc/tarnlist.pdf" : readOnly + "/out.pdf", true},
      {"failed pass, no half-written file", path("half.pdf"), false},
  };
  QtPrinter printer;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    printer.setPdfOutput(c.file);
    SamplePrintout printout("fails", DeviceMode::kPortrait);
    printout.passSucceeds = c.passSucceeds;
    EXPECT_EQ(printer.print(printout, false), JobResult::Failed);
    EXPECT_TRUE(printout.pageRects.empty());
    if (c.file != dir_.path().toStdString()) {
      EXPECT_FALSE(QFile::exists(QString::fromStdString(c.file)));
    }
  }
  ::chmod(readOnly.c_str(), 0755);
}

TEST_F(QtPrinterPdfTest, DirectJobsAfterADialogPdfEachGetTheirOwnFile) {
  // The dialog offers the job's file name, so the chosen file is the first name taken.
  const std::string chosen = path("Main.clw.pdf");
  QFile file(QString::fromStdString(chosen));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("chosen");
  file.close();
  const struct {
    const char* title;
    int pages;
    const char* file;
  } jobs[] = {{"/src/Main.clw", 1, "Main.clw-2.pdf"},
              {"/src/Util.clw", 2, "Util.clw.pdf"},
              {"/src/Main.clw", 3, "Main.clw-3.pdf"}};
  QtPrinter printer;
  printer.rememberDialogPdf(chosen);
  EXPECT_FALSE(printer.hasError());
  EXPECT_TRUE(printer.readyForDirectJobs(nullptr));
  for (const auto& job : jobs) {
    SamplePrintout printout(job.title, DeviceMode::kPortrait);
    printout.pages = job.pages;
    EXPECT_EQ(printer.print(printout, false), JobResult::Printed) << job.file;
  }
  for (const auto& job : jobs) {
    SCOPED_TRACE(job.file);
    EXPECT_EQ(pdfinfo(path(job.file), "Title"), job.title);
    EXPECT_EQ(pdfinfo(path(job.file), "Pages"), std::to_string(job.pages));
  }
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), "chosen");
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files).size(), 4);
}

TEST(QtPrinterTest, ErrorOnlyWithoutPrinterAndPdfOutput) {
  QtPrinter printer;
  const bool noPrinter = QPrinterInfo::defaultPrinterName().isEmpty();
  EXPECT_EQ(printer.hasError(), noPrinter);
  printer.setPdfOutput("/tmp/x.pdf");
  EXPECT_FALSE(printer.hasError());
  printer.setPdfOutput("");
  EXPECT_EQ(printer.hasError(), noPrinter);
  if (noPrinter) {
    SamplePrintout printout("nowhere", DeviceMode::kPortrait);
    EXPECT_EQ(printer.print(printout, false), JobResult::Failed);
  }
  if (!hasInteractiveScreen()) {  // else the dialog would wait for an answer
    EXPECT_EQ(printer.readyForDirectJobs(nullptr), !noPrinter);
    printer.rememberDialogPdf("/tmp/chosen.pdf");
    EXPECT_TRUE(printer.readyForDirectJobs(nullptr));
    EXPECT_FALSE(printer.hasError());
  }
}

// The print dialog offers only what the jobs do: into a PDF file one copy,
// never the last page first, odd or even pages or lists of ranges.
TEST(QtPrintDialogTest, OffersOnlyWhatTheJobDoes) {
  for (bool pages : {false, true}) {
    SCOPED_TRACE(pages);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QStringLiteral("/tmp/dialog.pdf"));
    printer.setCopyCount(3);
    QPrintDialog dialog(&printer);
    limitPrintDialog(dialog, pages);
    dialog.show();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    for (const char* name : {"reverse", "pageSetCombo", "pagesLineEdit", "pagesRadioButton"}) {
      auto* w = dialog.findChild<QWidget*>(QLatin1String(name));
      ASSERT_TRUE(w) << name;
      EXPECT_TRUE(w->isHidden()) << name;
    }
    auto* copies = dialog.findChild<QSpinBox*>(QStringLiteral("copies"));
    ASSERT_TRUE(copies);
    EXPECT_FALSE(copies->isEnabled());
    EXPECT_EQ(copies->value(), 1);
    dialog.reject();
  }
}

// Alt+F4 on a job's progress asks before it cancels; without a question
// (print-all, which cannot be cancelled) it is refused.
TEST(GuardedProgressTest, ClosingCancelsOnlyWhenConfirmed) {
  struct Case {
    const char* name;
    std::optional<bool> answer;
    bool cancelled;
  };
  const Case cases[] = {{"no question", std::nullopt, false}, {"No", false, false}, {"Yes", true, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GuardedProgressDialog progress;
    int asked = 0;
    if (c.answer)
      progress.confirm = [&asked, answer = *c.answer] {
        ++asked;
        return answer;
      };
    progress.show();
    EXPECT_EQ(progress.close(), c.cancelled);
    EXPECT_EQ(progress.wasCanceled(), c.cancelled);
    EXPECT_EQ(asked, c.answer ? 1 : 0);
  }
}

}  // namespace
}  // namespace tarn
