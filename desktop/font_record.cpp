#include "desktop/font_record.h"

#include <algorithm>
#include <cstring>

namespace tarn {
namespace {

// LOGFONT values the font dialog gives a Western screen font.
constexpr std::uint8_t kAnsiCharSet = 0, kOutStrokePrecision = 3, kClipStrokePrecision = 2,
                       kDraftQuality = 1, kFixedPitch = 1, kVariablePitch = 2, kFamilyModern = 0x30,
                       kFamilySwiss = 0x20;

}  // namespace

void prepareFontDialog(FontData& font) {
  font.flags = kFontDialogFlags;
  font.color = 0;
  font.fontType = kScreenFontType;
}

void storeFontChoice(FontData& font, const FontChoice& choice) {
  LogFont lf;
  std::memset(&lf, 0, sizeof lf);
  const long long tenths = std::clamp(choice.pointSizeTenths, 10, 7200);
  // -MulDiv(points, dpi, 72), rounded as MulDiv rounds.
  lf.height = -static_cast<std::int32_t>((tenths * choice.dpiY + 360) / 720);
  lf.weight = std::clamp(choice.weight, 100, 900);
  lf.italic = choice.italic ? 1 : 0;
  lf.charSet = kAnsiCharSet;
  lf.outPrecision = kOutStrokePrecision;
  lf.clipPrecision = kClipStrokePrecision;
  lf.quality = kDraftQuality;
  lf.pitchAndFamily = choice.fixedPitch ? (kFixedPitch | kFamilyModern)
                                        : (kVariablePitch | kFamilySwiss);
  std::memcpy(lf.faceName, choice.faceName.data(),
              std::min(choice.faceName.size(), sizeof lf.faceName - 1));
  font.logFont = lf;
  font.pointSize = static_cast<std::int32_t>(tenths);
  font.color = 0;
  font.fontType = kScreenFontType;
}

std::string faceNameOf(const FontData& font) {
  const LogFont lf = font.logFont;
  return std::string(lf.faceName, strnlen(lf.faceName, sizeof lf.faceName));
}

}  // namespace tarn
