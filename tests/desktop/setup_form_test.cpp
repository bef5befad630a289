#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "desktop/dialog_template.h"
#include "desktop/font_record.h"
#include "desktop/setup_form.h"

namespace tarn {
namespace {

TEST(SetupFormTest, ReadsOnlyUnsignedDecimals) {
  const std::pair<const char*, std::optional<unsigned>> cases[] = {
      {"7", 7u},     {" 10 ", 10u},      {"007", 7u},          {"", std::nullopt},
      {"-1", std::nullopt}, {"1e2", std::nullopt}, {"12a", std::nullopt},
      {"4294967295", 4294967295u}, {"4294967296", std::nullopt}, {"1 2", std::nullopt},
  };
  for (auto [text, value] : cases) EXPECT_EQ(readUnsigned(text), value) << '"' << text << '"';
}

TEST(SetupFormTest, ConfirmStoresInOrderAndStopsAtTheFirstFailure) {
  SetupData setup = defaultSetupData();
  SetupForm form = setupFormOf(setup);
  form.setOption(kSetupWrapLine, true);
  form.setOption(kSetupPortrait, true);
  form.setOption(kSetupLandscape, false);
  form.headerText = std::string(120, 'h');
  form.columns = "4";
  form.lineHeight = "79";
  form.tabWidth = "9";
  const SetupCheck check = confirmSetup(form, setup);
  EXPECT_EQ(check.failedEdit, kSetupLineHeight);
  EXPECT_STREQ(check.message, "'Lineheight' must be an integer from 80 to 200");
  EXPECT_EQ(setup.wrapLine, 1);
  EXPECT_EQ(setup.portrait, 1);
  EXPECT_EQ(setup.landscape, 0);
  EXPECT_EQ(std::strlen(setup.headerText), 99u) << "cut to 99 and terminated";
  EXPECT_EQ(setup.columns, 4) << "passed before the failure";
  EXPECT_EQ(setup.tabWidth, 2) << "not reached";
  EXPECT_EQ(setupFormOf(setup).option(kSetupWrapLine), true);
}

TEST(FontRecordTest, StoresTheChoiceAsTheFontDialogDoes) {
  FontData font{};
  font.flags = 0x40;
  font.color = 0xFF;
  prepareFontDialog(font);
  EXPECT_EQ(font.flags, kFontDialogFlags);
  EXPECT_EQ(font.color, 0u);
  storeFontChoice(font, FontChoice{std::string(40, 'F'), 105, 700, true, true, 96});
  const LogFont lf = font.logFont;
  EXPECT_EQ(lf.height, -14) << "10.5 points at 96 dpi";
  EXPECT_EQ(lf.weight, 700);
  EXPECT_EQ(lf.italic, 1);
  EXPECT_EQ(lf.underline + lf.strikeOut, 0);
  EXPECT_EQ(lf.pitchAndFamily, 0x31);
  EXPECT_EQ(faceNameOf(font), std::string(31, 'F')) << "the face is cut to 31 characters";
  EXPECT_EQ(font.pointSize, 105);
  EXPECT_EQ(font.fontType, kScreenFontType);
}

TEST(DialogTemplateTest, UnitsAndControls) {
  const DialogBase base = dialogBase(338, 15);  // 13 per letter: (13 + 1) / 2
  EXPECT_EQ(base.x, 7);
  EXPECT_EQ(dialogUnitsToPixels(base, 312, 207, 52, 14), (Rect{546, 388, 637, 414}));
  std::map<int, int> ids;
  for (const DialogControl& c : setupDialogTemplate())
    if (c.id) ++ids[c.id];
  EXPECT_EQ(ids[kSetupStyle], 2) << "the group box shares 1520 with \"&Style...\"";
  EXPECT_EQ(setupDialogTemplate().count, 34u);
  for (auto [id, n] : ids)
    if (id != kSetupStyle) {
      EXPECT_EQ(n, 1) << id;
    }
}

}  // namespace
}  // namespace tarn
