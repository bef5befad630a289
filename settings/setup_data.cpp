#include "settings/setup_data.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace tarn {
namespace {

// Packed fields cannot be bound to references, so values go in and out.
std::int32_t clampTracked(std::int32_t v, int lo, int hi, bool& changed) {
  std::int32_t c = std::clamp<std::int32_t>(v, lo, hi);
  changed |= c != v;
  return c;
}

bool terminate(char* text, std::size_t size) {
  if (std::memchr(text, 0, size)) return false;
  text[size - 1] = '\0';
  return true;
}

/// Bytes that change together; an array is `count` units of `size` bytes.
struct MergeUnit {
  std::size_t offset;
  std::size_t size;
  std::size_t count = 1;
  bool fromDisk = false;
};

constexpr std::size_t kWord = sizeof(std::int32_t);

constexpr MergeUnit kMergeUnits[] = {
    {offsetof(SetupData, emphasizeEmbeds), kWord},
    // Radio pairs: mixing two instances' halves would set both or neither.
    {offsetof(SetupData, portrait), 2 * kWord},
    {offsetof(SetupData, columns), kWord},
    {offsetof(SetupData, lineHeight), kWord},
    {offsetof(SetupData, tabWidth), kWord},
    {offsetof(SetupData, unitPerColumn), 2 * kWord},
    {offsetof(SetupData, includePrecedingComment), kWord},
    {offsetof(SetupData, lineBeforeUnit), kWord},
    {offsetof(SetupData, wrapLine), kWord},
    {offsetof(SetupData, oneUnitEach), kWord},
    {offsetof(SetupData, keywordsUppercase), kWord},
    {offsetof(SetupData, reserved), sizeof(SetupData::reserved), 1, true},
    // A face without its size, weight and colour is nobody's choice.
    {offsetof(SetupData, sourceFont), sizeof(FontData)},
    {offsetof(SetupData, reportFont), sizeof(FontData)},
    {offsetof(SetupData, windowFont), sizeof(FontData)},
    {offsetof(SetupData, tokenStyle), kWord, kStyleEntries},
    {offsetof(SetupData, tokenColor), kWord, kStyleEntries},
    {offsetof(SetupData, printMode), kWord},
    {offsetof(SetupData, clearArchive), kWord},
    {offsetof(SetupData, bindingMargin), kWord},
    {offsetof(SetupData, headerText), sizeof(SetupData::headerText)},
};

constexpr bool unitsCoverTheRecord() {
  std::size_t next = 0;
  for (const MergeUnit& u : kMergeUnits) {
    if (u.offset != next) return false;
    next += u.size * u.count;
  }
  return next == sizeof(SetupData);
}
static_assert(unitsCoverTheRecord(), "every byte of SetupData belongs to exactly one merge unit");
static_assert(std::is_trivially_copyable_v<SetupData>);

}  // namespace

SetupData mergeSetupChanges(const SetupData& loaded, const SetupData& now,
                            const SetupData& onDisk) {
  SetupData merged = onDisk;
  const auto* was = reinterpret_cast<const unsigned char*>(&loaded);
  const auto* is = reinterpret_cast<const unsigned char*>(&now);
  auto* out = reinterpret_cast<unsigned char*>(&merged);
  for (const MergeUnit& u : kMergeUnits) {
    if (u.fromDisk) continue;
    for (std::size_t i = 0; i < u.count; ++i) {
      const std::size_t at = u.offset + i * u.size;
      if (std::memcmp(was + at, is + at, u.size) != 0) std::memcpy(out + at, is + at, u.size);
    }
  }
  return merged;
}

SetupData defaultSetupData() {
  SetupData s;
  std::memset(&s, 0, sizeof s);
  s.landscape = 1;
  s.unitPerPage = 1;
  s.columns = 2;
  s.lineHeight = 100;
  s.tabWidth = 2;
  s.printMode = kPrintFullSource;
  return s;
}

bool sanitize(SetupData& setup) {
  bool changed = false;
  setup.columns = clampTracked(setup.columns, kMinColumns, kMaxColumns, changed);
  setup.lineHeight = clampTracked(setup.lineHeight, kMinLineHeight, kMaxLineHeight, changed);
  setup.tabWidth = clampTracked(setup.tabWidth, kMinTabWidth, kMaxTabWidth, changed);
  if (setup.printMode < kPrintFullSource || setup.printMode > kPrintRegionsOfFilesWithEmbeds) {
    setup.printMode = kPrintFullSource;
    changed = true;
  }
  changed |= terminate(setup.headerText, sizeof setup.headerText);
  for (FontData* f : {&setup.sourceFont, &setup.reportFont, &setup.windowFont})
    changed |= terminate(f->logFont.faceName, sizeof f->logFont.faceName);
  return changed;
}

}  // namespace tarn
