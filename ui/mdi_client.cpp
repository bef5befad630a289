#include "ui/mdi_client.h"

#include <QFontMetrics>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QPaintEvent>
#include <QStyle>

#include "ui/app_context.h"

namespace tarn {
namespace {

/// Arial bold whose cell (ascent and descent) is 30 pixels high.
QFont captionFont() {
  QFont font(QStringLiteral("Arial"));
  font.setBold(true);
  font.setPixelSize(30);
  const int cell = QFontMetrics(font).height();
  if (cell > 0 && cell != 30) font.setPixelSize(std::max(1, 30 * 30 / cell));
  return font;
}

}  // namespace

varnixMDIClient::varnixMDIClient(QWidget* parent) : QMdiArea(parent) {
  setBackground(QBrush(QColor(128, 128, 128)));
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void varnixMDIClient::paintEvent(QPaintEvent* event) {
  QMdiArea::paintEvent(event);
  QPainter p(viewport());
  const QFont font = captionFont();
  p.setFont(font);
  const QFontMetrics fm(font);
  const QString text = QString::fromLatin1(kAppName);
  // The ink of the last letter may reach past its advance, and the shadow
  // passes lie two pixels further: all three stay inside the area.
  constexpr int kShadow = 2;
  const QRect ink = fm.boundingRect(text);
  const int x = viewport()->width() - kShadow - std::max(fm.horizontalAdvance(text), ink.right() + 1);
  const int y = viewport()->height() - kShadow - std::max(fm.descent(), ink.bottom() + 1);
  p.setPen(QColor(255, 255, 255));
  p.drawText(x, y, text);
  p.setPen(QColor(0, 0, 0));
  p.drawText(x + 2, y + 2, text);
  p.setPen(QColor(128, 128, 128));
  p.drawText(x + 1, y + 1, text);
}

void varnixMDIClient::resizeEvent(QResizeEvent* event) {
  QMdiArea::resizeEvent(event);
  viewport()->update();  // the caption follows the corner
}

QMdiSubWindow* varnixMDIClient::addChild(QWidget* view, const QString& title) {
  QMdiSubWindow* frame = addSubWindow(view);
  frame->setAttribute(Qt::WA_DeleteOnClose);
  frame->setWindowTitle(title);
  // Window › Close owns Ctrl+F4; a second owner would make the key do nothing.
  if (QMenu* menu = frame->systemMenu())
    for (QAction* a : menu->actions()) {
      QList<QKeySequence> keys = a->shortcuts();
      if (keys.removeAll(QKeySequence(Qt::CTRL | Qt::Key_F4)) > 0) a->setShortcuts(keys);
    }
  const QSize area = viewport()->size();
  const int w = std::max(320, area.width() * 3 / 4), h = std::max(240, area.height() * 3 / 4);
  const int step = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, frame);
  int offset = step * cascade_;
  if (offset + h > area.height() || offset + w > area.width()) {
    cascade_ = 0;
    offset = 0;
  }
  ++cascade_;
  frame->setGeometry(offset, offset, w, h);
  return frame;
}

void varnixMDIClient::arrangeIcons() {
  int x = 0;
  const int bottom = viewport()->height();
  for (QMdiSubWindow* child : subWindowList(QMdiArea::CreationOrder)) {
    if (!child->isMinimized()) continue;
    const QSize size = child->size();
    child->move(x, bottom - size.height());
    x += size.width();
  }
}

}  // namespace tarn
