#include "settings/setup_data.h"

#include <algorithm>
#include <cstring>

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

}  // namespace

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
