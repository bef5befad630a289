// File names are UTF-8 and may hold any character: the Qt and PDF canvases
// draw each as Qt draws it, and PDF text reads back as the name.
#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QPainter>
#include <QTemporaryDir>

#include <string>
#include <vector>

#include "pdf_render.h"
#include "platform/qt/pdf_canvas.h"
#include "platform/qt/qt_canvas.h"

namespace tarn {
namespace {

using namespace test;

struct Name {
  const char* what;
  const char* utf8;
};
const Name kNames[] = {
    {"Latin-1", "M\xC3\xBCller.clw (\xC3\xBC dir)"},
    {"Polish", "\xC5\x81\xC3\xB3" "d\xC5\xBA.clw"},
    {"Greek", "\xCE\xA9mega.clw"},
    {"Cyrillic", "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82.clw"},
    // Letters the faces below lack: Qt draws them from a fallback font.
    {"Georgian", "\xE1\x83\x97\xE1\x83\x91\xE1\x83\x98\xE1\x83\x9A\xE1\x83\x98.clw"},
    {"no font has it", "a\xCD\xB8z.clw"},  // U+0378, unassigned
};

struct Face {
  const char* what;
  FontSpec font;
};
const Face kFaces[] = {{"fixed pitch", {"", -80}},
                       {"bold sans", {"Liberation Sans", -80, 700}},
                       {"italic serif", {"Liberation Serif", -80, 0, true}},
                       {"underlined", {"", -80, 0, false, true}}};

constexpr int kLine = 140;
constexpr int kWidth = 1400;

void drawNames(Canvas& c, const FontSpec& font) {
  c.setFont(0, font);
  c.selectFont(0);
  int y = 20;
  for (const Name& n : kNames) {
    c.textOutUtf8(20, y, n.utf8);
    y += kLine;
  }
}

QRect lineOf(int i) { return QRect(0, i * kLine, kWidth, kLine); }

TEST(FileNameText, QtCanvasDrawsWhatQtDraws) {
  for (const Face& face : kFaces) {
    SCOPED_TRACE(face.what);
    const int height = kLine * static_cast<int>(std::size(kNames));
    const QImage drawn = renderQt(kWidth, height, [&](Canvas& c) { drawNames(c, face.font); });
    // Qt's own text layout of the whole name, on the baseline the canvas uses.
    QImage expected(kWidth, height, QImage::Format_RGB32);
    expected.setDotsPerMeterX(23622);
    expected.setDotsPerMeterY(23622);
    expected.fill(Qt::white);
    QPainter painter(&expected);
    QtCanvas canvas(&painter);
    canvas.setFont(0, face.font);
    canvas.selectFont(0);
    const QFont font = canvas.font(0);
    painter.setFont(font);
    const QFontMetricsF metrics(font, &expected);
    for (std::size_t i = 0; i < std::size(kNames); ++i) {
      SCOPED_TRACE(kNames[i].what);
      const QString text = QString::fromUtf8(kNames[i].utf8);
      painter.drawText(QPointF(20, 20 + kLine * static_cast<int>(i) + metrics.ascent()), text);
      EXPECT_NEAR(canvas.textWidthUtf8(kNames[i].utf8), metrics.horizontalAdvance(text),
                  text.size() / 2 + 1);
    }
    painter.end();
    // Glyph for glyph, line for line: a "?" for a letter, or a glyph or
    // underline out of place, stands out as a block of ink.
    EXPECT_LT(worstBlock(drawn, expected), 80);
  }
}

class FileNamePdf : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!havePoppler()) GTEST_SKIP() << "poppler-utils are not installed";
    ASSERT_TRUE(dir_.isValid());
  }
  std::string path(const char* name) const { return dir_.filePath(name).toStdString(); }
  QTemporaryDir dir_;
};

TEST_F(FileNamePdf, PrintsAndReadsBackAsQtCanvasDrawsIt) {
  for (const Face& face : kFaces) {
    SCOPED_TRACE(face.what);
    const int height = kLine * static_cast<int>(std::size(kNames));
    const std::string file = path("names.pdf");
    auto scene = [&](Canvas& c) { drawNames(c, face.font); };
    const QImage pdf = renderPdf(file, kWidth, height, scene);
    const QImage qt = renderQt(kWidth, height, scene);
    ASSERT_FALSE(pdf.isNull());
    for (std::size_t i = 0; i < std::size(kNames); ++i) {
      SCOPED_TRACE(kNames[i].what);
      const QRect a = inkBox(pdf, lineOf(static_cast<int>(i)));
      const QRect b = inkBox(qt, lineOf(static_cast<int>(i)));
      ASSERT_FALSE(b.isEmpty());
      EXPECT_NEAR(a.left(), b.left(), 2);
      EXPECT_NEAR(a.right(), b.right(), 6);
      EXPECT_NEAR(a.top(), b.top(), 2);
      EXPECT_NEAR(a.bottom(), b.bottom(), 2);
    }
    // Qt underlines a fallback font's glyphs at that font's depth, the PDF at
    // the face's; the glyphs themselves agree.
    if (!face.font.underline) {
      EXPECT_LT(worstBlock(pdf, qt), 80);
    }
    EXPECT_EQ(run("pdftoppm -r 20 -singlefile '" + file + "' '" + file + "' 2>&1 | grep -ci error"),
              "0\n");
    const std::string text = run("pdftotext -enc UTF-8 '" + file + "' -");
    for (const Name& n : kNames) EXPECT_NE(text.find(n.utf8), std::string::npos) << text;
  }
}

TEST_F(FileNamePdf, MoreCharactersThanOneFontHoldsReadBackInOrder) {
  // Cyrillic and its supplement: 304 characters beyond the code page.
  std::string all;
  for (char32_t u = 0x400; u < 0x530; ++u)
    all += QString::fromUcs4(&u, 1).toStdString();
  const std::string file = path("many.pdf");
  PdfTarget target(file, testPage(true));
  ASSERT_TRUE(target.open());
  ASSERT_TRUE(target.beginPage(1));
  Canvas& c = target.canvas();
  c.setFont(0, FontSpec{"DejaVu Sans", -40});
  c.selectFont(0);
  for (std::size_t at = 0, y = 0; at < all.size(); at += 64, y += 60)
    c.textOutUtf8(0, static_cast<int>(y), all.substr(at, 64));
  target.endPage();
  ASSERT_TRUE(target.finish());
  std::string text = run("pdftotext -raw -enc UTF-8 '" + file + "' -");
  std::erase_if(text, [](char ch) { return ch == '\n' || ch == '\f'; });
  EXPECT_EQ(text, all);
}

}  // namespace
}  // namespace tarn
