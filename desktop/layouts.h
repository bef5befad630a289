#pragma once

#include "platform/canvas.h"

namespace tarn {

/// What the layout of a window measures in its font.
struct WindowFontMeasures {
  TextMetrics tm;
  int closeWidth = 0;   ///< extent of "Close"
  int closeHeight = 0;
  int filterWidth = 0;  ///< extent of "Filter: "
  int filterHeight = 0;
};

/// One list panel: title, list, filter label and edit, and its button.
struct PanelLayout {
  Rect title, list, label, edit, button;
  Rect secondButton;  ///< the project window's "&Edit", left of `button`
};

/// The places of a file or project window's controls for a client size.
struct ViewLayout {
  PanelLayout panels[2];  ///< upper, lower
  Rect bottomButtons[3];  ///< from the right: the rightmost first
  int dividerY = 0;
  int buttonWidth = 0;
};

/// The file window's layout formulas: margins from the average character
/// width, heights from the font's height and internal leading.
ViewLayout layOutView(int width, int height, const WindowFontMeasures& m);

/// The project window: the file window's layout with a second button in
/// each filter row, and at the bottom "&Close" and left of it the print-all
/// button, as wide as two widest characters and its text.
ViewLayout layOutProjectView(int width, int height, const WindowFontMeasures& m,
                             int printAllTextWidth);

/// The smallest client size of a file window (`printAllTextWidth` 0) or a
/// project window at which both lists show three entries under their
/// titles, the filters keep their width beside their buttons and the bottom
/// buttons do not overlap: the width in `right`, the height in `bottom`.
Rect minimumViewSize(const WindowFontMeasures& m, int printAllTextWidth = 0);

/// Where new windows go, and Cascade puts the open ones: three quarters of
/// the area (at least 320 x 240, never more than the area), each one `step`
/// lower and to the right of the one before, again from the top left when it
/// would reach out of the area.
class CascadePlaces {
 public:
  Rect next(int areaWidth, int areaHeight, int step);
  /// The next window goes to the top left again (the area is empty).
  void restart() { count_ = 0; }

 private:
  int count_ = 0;
};

/// Where the preview shows the page in a client area: 15 units in from the
/// left and top, the paper's proportions with the 95-percent rule, and
/// whichever side limits so that the whole page stays inside.
Rect previewPageRect(const Rect& client, int pageWidth, int pageHeight);

}  // namespace tarn
