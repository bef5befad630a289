#include "ui/mdi_client.h"

#include <QFontMetrics>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QPaintEvent>
#include <QStyle>

#include <algorithm>

#include "ui/app_context.h"
#include "ui/view_helpers.h"

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
  // The first window of an empty area goes to the top left again.
  const QList<QMdiSubWindow*> children = subWindowList();
  if (std::none_of(children.begin(), children.end(),
                   [frame](QMdiSubWindow* c) { return c != frame && c->isVisible(); }))
    places_.restart();
  frame->setGeometry(toQRect(nextPlace(frame)));
  return frame;
}

Rect varnixMDIClient::nextPlace(QMdiSubWindow* frame) {
  const QSize area = viewport()->size();
  const int step = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, frame);
  return places_.next(area.width(), area.height(), step);
}

void varnixMDIClient::cascade() {
  places_.restart();
  for (QMdiSubWindow* child : subWindowList(QMdiArea::CreationOrder)) {
    if (child->isMinimized() || !child->isVisible()) continue;
    if (child->isMaximized()) child->showNormal();
    child->setGeometry(toQRect(nextPlace(child)));
  }
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
