#include "desktop/setup_form.h"

#include <algorithm>
#include <cstring>

#include "desktop/dialog_template.h"

namespace tarn {
namespace {

std::size_t optionIndex(int id) {
  const auto* at = std::find(kSetupOptionIds.begin(), kSetupOptionIds.end(), id);
  return static_cast<std::size_t>(at - kSetupOptionIds.begin());
}

struct NumberCheck {
  int id;
  const std::string SetupForm::*text;
  int min, max;
  const char* message;
};

}  // namespace

// The record is packed: its fields are read and written by value, never
// through a reference.
bool setupOption(const SetupData& s, int id) {
  switch (id) {
    case kSetupPortrait: return s.portrait != 0;
    case kSetupLandscape: return s.landscape != 0;
    case kSetupWrapLine: return s.wrapLine != 0;
    case kSetupEmphasizeEmbeds: return s.emphasizeEmbeds != 0;
    case kSetupLineBeforeUnit: return s.lineBeforeUnit != 0;
    case kSetupKeywordsUppercase: return s.keywordsUppercase != 0;
    case kSetupBindingMargin: return s.bindingMargin != 0;
    case kSetupUnitPerColumn: return s.unitPerColumn != 0;
    case kSetupUnitPerPage: return s.unitPerPage != 0;
    case kSetupIncludeComment: return s.includePrecedingComment != 0;
    case kSetupOneUnitEach: return s.oneUnitEach != 0;
    default: return false;
  }
}

void setSetupOption(SetupData& s, int id, bool on) {
  const std::int32_t v = on ? 1 : 0;
  switch (id) {
    case kSetupPortrait: s.portrait = v; break;
    case kSetupLandscape: s.landscape = v; break;
    case kSetupWrapLine: s.wrapLine = v; break;
    case kSetupEmphasizeEmbeds: s.emphasizeEmbeds = v; break;
    case kSetupLineBeforeUnit: s.lineBeforeUnit = v; break;
    case kSetupKeywordsUppercase: s.keywordsUppercase = v; break;
    case kSetupBindingMargin: s.bindingMargin = v; break;
    case kSetupUnitPerColumn: s.unitPerColumn = v; break;
    case kSetupUnitPerPage: s.unitPerPage = v; break;
    case kSetupIncludeComment: s.includePrecedingComment = v; break;
    case kSetupOneUnitEach: s.oneUnitEach = v; break;
    default: break;
  }
}

bool SetupForm::option(int id) const {
  const std::size_t i = optionIndex(id);
  return i < options.size() && options[i];
}

void SetupForm::setOption(int id, bool on) {
  const std::size_t i = optionIndex(id);
  if (i < options.size()) options[i] = on;
}

SetupForm setupFormOf(const SetupData& setup) {
  SetupForm form;
  for (int id : kSetupOptionIds) form.setOption(id, setupOption(setup, id));
  form.columns = std::to_string(setup.columns);
  form.lineHeight = std::to_string(setup.lineHeight);
  form.tabWidth = std::to_string(setup.tabWidth);
  const std::size_t length = strnlen(setup.headerText, sizeof setup.headerText);
  form.headerText.assign(setup.headerText, length);
  return form;
}

std::optional<unsigned> readUnsigned(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::nullopt;
  text.remove_prefix(first);
  text = text.substr(0, text.find_last_not_of(' ') + 1);
  unsigned long long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<unsigned>(c - '0');
    if (value > 0xFFFFFFFFull) return std::nullopt;
  }
  return static_cast<unsigned>(value);
}

SetupCheck confirmSetup(const SetupForm& form, SetupData& setup) {
  for (int id : kSetupOptionIds) setSetupOption(setup, id, form.option(id));
  std::memset(setup.headerText, 0, sizeof setup.headerText);
  std::memcpy(setup.headerText, form.headerText.data(),
              std::min(form.headerText.size(), sizeof setup.headerText - 1));

  const NumberCheck checks[] = {
      {kSetupColumns, &SetupForm::columns, kMinColumns, kMaxColumns,
       "'Columns' must be an integer from 1 to 10"},
      {kSetupLineHeight, &SetupForm::lineHeight, kMinLineHeight, kMaxLineHeight,
       "'Lineheight' must be an integer from 80 to 200"},
      {kSetupTabWidth, &SetupForm::tabWidth, kMinTabWidth, kMaxTabWidth,
       "'Tabs expands to' must be an integer from 1 to 50"},
  };
  for (const NumberCheck& c : checks) {
    const auto value = readUnsigned(form.*c.text);
    if (!value || *value < static_cast<unsigned>(c.min) || *value > static_cast<unsigned>(c.max))
      return SetupCheck{c.id, c.message};
    const auto number = static_cast<std::int32_t>(*value);
    if (c.id == kSetupColumns) setup.columns = number;
    if (c.id == kSetupLineHeight) setup.lineHeight = number;
    if (c.id == kSetupTabWidth) setup.tabWidth = number;
  }
  return {};
}

}  // namespace tarn
