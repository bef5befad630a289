// File names are UTF-8 and may hold any character: the Qt and PDF canvases
// draw each as Qt draws it, and PDF text reads back as the name.
#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QPainter>
#include <QTemporaryDir>

#include <string>

#include "pdf_render.h"
#include "platform/qt/qt_canvas.h"

namespace tarn {
namespace {

using namespace test;

const char* const kNames[] = {
    "M\xC3\xBCller.clw (\xC3\xBC dir)",  // in the code page
    "\xC5\x81\xC3\xB3" "d\xC5\xBA.clw",  // partly in it
    // Letters the faces below lack, which Qt draws from a fallback font, and
    // U+0378, which no font has.
    "\xE1\x83\x97\xE1\x83\x91\xE1\x83\x98\xE1\x83\x9A\xE1\x83\x98.clw", "a\xCD\xB8z.clw"};
constexpr int kCount = static_cast<int>(std::size(kNames));
constexpr int kLine = 140, kWidth = 1400, kHeight = kLine * kCount;
QRect lineOf(int i) { return QRect(0, i * kLine, kWidth, kLine); }

TEST(FileNameText, QtCanvasAndPdfDrawWhatQtDrawsAndPdfTextReadsBack) {
  const struct { const char* what; FontSpec font; } faces[] = {
      {"fixed pitch", {"", -80}},
      {"bold italic serif", {"Liberation Serif", -80, 700, true}},
      {"underlined", {"", -80, 0, false, true}}};
  QTemporaryDir dir;
  const std::string file = dir.filePath("names.pdf").toStdString();
  for (const auto& face : faces) {
    SCOPED_TRACE(face.what);
    auto scene = [&](Canvas& c) {
      c.setFont(0, face.font);
      c.selectFont(0);
      for (int i = 0; i < kCount; ++i) c.textOutUtf8(20, 20 + i * kLine, kNames[i]);
    };
    const QImage qt = renderQt(kWidth, kHeight, scene);
    // Qt's own layout of each whole name, on the baseline the canvas uses.
    QImage expected = renderQt(kWidth, kHeight, [](Canvas&) {});
    QPainter painter(&expected);
    QtCanvas canvas(&painter);
    canvas.setFont(0, face.font);
    canvas.selectFont(0);
    painter.setFont(canvas.font(0));
    const QFontMetricsF metrics(painter.font(), &expected);
    for (int i = 0; i < kCount; ++i) {
      const QString text = QString::fromUtf8(kNames[i]);
      painter.drawText(QPointF(20, 20 + i * kLine + metrics.ascent()), text);
      EXPECT_NEAR(canvas.textWidthUtf8(kNames[i]), metrics.horizontalAdvance(text),
                  text.size() / 2 + 1) << i;
    }
    painter.end();
    // A "?" for a letter, or a glyph or underline out of place, stands out
    // as a block of ink.
    EXPECT_LT(worstBlock(qt, expected), 80);

    if (!havePoppler()) continue;
    const QImage pdf = renderPdf(file, kWidth, kHeight, scene);
    ASSERT_FALSE(pdf.isNull());
    for (int i = 0; i < kCount; ++i) {
      const QRect a = inkBox(pdf, lineOf(i)), b = inkBox(qt, lineOf(i));
      ASSERT_FALSE(b.isEmpty()) << i;
      EXPECT_NEAR(a.left(), b.left(), 2) << i;
      EXPECT_NEAR(a.right(), b.right(), 6) << i;
      EXPECT_NEAR(a.top(), b.top(), 2) << i;
      EXPECT_NEAR(a.bottom(), b.bottom(), 2) << i;
    }
    // Qt underlines a fallback font's glyphs at that font's depth, the PDF at the face's.
    if (!face.font.underline) {
      EXPECT_LT(worstBlock(pdf, qt), 80);
    }
    EXPECT_EQ(run("pdftoppm -r 20 -singlefile '" + file + "' '" + file + "' 2>&1 | grep -ci error"),
              "0\n");
    const std::string text = run("pdftotext -enc UTF-8 '" + file + "' -");
    for (const char* name : kNames) EXPECT_NE(text.find(name), std::string::npos) << text;
  }
}

TEST(FileNameText, MoreCharactersThanOneFontHoldsReadBackInOrder) {
  if (!havePoppler()) GTEST_SKIP() << "poppler-utils are not installed";
  // Cyrillic and its supplement: 304 characters beyond the code page.
  std::string all;
  for (char32_t u = 0x400; u < 0x530; ++u) all += QString::fromUcs4(&u, 1).toStdString();
  QTemporaryDir dir;
  const std::string file = dir.filePath("many.pdf").toStdString();
  PdfTarget target(file, testPage(true));
  ASSERT_TRUE(target.open() && target.beginPage(1));
  target.canvas().setFont(0, FontSpec{"DejaVu Sans", -40});
  target.canvas().selectFont(0);
  for (std::size_t at = 0, y = 0; at < all.size(); at += 64, y += 60)
    target.canvas().textOutUtf8(0, static_cast<int>(y), all.substr(at, 64));
  target.endPage();
  ASSERT_TRUE(target.finish());
  std::string text = run("pdftotext -raw -enc UTF-8 '" + file + "' -");
  std::erase_if(text, [](char ch) { return ch == '\n' || ch == '\f'; });
  EXPECT_EQ(text, all);
}

}  // namespace
}  // namespace tarn
