#include "desktop/dialog_template.h"

#include <iterator>

namespace tarn {
namespace {

using K = DialogControl::Kind;

// Tab order as the resource lists it.
constexpr DialogControl kSetupControls[] = {
    {K::GroupBox, kSetupStyle, "Synta&x highlightning", 154, 5, 153, 78},
    {K::GroupBox, 0, "Definition of unit", 154, 127, 153, 25},
    {K::GroupBox, 0, "Header text", 153, 152, 154, 26},
    {K::GroupBox, 0, "Options", 4, 86, 140, 92},
    {K::RadioFirst, kSetupPortrait, "&Portrait or", 10, 19, 60, 12},
    {K::Radio, kSetupLandscape, "&Landscape with", 10, 31, 62, 12},
    {K::Edit, kSetupColumns, "", 75, 31, 19, 12},
    {K::Label, 0, "&column(s)", 97, 33, 44, 8},
    {K::LabelRight, 0, "Line &height:", 27, 53, 41, 8},
    {K::Edit, kSetupLineHeight, "", 75, 51, 19, 12},
    {K::Label, 0, "percent", 99, 53, 39, 8},
    {K::LabelRight, 0, "&Tab expands to:", 15, 68, 53, 8},
    {K::Edit, kSetupTabWidth, "", 75, 66, 19, 12},
    {K::Label, 0, "spaces", 99, 68, 39, 8},
    {K::Check, kSetupWrapLine, "&Wrap line", 11, 97, 48, 12},
    {K::Check, kSetupEmphasizeEmbeds, "&Emphasize embeds", 11, 109, 72, 12},
    {K::Check, kSetupLineBeforeUnit, "P&rint line before unit", 11, 121, 100, 12},
    {K::Check, kSetupKeywordsUppercase, "Set &keywords uppercase", 11, 133, 110, 12},
    {K::Check, kSetupBindingMargin, "&Binding margin", 11, 162, 123, 12},
    {K::List, kSetupClassList, "", 160, 17, 102, 63},
    {K::Button, kSetupStyle, "&Style...", 268, 47, 33, 12},
    {K::Button, kSetupColor, "&Color...", 268, 61, 33, 12},
    {K::GroupBox, 0, "", 154, 86, 153, 39},
    {K::RadioFirst, kSetupUnitPerColumn, "&Column", 163, 98, 60, 12},
    {K::Radio, kSetupUnitPerPage, "P&age", 163, 110, 60, 12},
    {K::Check, kSetupIncludeComment, "&Include preceding comment", 164, 136, 102, 12},
    {K::Edit, kSetupHeaderText, "", 160, 162, 141, 12},
    {K::Button, kSetupReportFont, "Report &font...", 4, 188, 52, 14},
    {K::Button, kSetupSourceFont, "&Source font...", 62, 188, 54, 14},
    {K::DefaultButton, kSetupOk, "OK", 146, 188, 50, 14},
    {K::Button, kSetupCancel, "Cancel", 201, 188, 50, 14},
    {K::Button, kSetupHelp, "Help", 255, 188, 50, 14},
    {K::GroupBox, 0, "General printing settings", 4, 5, 140, 78},
    {K::Check, kSetupOneUnitEach, "O&nly one unit on each", 159, 85, 80, 12},
};

constexpr DialogControl kStylesControls[] = {
    {K::Check, kStylesItalic, "&Italic", 13, 16, 35, 12},
    {K::Check, kStylesBold, "&Bold", 13, 31, 39, 12},
    {K::DefaultButton, 1, "OK", 79, 6, 43, 14},
    {K::Button, 2, "Cancel", 79, 24, 43, 14},
    {K::GroupBox, 0, "Token styles", 7, 4, 62, 45},
};

}  // namespace

const char* const kTokenClassNames[10] = {
    "Built-in Functions & Procedures", "Comments", "Compiler Directives", "Identifiers",
    "Keywords", "Labels", "Literals & Pictures", "Operators and symbols", "Standard Equates",
    "Unknown (other filetypes)"};

const DialogTemplate& setupDialogTemplate() {
  static const DialogTemplate t{"Tarnlist Setup...", 312, 207, kSetupControls,
                                std::size(kSetupControls)};
  return t;
}

const DialogTemplate& stylesDialogTemplate() {
  static const DialogTemplate t{"Styles", 132, 56, kStylesControls, std::size(kStylesControls)};
  return t;
}

DialogBase dialogBase(int widthOfAlphabet, int fontHeight) {
  return DialogBase{(widthOfAlphabet / 26 + 1) / 2, fontHeight};
}

Rect dialogUnitsToPixels(const DialogBase& base, int x, int y, int width, int height) {
  const int left = x * base.x / 4, top = y * base.y / 8;
  return Rect{left, top, left + width * base.x / 4, top + height * base.y / 8};
}

}  // namespace tarn
