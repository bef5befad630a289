#pragma once

#include <string>

#include "settings/setup_data.h"

namespace tarn {

/// What the font dialog answered, in the terms of the settings record.
struct FontChoice {
  std::string faceName;  ///< Windows-1252
  int pointSizeTenths = 0;
  int weight = 400;
  bool italic = false;
  bool fixedPitch = false;
  int dpiY = 96;  ///< of the screen the dialog measured on
};

/// Flags of the font dialog: screen fonts, start from the record's LOGFONT,
/// the font must exist, TrueType only.
inline constexpr std::uint32_t kFontDialogFlags = 0x50041;
/// Font type the dialog is started with (a screen font).
inline constexpr std::uint16_t kScreenFontType = 0x2000;

/// Before each font dialog: the flags, colour black and the screen font type.
void prepareFontDialog(FontData& font);

/// Stores a choice as the font dialog fills its record: the LOGFONT (height
/// as a negative character height in the screen's pixels, weight, italic, no
/// underline or strike-out, the face cut to 31 characters), the point size in
/// tenths, colour black and the screen font type.
void storeFontChoice(FontData& font, const FontChoice& choice);

/// The face name of a record (up to its NUL).
std::string faceNameOf(const FontData& font);

}  // namespace tarn
