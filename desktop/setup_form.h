#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "settings/setup_data.h"

namespace tarn {

/// The check boxes and radio buttons of the setup dialog, by control id.
inline constexpr std::array<int, 11> kSetupOptionIds = {200, 300, 1100, 100, 1000, 1400,
                                                        105, 700, 800, 900, 600};

/// The field behind a check box or radio button: 1 or 0 (non-zero reads as 1).
bool setupOption(const SetupData& setup, int id);
void setSetupOption(SetupData& setup, int id, bool on);

/// What the setup dialog shows and what the user typed, as text.
struct SetupForm {
  std::array<bool, kSetupOptionIds.size()> options{};  ///< in kSetupOptionIds order
  std::string columns, lineHeight, tabWidth;
  std::string headerText;  ///< Windows-1252

  bool option(int id) const;
  void setOption(int id, bool on);
};

/// The form as the dialog opens: every option, the numbers in decimal and
/// the header text from the settings.
SetupForm setupFormOf(const SetupData& setup);

/// An unsigned decimal number and nothing else (blanks around it aside);
/// nothing for anything else or a number too large.
std::optional<unsigned> readUnsigned(std::string_view text);

/// The outcome of OK: the edit that failed its check, with its message.
struct SetupCheck {
  int failedEdit = 0;  ///< 0: every check passed
  const char* message = nullptr;
};

/// OK: stores the options and the header text (99 characters at most), then
/// checks columns, line height and tab width in this order, storing each
/// that passes and stopping at the first that fails. What was stored before
/// a failure stays stored.
SetupCheck confirmSetup(const SetupForm& form, SetupData& setup);

/// The Styles dialog's word: italic and bold, nothing else.
inline std::int32_t styleWord(bool italic, bool bold) {
  return (italic ? kStyleItalic : 0) | (bold ? kStyleBold : 0);
}

}  // namespace tarn
