#include "ui/font_choice.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "desktop/font_record.h"
#include "pdf/qt/qt_fonts.h"
#include "printout/listing_printout.h"

namespace tarn {

QFont dialogFontOf(const FontData& data, bool printed) {
  const std::string face = faceNameOf(data);
  QFont font = !face.empty() ? QFont(qStringFromCp1252(face))
               : printed     ? defaultListingFont()
                             : QApplication::font();
  // The dialog lists real families only: an alias would show its first entry.
  const QString family = QFontInfo(font).family();
  const std::int32_t tenths = data.pointSize;
  const qreal points = tenths > 0   ? tenths / 10.0
                       : printed    ? TMyPrintout::kDefaultPointSize / 10.0
                       : font.pointSizeF() > 0 ? font.pointSizeF()
                                               : QFontInfo(font).pointSizeF();
  QFont shown(family);
  shown.setPointSizeF(points);
  const LogFont lf = data.logFont;
  if (lf.weight > 0) shown.setWeight(static_cast<QFont::Weight>(std::clamp<int>(lf.weight, 100, 900)));
  shown.setItalic(lf.italic != 0);
  const QString style = matchingStyle(family, shown.weight(), shown.italic());
  if (!style.isEmpty()) shown.setStyleName(style);
  return shown;
}

QString matchingStyle(const QString& family, int weight, bool italic) {
  QString best;
  int bestScore = std::numeric_limits<int>::max();
  for (const QString& style : QFontDatabase::styles(family)) {
    // Oblique counts as slanted: the database's italic() says no to it.
    const bool slanted = QFontDatabase::font(family, style, 12).style() != QFont::StyleNormal;
    // A narrower or wider cut is a variant, not the regular face.
    bool variant = false;
    for (const char* width : {"Condensed", "Narrow", "Expanded", "Extended", "Compressed"})
      variant = variant || style.contains(QLatin1String(width), Qt::CaseInsensitive);
    // The wrong slant costs more than a variant, a variant more than any weight.
    const int score = std::abs(QFontDatabase::weight(family, style) - weight) +
                      (slanted != italic ? 20000 : 0) + (variant ? 10000 : 0);
    if (score < bestScore) {
      bestScore = score;
      best = style;
    }
  }
  return best;
}

void keepStyleAcrossFamilies(QFontDialog& dialog) {
  // The style the user chose last: our own corrections do not change it.
  struct Last {
    QString family;
    int weight;
    bool italic;
    bool correcting = false;
  };
  const QFont start = dialog.currentFont();
  auto last = std::make_shared<Last>(Last{start.family(), start.weight(), start.italic()});
  QObject::connect(&dialog, &QFontDialog::currentFontChanged, &dialog,
                   [&dialog, last](const QFont& font) {
                     if (last->correcting) return;
                     if (font.family() == last->family) {
                       last->weight = font.weight();
                       last->italic = font.italic();
                       return;
                     }
                     last->family = font.family();
                     if (font.weight() == last->weight && font.italic() == last->italic) return;
                     const QString style = matchingStyle(font.family(), last->weight, last->italic);
                     if (style.isEmpty()) return;
                     const int points = font.pointSize() > 0 ? font.pointSize() : 12;
                     // After the dialog's own handling of the new family, which
                     // would otherwise select its choice again.
                     QTimer::singleShot(0, &dialog, [&dialog, last, family = font.family(), style, points] {
                       if (dialog.currentFont().family() != family) return;
                       last->correcting = true;
                       dialog.setCurrentFont(QFontDatabase::font(family, style, points));
                       last->correcting = false;
                     });
                   });
}

std::optional<QFont> runFontDialog(const QFont& initial, QWidget* parent) {
  QFontDialog dialog(initial, parent);
  keepStyleAcrossFamilies(dialog);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.selectedFont();
}

}  // namespace tarn
