#include "ui/app_icon.h"

#include <QPainter>
#include <QPixmap>

namespace tarn {

QIcon appIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size / 32.0;
    // The page, with a folded corner.
    QPolygonF page({QPointF(5 * s, 2 * s), QPointF(21 * s, 2 * s), QPointF(27 * s, 8 * s),
                    QPointF(27 * s, 30 * s), QPointF(5 * s, 30 * s)});
    p.setPen(QPen(QColor(60, 60, 60), std::max(1.0, s)));
    p.setBrush(Qt::white);
    p.drawPolygon(page);
    // Source lines in the listing's colours: keyword, label, comment.
    const QColor colours[] = {QColor(0, 0, 160), QColor(160, 0, 0), QColor(0, 128, 0),
                              QColor(0, 0, 160), QColor(90, 90, 90)};
    const qreal widths[] = {14, 10, 16, 8, 12};
    for (int i = 0; i < 5; ++i) {
      p.setPen(QPen(colours[i], std::max(1.0, 2 * s), Qt::SolidLine, Qt::FlatCap));
      const qreal y = (10 + 4 * i) * s;
      const qreal x = (i % 2 ? 11 : 8) * s;
      p.drawLine(QPointF(x, y), QPointF(x + widths[i] * s, y));
    }
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace tarn
