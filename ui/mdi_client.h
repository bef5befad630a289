#pragma once

#include <QMdiArea>

#include "desktop/layouts.h"

namespace tarn {

/// The main window's document area: grey, with the program's name written
/// in its bottom-right corner.
class varnixMDIClient : public QMdiArea {
  Q_OBJECT
 public:
  explicit varnixMDIClient(QWidget* parent = nullptr);

  /// Lays minimised children side by side along the bottom edge.
  void arrangeIcons();
  /// Adds a child at about three quarters of the area, cascaded from the last.
  QMdiSubWindow* addChild(QWidget* view, const QString& title);
  /// Window › Cascade: every child not minimised at the size a new one gets,
  /// cascaded from the top left in the order they were opened.
  void cascade();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  /// Steps down and right by one title bar.
  Rect nextPlace(QMdiSubWindow* frame);
  CascadePlaces places_;
};

}  // namespace tarn
