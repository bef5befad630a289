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

/// Where the preview shows the page in a client area: 15 units in from the
/// left and top, the paper's proportions with the 95-percent rule, and
/// whichever side limits so that the whole page stays inside.
Rect previewPageRect(const Rect& client, int pageWidth, int pageHeight);

}  // namespace tarn
