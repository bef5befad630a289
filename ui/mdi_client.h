#pragma once

#include <QMdiArea>

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

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  int cascade_ = 0;
};

}  // namespace tarn
