#include "pdf_render.h"

#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/qt/qt_canvas.h"

namespace tarn::test {

std::string run(const std::string& command) {
  std::string out;
  if (FILE* p = popen(command.c_str(), "r")) {
    char buf[4096];
    for (std::size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
    pclose(p);
  }
  return out;
}

bool havePoppler() {
  return std::system("(command -v pdfinfo && command -v pdftotext && command -v pdftoppm &&"
                     " command -v pdffonts) >/dev/null") == 0;
}

PdfPageSetup testPage(bool landscape) {
  PdfPageSetup page;
  page.paperWidth = landscape ? 842 : 595;
  page.paperHeight = landscape ? 595 : 842;
  page.left = page.top = 12;
  page.width = static_cast<int>((page.paperWidth - 24) / 72 * 600);
  page.height = static_cast<int>((page.paperHeight - 24) / 72 * 600);
  return page;
}

QImage renderPdf(const std::string& file, int width, int height,
                 const std::function<void(Canvas&)>& paint) {
  PdfTarget target(file, testPage(true));
  if (!target.open() || !target.beginPage(1)) return {};
  paint(target.canvas());
  target.endPage();
  if (!target.finish()) return {};
  const std::string out = file + "-render";
  run("pdftoppm -r 600 -gray -singlefile -x 100 -y 100 -W " + std::to_string(width) + " -H " +
      std::to_string(height) + " '" + file + "' '" + out + "'");
  return QImage(QString::fromStdString(out + ".pgm")).convertToFormat(QImage::Format_RGB32);
}

QImage renderQt(int width, int height, const std::function<void(Canvas&)>& paint) {
  QImage image(width, height, QImage::Format_RGB32);
  image.setDotsPerMeterX(23622);
  image.setDotsPerMeterY(23622);
  image.fill(Qt::white);
  QPainter painter(&image);
  {
    QtCanvas canvas(&painter);
    paint(canvas);
  }
  painter.end();
  return image;
}

QRect inkBox(const QImage& image, const QRect& area) {
  QRect box;
  const QRect r = area.intersected(image.rect());
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x)
      if (qGray(image.pixel(x, y)) < 128) box = box.united(QRect(x, y, 1, 1));
  return box;
}

double meanGray(const QImage& image, const QRect& area) {
  double sum = 0;
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x, ++n) sum += qGray(image.pixel(x, y));
  return n ? sum / n : 0;
}

int worstBlock(const QImage& a, const QImage& b) {
  int worst = 0;
  for (int y = 0; y + 8 <= a.height(); y += 8)
    for (int x = 0; x + 8 <= a.width(); x += 8)
      worst = std::max(worst, std::abs(static_cast<int>(meanGray(a, QRect(x, y, 8, 8)) -
                                                        meanGray(b, QRect(x, y, 8, 8)))));
  return worst;
}

}  // namespace tarn::test
