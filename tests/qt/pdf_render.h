#pragma once

#include <QImage>
#include <QRect>

#include <functional>
#include <string>

#include "platform/canvas.h"
#include "pdf/qt/pdf_target.h"

namespace tarn::test {

/// The standard output of a shell command.
std::string run(const std::string& command);

/// Whether poppler's pdfinfo, pdftotext, pdftoppm and pdffonts are at hand.
bool havePoppler();

/// Paper with 12 pt margins: the printable area starts at dot (100, 100) at 600 dpi.
PdfPageSetup testPage(bool landscape);

/// Draws `paint` through a PdfTarget on one page and renders the printable
/// area's top-left `width` x `height` dots at 600 dpi.
QImage renderPdf(const std::string& file, int width, int height,
                 const std::function<void(Canvas&)>& paint);

/// The same drawn by QtCanvas on a white 600-dpi image.
QImage renderQt(int width, int height, const std::function<void(Canvas&)>& paint);

/// The bounds of the dark dots within `area`.
QRect inkBox(const QImage& image, const QRect& area);

double meanGray(const QImage& image, const QRect& area);

/// The largest difference in mean grey of the images' 8 x 8 blocks.
int worstBlock(const QImage& a, const QImage& b);

}  // namespace tarn::test
