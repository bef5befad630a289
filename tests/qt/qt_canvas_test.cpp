#include "platform/qt/qt_canvas.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <climits>
#include <memory>
#include <string>

#include "platform/cp1252.h"

namespace tarn {
namespace {

/// A white 600-dpi image with a canvas over it.
struct ImageCanvas {
  QImage image;
  QPainter painter;
  std::unique_ptr<QtCanvas> canvas;

  ImageCanvas(int width, int height) : image(width, height, QImage::Format_RGB32) {
    image.setDotsPerMeterX(23622);
    image.setDotsPerMeterY(23622);
    image.fill(Qt::white);
    painter.begin(&image);
    canvas = std::make_unique<QtCanvas>(&painter);
  }
  /// Ends drawing (the canvas draws what it held back) and returns the image.
  const QImage& finish() {
    canvas.reset();
    painter.end();
    return image;
  }
};

QRect inkBox(const QImage& image) {
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qGray(image.pixel(x, y)) < 160) box = box.united(QRect(x, y, 1, 1));
  return box;
}

FontSpec fontOf(std::string face, int height, int weight = 0, bool italic = false,
              bool decorated = false) {
  return FontSpec{std::move(face), height, weight, italic, decorated, decorated};
}

TEST(QtCanvasTest, MetricsFollowTheFontSpec) {
  struct Case {
    const char* name;
    FontSpec font;
    int pixelSize;  // 0: a cell height is asked for
  };
  const Case cases[] = {
      {"system fixed pitch, character height", fontOf("", -66), 66},
      {"no size is 12 points", fontOf("", 0), 100},
      {"cell height", fontOf("", 80), 0},
      {"proportional bold", fontOf("Liberation Sans", -50, 700), 50},
      {"italic, underline, strike-out", fontOf("Liberation Serif", -40, 400, true, true), 40},
      {"proportional cell height", fontOf("Liberation Sans", 120), 0},
      {"size from a damaged file", fontOf("", INT_MIN), 10000},
  };
  ImageCanvas target(10, 10);
  QtCanvas& canvas = *target.canvas;
  EXPECT_EQ(canvas.dpiY(), 600);
  for (int slot = 0; slot < static_cast<int>(std::size(cases)); ++slot) {
    const Case& c = cases[slot];
    SCOPED_TRACE(c.name);
    canvas.setFont(slot, c.font);
    canvas.selectFont(slot);
    TextMetrics tm;
    ASSERT_TRUE(canvas.metrics(tm));
    const QFont font = canvas.font(slot);
    const QFontMetrics m(font, &target.image);
    if (c.pixelSize > 0) {
      EXPECT_EQ(font.pixelSize(), c.pixelSize);
    } else {
      EXPECT_LE(tm.tmHeight, c.font.height);
      EXPECT_GE(tm.tmHeight, c.font.height - 2);
    }
    EXPECT_EQ(tm.tmHeight, m.ascent() + m.descent());
    EXPECT_EQ(tm.tmInternalLeading, tm.tmHeight - font.pixelSize());
    EXPECT_EQ(tm.tmExternalLeading, std::max(0, m.leading()));
    EXPECT_EQ(tm.tmAveCharWidth, m.averageCharWidth());
    EXPECT_EQ(tm.tmMaxCharWidth, m.maxWidth());
    EXPECT_EQ(canvas.textHeight("x"), tm.tmHeight);
    const QFontInfo info(font);
    EXPECT_EQ(info.bold(), c.font.weight >= 700);
    EXPECT_EQ(info.italic(), c.font.italic);
    EXPECT_EQ(font.underline(), c.font.underline);
    EXPECT_EQ(font.strikeOut(), c.font.strikeOut);
    if (c.font.faceName.empty()) {
      EXPECT_TRUE(info.fixedPitch()) << info.family().toStdString();
    }
  }
  canvas.setFont(0, fontOf("Caf\xE9 \x80", -20));
  EXPECT_EQ(canvas.font(0).family(), QString::fromUtf8("Café €"));
}

TEST(QtCanvasTest, WidthsAreTheDevicesAdvancesOfWindows1252Characters) {
  const FontSpec faces[] = {fontOf("", -66), fontOf("Liberation Sans", -66),
                            fontOf("Liberation Serif", -50, 700, true)};
  ImageCanvas target(10, 10);
  QtCanvas& canvas = *target.canvas;
  for (int slot = 0; slot < 3; ++slot) {
    SCOPED_TRACE(faces[slot].faceName);
    canvas.setFont(slot, faces[slot]);
    canvas.selectFont(slot);
    const QFontMetrics m(canvas.font(slot), &target.image);
    for (int b = 0x20; b <= 0xFF; ++b) {  // ASCII, 0x80-0x9F, the continuation marker 0xBB
      QChar c(static_cast<char16_t>(cp1252::toUnicode(static_cast<unsigned char>(b))));
      EXPECT_EQ(canvas.textWidth(std::string(1, static_cast<char>(b))), m.horizontalAdvance(c))
          << "byte " << b;
    }
  }
  // Read as Latin-1, 0x80 would be a control code without width.
  canvas.selectFont(1);
  EXPECT_EQ(canvas.textWidth("\x80"),
            QFontMetrics(canvas.font(1), &target.image).horizontalAdvance(QChar(0x20AC)));
  EXPECT_GT(canvas.textWidth("\x80"), 0);
  // Without kerning a text is as wide as Qt lays it out; single advances are rounded.
  canvas.selectFont(0);
  const std::string sample = "IF Loc:Value \xBB 'Stra\xDF" "e' \x80\x84\x93x\x94 ! done";
  const QFontMetrics mono(canvas.font(0), &target.image);
  EXPECT_EQ(canvas.textWidth(sample), mono.horizontalAdvance(qStringFromCp1252(sample)));
}

TEST(QtCanvasTest, ShadingIsTheDotPatternTiledFromTheOriginInTheTextColour) {
  ImageCanvas target(48, 40);
  target.canvas->setTextColor(0x0000FF);  // red
  target.canvas->shade(Rect{5, 5, 37, 29});
  const QImage& image = target.finish();
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      bool dot = QRect(5, 5, 32, 24).contains(x, y) && !(kDotPattern[y % 8] & (0x80 >> (x % 8)));
      ASSERT_EQ(image.pixel(x, y), dot ? qRgb(255, 0, 0) : qRgb(255, 255, 255)) << x << "," << y;
    }
}

TEST(QtCanvasTest, ClippedTextIsCutAtTheRectangle) {
  struct Case {
    const char* name;
    int left2, top2, right2, bottom2;  // from the text's cell, in half characters and cells
  };
  const Case cases[] = {
      {"right edge inside the third character", 0, 0, 5, 2},
      {"left edge inside the first character", 1, 0, 20, 2},
      {"bottom at half the height", 0, 0, 20, 1},
      {"everything inside", -2, -1, 24, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ImageCanvas target(900, 200);
    QtCanvas& canvas = *target.canvas;
    canvas.setFont(0, fontOf("", -66, 700));
    canvas.selectFont(0);
    const int w = canvas.textWidth("W"), h = canvas.textHeight("W");
    const Rect clip{20 + c.left2 * w / 2, 20 + c.top2 * h / 2, 20 + c.right2 * w / 2,
                    20 + c.bottom2 * h / 2};
    canvas.textOutClipped(20, 20, clip, "WWWWWWWWWW");
    const QRect ink = inkBox(target.finish());
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GE(ink.left(), clip.left);
    EXPECT_GE(ink.top(), clip.top);
    EXPECT_LT(ink.right(), clip.right);
    EXPECT_LT(ink.bottom(), clip.bottom);
    // Cut close to the edge, not left out whole.
    if (c.right2 < 20) {
      EXPECT_GE(ink.right(), clip.right - 4);
    }
    if (c.bottom2 < 2) {
      EXPECT_GE(ink.bottom(), clip.bottom - 4);
    }
  }
}

TEST(QtCanvasTest, TextHangsFromYAndAlignsAtX) {
  const struct {
    TextAlign align;
    int centreOffset2;  // ink centre minus x, in half text widths
  } cases[] = {{TextAlign::Left, 1}, {TextAlign::Center, 0}, {TextAlign::Right, -1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.align));
    ImageCanvas target(1200, 300);
    QtCanvas& canvas = *target.canvas;
    canvas.setFont(0, fontOf("", -100));
    canvas.selectFont(0);
    canvas.setTextAlign(c.align);
    const int width = canvas.textWidth("HHHH");
    const int ascent = QFontMetrics(canvas.font(0), &target.image).ascent();
    canvas.textOut(600, 50, "HHHH");
    const QRect ink = inkBox(target.finish());
    EXPECT_NEAR((ink.left() + ink.right() + 1) / 2, 600 + c.centreOffset2 * width / 2, 6);
    EXPECT_GT(ink.top(), 50);
    EXPECT_NEAR(ink.bottom() + 1, 50 + ascent, 2);  // H stands on the baseline
  }
}

TEST(QtCanvasTest, LinesAreBlackSegmentsOfThePensWidth) {
  for (int pen : {kThinPen, kThickPen}) {
    SCOPED_TRACE(pen);
    ImageCanvas target(100, 100);
    QtCanvas& canvas = *target.canvas;
    canvas.setTextColor(0x0000FF);
    canvas.setFont(0, fontOf("", -8));
    canvas.selectFont(0);
    canvas.textOut(0, 0, "x");  // the text colour must not reach the lines
    canvas.selectPen(pen);
    canvas.moveTo(50, 10);
    canvas.lineTo(50, 90);
    canvas.lineTo(10, 90);
    const QImage& image = target.finish();
    int width = 0;
    for (int x = 0; x < 100; ++x) width += image.pixel(x, 50) == qRgb(0, 0, 0);
    EXPECT_GE(width, pen);
    EXPECT_LE(width, pen + 1);
    EXPECT_EQ(image.pixel(20, 90), qRgb(0, 0, 0));       // the second segment
    EXPECT_EQ(image.pixel(20, 50), qRgb(255, 255, 255));  // no segment closes the figure
  }
}

TEST(QtCanvasTest, GlyphRunsDrawWhatQtsTextDrawingDraws) {
  const std::string lines[] = {"IF Loc:Value = 'Stra\xDF" "e' THEN \xBB ",
                               "\x80\x84\x93x\x94 ! done", "CODE", "END"};
  QImage images[2];
  const QtCanvas::TextPath paths[] = {QtCanvas::TextPath::GlyphRuns,
                                      QtCanvas::TextPath::DrawText};
  for (int i = 0; i < 2; ++i) {
    ImageCanvas target(1400, 400);
    QtCanvas& canvas = *target.canvas;
    canvas.setTextPath(paths[i]);
    canvas.setFont(0, fontOf("", -44));
    canvas.setFont(1, fontOf("", -44, 700));
    canvas.setFont(2, fontOf("Liberation Sans", -44, 0, true));
    for (int line = 0; line < 4; ++line) {
      canvas.selectFont(line % 3);
      canvas.setTextColor(line == 1 ? 0x008000 : 0);
      canvas.textOut(10, 10 + 80 * line, lines[line]);
    }
    images[i] = target.finish();
  }
  // Glyphs stand on whole dots, up to half a dot from where Qt's layout puts them.
  const QRect box0 = inkBox(images[0]), box1 = inkBox(images[1]);
  EXPECT_NEAR(box0.left(), box1.left(), 1);
  EXPECT_NEAR(box0.right(), box1.right(), 1);
  EXPECT_EQ(box0.top(), box1.top());
  EXPECT_EQ(box0.bottom(), box1.bottom());
  int worst = 0;
  for (int y = 0; y + 4 <= 400; y += 4)
    for (int x = 0; x + 4 <= 1400; x += 4) {
      int diff = 0;
      for (int d = 0; d < 16; ++d)
        diff += qGray(images[0].pixel(x + d % 4, y + d / 4)) -
                qGray(images[1].pixel(x + d % 4, y + d / 4));
      worst = std::max(worst, std::abs(diff) / 16);
    }
  EXPECT_LT(worst, 64);  // a glyph one dot off makes some 4 x 4 blocks differ by about 95
}

}  // namespace
}  // namespace tarn
