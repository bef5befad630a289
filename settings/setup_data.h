#pragma once

#include <cstddef>
#include <cstdint>

namespace tarn {

/// Number of style entries (token classes 0..9 plus two kept for the layout).
inline constexpr int kStyleEntries = 12;

/// Style bits of `SetupData::tokenStyle`.
enum : std::int32_t { kStyleItalic = 0x1, kStyleBold = 0x4 };

#pragma pack(push, 1)

/// A Windows LOGFONT (ANSI), stored byte for byte.
struct LogFont {
  std::int32_t height;
  std::int32_t width;
  std::int32_t escapement;
  std::int32_t orientation;
  std::int32_t weight;
  std::uint8_t italic;
  std::uint8_t underline;
  std::uint8_t strikeOut;
  std::uint8_t charSet;
  std::uint8_t outPrecision;
  std::uint8_t clipPrecision;
  std::uint8_t quality;
  std::uint8_t pitchAndFamily;
  char faceName[32];
};

/// A font choice as the font dialog is driven with it; 94 bytes on disk.
struct FontData {
  std::uint32_t flags;
  std::uint32_t error;
  std::uint32_t deviceContext;  ///< unused; carried through unchanged
  LogFont logFont;
  std::int32_t pointSize;       ///< tenths of a point; 0 until a font is chosen
  std::uint32_t color;
  std::uint32_t styleString;    ///< unused; carried through unchanged
  std::uint16_t fontType;
  std::int32_t sizeMin;
  std::int32_t sizeMax;
};

/// The process-wide settings; its raw little-endian image is the body of the
/// configuration file, so field order and widths are fixed. Many fields are
/// unaligned: read them by value, never bind a reference to one.
struct SetupData {
  std::int32_t emphasizeEmbeds;
  std::int32_t portrait;
  std::int32_t landscape;
  std::int32_t columns;
  std::int32_t lineHeight;
  std::int32_t tabWidth;
  std::int32_t unitPerColumn;
  std::int32_t unitPerPage;
  std::int32_t includePrecedingComment;
  std::int32_t lineBeforeUnit;
  std::int32_t wrapLine;
  std::int32_t oneUnitEach;
  std::int32_t keywordsUppercase;
  std::uint8_t reserved[4];
  FontData sourceFont;
  FontData reportFont;
  FontData windowFont;
  std::int32_t tokenStyle[kStyleEntries];
  std::uint32_t tokenColor[kStyleEntries];  ///< 0x00BBGGRR
  std::int32_t printMode;
  std::int32_t clearArchive;
  std::int32_t bindingMargin;
  char headerText[100];
};

#pragma pack(pop)

static_assert(sizeof(LogFont) == 60);
static_assert(offsetof(LogFont, weight) == 16);
static_assert(offsetof(LogFont, italic) == 20);
static_assert(offsetof(LogFont, faceName) == 28);

static_assert(sizeof(FontData) == 94);
static_assert(offsetof(FontData, flags) == 0);
static_assert(offsetof(FontData, error) == 4);
static_assert(offsetof(FontData, deviceContext) == 8);
static_assert(offsetof(FontData, logFont) == 12);
static_assert(offsetof(FontData, pointSize) == 72);
static_assert(offsetof(FontData, color) == 76);
static_assert(offsetof(FontData, styleString) == 80);
static_assert(offsetof(FontData, fontType) == 84);
static_assert(offsetof(FontData, sizeMin) == 86);
static_assert(offsetof(FontData, sizeMax) == 90);

static_assert(sizeof(SetupData) == 546);
static_assert(offsetof(SetupData, emphasizeEmbeds) == 0);
static_assert(offsetof(SetupData, portrait) == 4);
static_assert(offsetof(SetupData, landscape) == 8);
static_assert(offsetof(SetupData, columns) == 12);
static_assert(offsetof(SetupData, lineHeight) == 16);
static_assert(offsetof(SetupData, tabWidth) == 20);
static_assert(offsetof(SetupData, unitPerColumn) == 24);
static_assert(offsetof(SetupData, unitPerPage) == 28);
static_assert(offsetof(SetupData, includePrecedingComment) == 32);
static_assert(offsetof(SetupData, lineBeforeUnit) == 36);
static_assert(offsetof(SetupData, wrapLine) == 40);
static_assert(offsetof(SetupData, oneUnitEach) == 44);
static_assert(offsetof(SetupData, keywordsUppercase) == 48);
static_assert(offsetof(SetupData, reserved) == 52);
static_assert(offsetof(SetupData, sourceFont) == 56);
static_assert(offsetof(SetupData, reportFont) == 150);
static_assert(offsetof(SetupData, windowFont) == 244);
static_assert(offsetof(SetupData, tokenStyle) == 338);
static_assert(offsetof(SetupData, tokenColor) == 386);
static_assert(offsetof(SetupData, printMode) == 434);
static_assert(offsetof(SetupData, clearArchive) == 438);
static_assert(offsetof(SetupData, bindingMargin) == 442);
static_assert(offsetof(SetupData, headerText) == 446);

/// Print modes (`SetupData::printMode`).
enum PrintMode : std::int32_t {
  kPrintFullSource = 1,
  kPrintRegions = 2,
  kPrintRegionsOfFilesWithEmbeds = 3,
};

/// Whether a print mode prints only structures and embed points.
inline bool regionsOnly(int printMode) {
  return printMode == kPrintRegions || printMode == kPrintRegionsOfFilesWithEmbeds;
}

/// Ranges the setup dialog enforces; a damaged file is brought into them.
inline constexpr int kMinColumns = 1, kMaxColumns = 10;
inline constexpr int kMinLineHeight = 80, kMaxLineHeight = 200;
inline constexpr int kMinTabWidth = 1, kMaxTabWidth = 50;

/// Flags word of `sourceFont` when the defaults stay in force at start-up.
inline constexpr std::uint32_t kDefaultSourceFontFlags = 0x40;

/// A record with every byte 0 and then the defaults: landscape, two columns,
/// line height 100 %, tabs of two spaces, one unit per page, full source.
SetupData defaultSetupData();

/// `onDisk` with each field this instance changed (`now` differs from
/// `loaded`) taken from `now`. A font, the orientation pair, the unit pair and
/// the header text go as one; each style and colour entry on its own; the
/// reserved word always from disk.
SetupData mergeSetupChanges(const SetupData& loaded, const SetupData& now,
                            const SetupData& onDisk);

/// Brings values that only a damaged file can hold into the ranges every
/// reader relies on: columns, line height and tab width are clamped, an
/// unknown print mode becomes full source, and the header text and face names
/// get their terminating NUL. Returns whether anything changed.
bool sanitize(SetupData& setup);

}  // namespace tarn
