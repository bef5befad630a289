#pragma once

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRect>

#include "platform/canvas.h"
#include "ui/print_guard.h"

namespace tarn {

/// A rectangle of the layout as Qt places widgets.
inline QRect toQRect(const Rect& r) {
  return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

/// Closes a view together with the MDI frame around it.
inline void closeView(QWidget* view) {
  if (auto* frame = qobject_cast<QMdiSubWindow*>(view->parentWidget())) frame->close();
  else view->close();
}

/// Return that no focused button took presses the window's default button
/// (when it is enabled); true when the key was Return.
inline bool returnPressesDefault(QKeyEvent* event, QPushButton* defaultButton) {
  if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) return false;
  if (event->modifiers() != Qt::NoModifier && event->modifiers() != Qt::KeypadModifier) return false;
  if (defaultButton->isEnabled()) defaultButton->animateClick();
  return true;
}

/// A window stays open while a print job runs: the job draws from its document.
/// True when the close was refused.
inline bool refuseCloseWhilePrinting(QCloseEvent* event) {
  if (!PrintGuard::active()) return false;
  event->ignore();
  return true;
}

}  // namespace tarn
