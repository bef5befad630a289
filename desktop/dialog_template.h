#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/canvas.h"

namespace tarn {

/// One control of a dialog resource: its kind, id, text and place in dialog
/// units. Controls are listed in tab order.
struct DialogControl {
  enum class Kind {
    GroupBox,
    RadioFirst,  ///< a radio button that starts a group
    Radio,
    Edit,
    Label,
    LabelRight,
    Check,
    List,
    Button,
    DefaultButton,
  };
  Kind kind;
  int id;  ///< 0: a control nobody addresses
  const char* text;
  int x, y, width, height;
};

/// A dialog resource: caption, size in dialog units, controls in tab order.
struct DialogTemplate {
  const char* caption;
  int width, height;
  const DialogControl* controls;
  std::size_t count;
  const DialogControl* begin() const { return controls; }
  const DialogControl* end() const { return controls + count; }
};

/// The setup dialog (resource 20000) and the Styles dialog (19000).
const DialogTemplate& setupDialogTemplate();
const DialogTemplate& stylesDialogTemplate();

/// Ids of the setup dialog's controls.
enum SetupControl : int {
  kSetupPortrait = 200, kSetupLandscape = 300, kSetupColumns = 400,
  kSetupLineHeight = 102, kSetupTabWidth = 103,
  kSetupWrapLine = 1100, kSetupEmphasizeEmbeds = 100, kSetupLineBeforeUnit = 1000,
  kSetupKeywordsUppercase = 1400, kSetupBindingMargin = 105,
  kSetupClassList = 1600, kSetupStyle = 1520, kSetupColor = 1510,
  kSetupUnitPerColumn = 700, kSetupUnitPerPage = 800, kSetupIncludeComment = 900,
  kSetupHeaderText = 104, kSetupReportFont = 101, kSetupSourceFont = 1500,
  kSetupOk = 1, kSetupCancel = 2, kSetupHelp = 9, kSetupOneUnitEach = 600,
};

/// Ids of the Styles dialog's controls.
enum StylesControl : int { kStylesItalic = 101, kStylesBold = 103 };

/// The names of the token classes 0..9 in the setup dialog's list.
extern const char* const kTokenClassNames[10];

/// Dialog base units of a font, as Windows takes them: half the average
/// width of the 52 letters (rounded up), and the font's height.
struct DialogBase {
  int x = 0, y = 0;
};
DialogBase dialogBase(int widthOfAlphabet, int fontHeight);

/// A place in dialog units in pixels: x * baseX / 4, y * baseY / 8.
Rect dialogUnitsToPixels(const DialogBase& base, int x, int y, int width, int height);

}  // namespace tarn
