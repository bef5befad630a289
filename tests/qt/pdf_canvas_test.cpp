#include "pdf/qt/pdf_canvas.h"
#include "pdf/qt/pdf_target.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "pdf_render.h"
#include "platform/cp1252.h"
#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_printer.h"

namespace tarn {
namespace {

using namespace test;

std::string pdfinfo(const std::string& file, const std::string& field) {
  std::string info = run("pdfinfo '" + file + "' 2>/dev/null");
  std::size_t at = info.find(field + ":");
  if (at == std::string::npos) return {};
  std::size_t start = info.find_first_not_of(' ', at + field.size() + 1);
  return info.substr(start, info.find('\n', start) - start);
}

/// Runs of white space as one blank.
std::string squeezed(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (!std::isspace(static_cast<unsigned char>(c)))
      out += c;
    else if (!out.empty() && out.back() != ' ')
      out += ' ';
  }
  return out;
}

/// The printable bytes of the code page, in rows of 16.
std::vector<std::string> printableRows() {
  std::vector<std::string> rows(1);
  for (int b = 0x20; b <= 0xFF; ++b) {
    const char32_t u = cp1252::toUnicode(static_cast<unsigned char>(b));
    if (u == 0x7F || (u >= 0x80 && u < 0xA0)) continue;
    if (rows.back().size() == 16) rows.emplace_back();
    rows.back() += static_cast<char>(b);
  }
  return rows;
}

/// The same as pdftotext gives them in UTF-8: the code page's no-break space
/// and soft hyphen read as space and hyphen.
std::vector<std::string> printableRowsAsText() {
  std::vector<std::string> rows;
  for (std::string row : printableRows()) {
    for (char& ch : row) ch = ch == '\xA0' ? ' ' : ch == '\xAD' ? '-' : ch;
    rows.push_back(cp1252::toUtf8(row));
  }
  return rows;
}

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
    canvas()->setFont(1, FontSpec{"Liberation Sans", -120, 700});
    return true;
  }
  bool hasPage(int page) override { return page <= 3; }
  void printPage(int page, const Rect& r) override {
    Canvas& c = *canvas();
    c.selectFont(1);
    c.setTextAlign(TextAlign::Center);
    c.textOut(r.right / 2, 0, "Sample page " + std::to_string(page));
    c.setTextAlign(TextAlign::Left);
    c.selectFont(0);
    int y = 200;
    for (const std::string& row : printableRows()) c.textOut(100, y += 80, row);
    c.setTextColor(0x0000C0);
    c.textOut(100, y += 100, "a(b)c\\d ((x)) \\\\");
    c.setTextColor(0);
    c.textOut(100, y += 100, "alpha");
    c.textOut(1300, y, "gamma");  // drawn before the word left of it
    c.textOut(700, y, "beta");
    const int kept = c.textWidth("KEPTPART");
    y += 100;
    c.textOutClipped(100, y, Rect{100, y, 100 + kept, y + 80}, "KEPTPARTCUTAWAY");
    c.selectPen(kThickPen);
    c.moveTo(50, 200);
    c.lineTo(50, y);
    c.shade(Rect{2500, 200, 3500, 600});
  }

 private:
  int orientation_;
};

class PdfTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!havePoppler()) GTEST_SKIP() << "poppler-utils are not installed";
    ASSERT_TRUE(dir_.isValid());
  }
  std::string path(const char* name) const { return dir_.filePath(name).toStdString(); }
  QStringList filesLeft() const { return QDir(dir_.path()).entryList(QDir::Files); }
  QTemporaryDir dir_;
};

TEST(PdfCanvasTest, MetricsAndWidthsAreTheQtCanvasOnes) {
  const FontSpec fonts[] = {{"", -66},
                            {"", 0},
                            {"", 80},
                            {"", -44, 700},
                            {"", -44, 0, true},
                            {"Liberation Sans", -50, 700},
                            {"Liberation Serif", -120, 0, true},
                            {"Liberation Sans", 120},
                            {"", INT_MIN},
                            {"", 1}};
  QImage image(4, 4, QImage::Format_RGB32);
  image.setDotsPerMeterX(23622);
  image.setDotsPerMeterY(23622);
  QPainter painter(&image);
  QtCanvas qt(&painter);
  PdfFonts pdfFonts;
  PdfCanvas pdf(pdfFonts);
  EXPECT_EQ(pdf.dpiX(), qt.dpiX());
  EXPECT_EQ(pdf.dpiY(), qt.dpiY());
  for (const FontSpec& font : fonts) {
    SCOPED_TRACE(font.faceName + " " + std::to_string(font.height));
    qt.setFont(3, font);
    qt.selectFont(3);
    pdf.setFont(3, font);
    pdf.selectFont(3);
    EXPECT_EQ(pdf.font(3).family(), qt.font(3).family());
    EXPECT_EQ(pdf.font(3).pixelSize(), qt.font(3).pixelSize());
    TextMetrics a, b;
    ASSERT_TRUE(pdf.metrics(a));
    ASSERT_TRUE(qt.metrics(b));
    EXPECT_EQ(a.tmHeight, b.tmHeight);
    EXPECT_EQ(a.tmInternalLeading, b.tmInternalLeading);
    EXPECT_EQ(a.tmExternalLeading, b.tmExternalLeading);
    EXPECT_EQ(a.tmAveCharWidth, b.tmAveCharWidth);
    EXPECT_EQ(a.tmMaxCharWidth, b.tmMaxCharWidth);
    EXPECT_EQ(pdf.textHeight("x"), b.tmHeight);
    std::string all;
    long long sum = 0;
    for (int byte = 0; byte < 256; ++byte) {
      const std::string one(1, static_cast<char>(byte));
      EXPECT_EQ(pdf.textWidth(one), qt.textWidth(one)) << "byte " << byte;
      all += one;
      sum += pdf.textWidth(one);
    }
    // Whole units per byte: a text is as wide as its bytes together.
    EXPECT_EQ(pdf.textWidth(all), sum);
  }
}

TEST_F(PdfTest, PrintsPagesTitleAndTextThroughThePrinter) {
  const struct {
    const char* file;
    int orientation;
    const char* title;  // the platform's bytes: UTF-8 here
  } cases[] = {{"landscape.pdf", DeviceMode::kLandscape, "/src/Main Program.clw"},
               {"portrait.pdf", DeviceMode::kPortrait, "/src/Caf\xC3\xA9 \xE2\x82\xAC (1).clw"}};
  QtPrinter printer;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    printer.setPdfOutput(path(c.file));
    SamplePrintout printout(c.title, c.orientation);
    ASSERT_EQ(printer.print(printout, false), JobResult::Printed);
    EXPECT_EQ(pdfinfo(path(c.file), "Pages"), "3");
    EXPECT_EQ(pdfinfo(path(c.file), "Title"), c.title);
    EXPECT_EQ(pdfinfo(path(c.file), "Producer"), "Tarnlist");
    EXPECT_EQ(pdfinfo(path(c.file), "Creator").rfind("Tarnlist for Clarion ", 0), 0u);
    EXPECT_NE(pdfinfo(path(c.file), "CreationDate"), "");
    double width = 0, height = 0;
    std::sscanf(pdfinfo(path(c.file), "Page size").c_str(), "%lf x %lf", &width, &height);
    EXPECT_EQ(width > height, c.orientation == DeviceMode::kLandscape);
  }

  const std::string text = run("pdftotext -layout -enc UTF-8 '" + path("landscape.pdf") + "' -");
  std::vector<std::string> expected = {"Sample page 1", "Sample page 3", "KEPTPART",
                                       "a(b)c\\d ((x)) \\\\"};
  for (const std::string& row : printableRowsAsText()) expected.push_back(row);
  for (const std::string& e : expected) EXPECT_NE(text.find(e), std::string::npos) << e;
  EXPECT_NE(squeezed(text).find("alpha beta gamma"), std::string::npos) << text;
  EXPECT_EQ(text.find("CUTAWAY"), std::string::npos);

  const std::string fonts = run("pdffonts '" + path("landscape.pdf") + "'");
  EXPECT_NE(fonts.find("LiberationMono"), std::string::npos) << fonts;
  EXPECT_NE(fonts.find("LiberationSans-Bold"), std::string::npos) << fonts;
  for (const char* line = fonts.c_str(); (line = std::strstr(line, "TrueType")); ++line)
    EXPECT_NE(std::string(line, std::strcspn(line, "\n")).find("yes yes"), std::string::npos)
        << "embedded as a subset: " << fonts;
  // Three pages with two fonts, all their Windows-1252 glyphs: a fraction of
  // what the whole font files would take.
  EXPECT_LT(QFile(QString::fromStdString(path("landscape.pdf"))).size(), 60000);
}

struct Word {
  int slot;
  const char* text;
  int x, y;
  std::uint32_t color;
};
const FontSpec kSceneFonts[] = {{"", -66}, {"Liberation Sans", -100, 700},
                                {"Liberation Serif", -90, 0, true}, {"", -66, 700}};
// Short words, so that whole-unit advances stay within a dot or two of Qt's.
const Word kWords[] = {{0, "IF", 100, 100, 0},           {0, "THEN", 400, 100, 0x800000},
                       {3, "END.", 800, 100, 0x008000},   {1, "Bold", 100, 250, 0},
                       {2, "Ital", 600, 250, 0x0000C0},   {0, "\xBB x", 1000, 250, 0},
                       {0, "a(b)", 100, 450, 0},          {1, "W\\W", 500, 450, 0x404040}};
constexpr Rect kShaded{100, 600, 700, 760};
constexpr Rect kCut{1000, 430, 1100, 600};  // cuts through the first glyph of "WWW"

void drawScene(Canvas& c) {
  for (int slot = 0; slot < 4; ++slot) c.setFont(slot, kSceneFonts[slot]);
  for (const Word& w : kWords) {
    c.selectFont(w.slot);
    c.setTextColor(w.color);
    c.textOut(w.x, w.y, w.text);
  }
  c.selectFont(1);
  c.textOutClipped(1050, 450, kCut, "WWW");
  c.selectPen(kThinPen);
  c.moveTo(1300, 100);
  c.lineTo(1300, 700);
  c.selectPen(kThickPen);
  c.moveTo(1400, 100);
  c.lineTo(1400, 700);
  c.lineTo(1500, 700);
  c.setTextColor(0);
  c.shade(kShaded);
}

TEST_F(PdfTest, RendersAsQtCanvasPaints) {
  constexpr int kWidth = 1600, kHeight = 800;
  const QImage pdf = renderPdf(path("scene.pdf"), kWidth, kHeight, drawScene);
  const QImage qt = renderQt(kWidth, kHeight, drawScene);
  ASSERT_EQ(pdf.size(), qt.size());

  for (const Word& w : kWords) {
    SCOPED_TRACE(w.text);
    const QRect cell(w.x - 30, w.y - 10, 420, 140);
    const QRect a = inkBox(pdf, cell), b = inkBox(qt, cell);
    ASSERT_FALSE(b.isEmpty());
    EXPECT_NEAR(a.left(), b.left(), 2);
    EXPECT_NEAR(a.right(), b.right(), 4);
    EXPECT_NEAR(a.top(), b.top(), 2);
    EXPECT_NEAR(a.bottom(), b.bottom(), 2);
    const QRgb inkA = pdf.pixel(a.center()), inkB = qt.pixel(b.center());
    EXPECT_NEAR(qRed(inkA) - qBlue(inkA), qRed(inkB) - qBlue(inkB), 60) << "colour";
  }
  // The clip cuts the glyph at the rectangle, as it does on the screen.
  const QRect cutArea(900, 400, 400, 250);
  const QRect cutA = inkBox(pdf, cutArea), cutB = inkBox(qt, cutArea);
  // Rasterizers may colour the dot on the clip's edge.
  EXPECT_GE(cutA.left(), kCut.left - 1);
  EXPECT_LE(cutA.right(), kCut.right);
  EXPECT_NEAR(cutA.left(), cutB.left(), 2);
  EXPECT_NEAR(cutA.right(), cutB.right(), 2);
  // Lines: thin and thick, black.
  for (int x : {1300, 1400})
    EXPECT_NEAR(inkBox(pdf, QRect(x - 10, 300, 20, 10)).width(),
                inkBox(qt, QRect(x - 10, 300, 20, 10)).width(), 1);
  EXPECT_LT(qGray(pdf.pixel(1450, 700)), 100);
  // Shading: the same light dots, lighter than text, darker than paper.
  const QRect shaded(kShaded.left, kShaded.top, kShaded.right - kShaded.left,
                     kShaded.bottom - kShaded.top);
  EXPECT_NEAR(meanGray(pdf, shaded), meanGray(qt, shaded), 6);
  EXPECT_LT(meanGray(pdf, shaded), 245);
  EXPECT_GT(meanGray(pdf, shaded), 200);
  // Overall: 8 x 8 blocks (75 dpi) agree but for antialiasing.
  EXPECT_LT(worstBlock(pdf, qt), 80);
}

QRawFont faceFile(const FontSpec& font) {
  QImage device(1, 1, QImage::Format_RGB32);
  device.setDotsPerMeterX(23622);
  device.setDotsPerMeterY(23622);
  return measureFont(font, &device)->raw;
}

TEST_F(PdfTest, SyntheticStylesAndFontsWithoutAFileToEmbed) {
  // A face with one upright regular file only, and a Type 1 font that only
  // Qt knows, loaded from memory under a name of its own.
  const bool noto = faceFile(FontSpec{"Noto Mono", -100}).familyName() == "Noto Mono";
  QFile type1(QString::fromStdString(
      run("fc-match -f '%{file}' 'Nimbus Sans:fontformat=Type 1' 2>/dev/null")));
  QByteArray data = type1.open(QIODevice::ReadOnly) ? type1.readAll() : QByteArray();
  const int memoryFont =
      QFontDatabase::addApplicationFontFromData(data.replace("Nimbus Sans", "Tarnlist T3"));
  const bool outlines = memoryFont >= 0 &&
                        faceFile(FontSpec{"Tarnlist T3", -100}).familyName() == "Tarnlist T3";
  if (!noto || !outlines) GTEST_SKIP() << "needs the fonts Noto Mono and Nimbus Sans (Type 1)";

  const FontSpec fonts[] = {{"Noto Mono", -100}, {"Noto Mono", -100, 700},
                            {"Noto Mono", -100, 0, true}, {"Tarnlist T3", -100}};
  auto scene = [&fonts](Canvas& c) {
    for (int i = 0; i < 4; ++i) {
      c.setFont(i, fonts[i]);
      c.selectFont(i);
      c.textOut(100, 100 + 200 * i, "llll Hlx");
    }
  };
  const QImage pdf = renderPdf(path("styles.pdf"), 1000, 900, scene);
  const QImage qt = renderQt(1000, 900, scene);
  ASSERT_FALSE(pdf.isNull());
  auto line = [](int i) { return QRect(50, 100 + 200 * i, 900, 140); };
  const double regular = 255 - meanGray(pdf, line(0)), bold = 255 - meanGray(pdf, line(1));
  EXPECT_GT(bold, regular * 1.3) << "bold asked of a regular file is drawn heavier";
  // Italic leans right: the top of an "l" stands right of its foot.
  const QRect stem = inkBox(pdf, QRect(50, line(2).top(), 80, 140));
  const QRect top = inkBox(pdf, QRect(50, stem.top(), 80, 10));
  const QRect foot = inkBox(pdf, QRect(50, stem.bottom() - 10, 80, 10));
  EXPECT_GT(top.center().x(), foot.center().x() + 5);
  // Glyph drawings stand where Qt puts the glyphs.
  const QRect a = inkBox(pdf, line(3)), b = inkBox(qt, line(3));
  EXPECT_NEAR(a.left(), b.left(), 2);
  EXPECT_NEAR(a.right(), b.right(), 4);
  EXPECT_NEAR(a.top(), b.top(), 2);
  EXPECT_NEAR(a.bottom(), b.bottom(), 2);

  const std::string fontList = run("pdffonts '" + path("styles.pdf") + "'");
  EXPECT_NE(fontList.find("Type 3"), std::string::npos) << fontList;
  const std::string text = run("pdftotext -layout '" + path("styles.pdf") + "' -");
  EXPECT_EQ(std::count(text.begin(), text.end(), 'H'), 4) << text;
  QFontDatabase::removeApplicationFont(memoryFont);
}

TEST_F(PdfTest, FontsWithoutTrueTypeOutlinesAreEmbeddedAsChosen) {
  // The face as Qt picks it, and each maker's files of it (OpenType with CFF
  // outlines, Type 1).
  QStringList faces = {QStringLiteral("Nimbus Mono PS")};
  for (const QString& family : QFontDatabase::families())
    if (family.startsWith(QLatin1String("Nimbus Mono PS ["))) faces << family;
  const char* const styles[] = {"Regular", "Bold", "Italic", "BoldItalic"};
  int tried = 0;
  for (const QString& face : faces) {
    SCOPED_TRACE(face.toStdString());
    const QRawFont raw = faceFile(FontSpec{face.toStdString(), -60});
    if (!raw.familyName().startsWith(QLatin1String("Nimbus Mono PS")) ||
        !raw.fontTable("glyf").isEmpty())
      continue;
    ++tried;
    auto scene = [&](Canvas& c) {
      for (int i = 0; i < 4; ++i) {
        c.setFont(i, FontSpec{face.toStdString(), -60, i % 2 ? 700 : 0, i >= 2});
        c.selectFont(i);
        int y = 1300 * (i / 2);
        for (const std::string& row : printableRows()) c.textOut(100 + 700 * (i % 2), y += 80, row);
      }
    };
    const QImage pdf = renderPdf(path("nimbus.pdf"), 1600, 2600, scene);
    ASSERT_FALSE(pdf.isNull());
    // Every glyph where Qt draws it.
    EXPECT_LT(worstBlock(pdf, renderQt(1600, 2600, scene)), 80);
    const std::string fonts = squeezed(run("pdffonts '" + path("nimbus.pdf") + "'"));
    const std::string type = raw.fontTable("CFF ").isEmpty() ? " Type 1 " : " Type 1C ";
    for (const char* style : styles)  // embedded whole
      EXPECT_NE(fonts.find("NimbusMonoPS-" + std::string(style) + type + "WinAnsi yes no "),
                std::string::npos) << fonts;
    EXPECT_EQ(fonts.find("Type 3"), std::string::npos) << fonts;
    EXPECT_EQ(fonts.find("Liberation"), std::string::npos) << fonts;
    const std::string text = run("pdftotext -layout -enc UTF-8 '" + path("nimbus.pdf") + "' -");
    for (const std::string& row : printableRowsAsText()) {
      int found = 0;
      for (std::size_t at = 0; (at = text.find(row, at)) != std::string::npos; at += row.size())
        ++found;
      EXPECT_EQ(found, 4) << row;
    }
  }
  if (!tried) GTEST_SKIP() << "needs the font Nimbus Mono PS (OpenType or Type 1)";
}

TEST_F(PdfTest, FailedOrCancelledJobsLeaveNoFile) {
  const std::string readOnly = path("read-only");
  ASSERT_EQ(::mkdir(readOnly.c_str(), 0555), 0);
  const struct {
    const char* name;
    std::string file;
  } unwritable[] = {
      {"missing folder", path("no-such-folder/out.pdf")},
      {"a folder", dir_.path().toStdString()},
      // The superuser writes into read-only folders; nobody creates files in /proc.
      {"read-only folder", ::geteuid() == 0 ? "/proc/tarnlist.pdf" : readOnly + "/out.pdf"},
  };
  for (const auto& c : unwritable) {
    SCOPED_TRACE(c.name);
    PdfTarget target(c.file, testPage(false));
    EXPECT_FALSE(target.open());
    EXPECT_FALSE(target.beginPage(1));
    EXPECT_FALSE(target.finish());
    QtPrinter printer;
    printer.setPdfOutput(c.file);
    SamplePrintout printout("x", DeviceMode::kPortrait);
    EXPECT_EQ(printer.print(printout, false), JobResult::Failed);
  }
  ::chmod(readOnly.c_str(), 0755);
  EXPECT_TRUE(filesLeft().isEmpty()) << filesLeft().join(' ').toStdString();

  {  // Cancelled at the second page.
    PdfTarget target(path("cancelled.pdf"), testPage(false));
    ASSERT_TRUE(target.open());
    target.pageStarting = [](int page) { return page < 2; };
    SamplePrintout printout("x", DeviceMode::kPortrait);
    EXPECT_EQ(runPrintJob(printout, target), JobResult::Cancelled);
  }
  {  // The folder went away while the job ran.
    const QString folder = dir_.filePath("gone");
    ASSERT_TRUE(QDir().mkdir(folder));
    PdfTarget target((folder + "/out.pdf").toStdString(), testPage(false));
    ASSERT_TRUE(target.open());
    SamplePrintout printout("x", DeviceMode::kPortrait);
    EXPECT_EQ(runPrintJob(printout, target), JobResult::Printed);
    ASSERT_TRUE(QDir(folder).removeRecursively());
    EXPECT_FALSE(target.finish());
  }
  EXPECT_TRUE(filesLeft().isEmpty()) << filesLeft().join(' ').toStdString();
  EXPECT_FALSE(QFile::exists(dir_.filePath("gone")));
}

TEST_F(PdfTest, AnyInputGivesAReadableFile) {
  const struct {
    const char* name;
    std::function<void(Canvas&)> paint;
  } cases[] = {
      {"no page drawn on", nullptr},
      {"every byte, odd sizes, far places, empty rectangles",
       [](Canvas& c) {
         std::string all;
         for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
         const FontSpec fonts[] = {{"", INT_MIN}, {"", INT_MAX}, {"", 1},
                                   {std::string("\0\xFF(\\)", 5), -50, 700, true, true, true},
                                   {"No Such Face", -40}};
         for (int i = 0; i < 5; ++i) {
           c.setFont(i, fonts[i]);
           c.selectFont(i);
           c.setTextColor(0xFFFFFFFF);
           c.textOut(10, 10 + 100 * i, all);
           c.setTextAlign(TextAlign::Right);
           c.textOut(INT_MIN, INT_MAX, all);
           c.setTextAlign(TextAlign::Center);
           c.textOut(INT_MAX, INT_MIN, all);
           c.setTextAlign(TextAlign::Left);
           c.textOutClipped(10, 10, Rect{0, 0, 0, 0}, all);
           c.textOutClipped(INT_MIN, 10, Rect{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, all);
           c.textOutClipped(10, 600, Rect{20, 600, 25, 610}, all);
         }
         c.selectFont(-1);
         c.selectFont(kFontSlots);
         c.textOut(0, 0, "");
         c.shade(Rect{10, 10, 10, 100});
         c.shade(Rect{INT_MIN, INT_MIN, INT_MAX, INT_MAX});
         c.selectPen(INT_MIN);
         c.lineTo(INT_MAX, INT_MIN);
         c.selectPen(INT_MAX);
         c.lineTo(5, 5);
       }},
  };
  const bool qpdf = std::system("command -v qpdf >/dev/null") == 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string file = path("input.pdf");
    PdfTarget target(file, testPage(true));
    ASSERT_TRUE(target.open());
    if (c.paint) {
      ASSERT_TRUE(target.beginPage(1));
      c.paint(target.canvas());
      target.endPage();
    }
    ASSERT_TRUE(target.finish());
    EXPECT_EQ(pdfinfo(file, "Pages"), "1");
    // Poppler names every fault it meets as an error.
    EXPECT_NE(std::system(("pdftoppm -r 20 -singlefile '" + file + "' '" + file + "' 2>&1 |"
                           " grep -qi error").c_str()), 0);
    if (qpdf) {
      EXPECT_EQ(std::system(("qpdf --check '" + file + "' >/dev/null 2>&1").c_str()), 0);
    }
  }
}

}  // namespace
}  // namespace tarn
