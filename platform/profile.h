#pragma once

#include <string>
#include <string_view>

namespace tarn {

/// The user's profile: short named values in sections, as WIN.INI keeps them.
/// Section and key names compare without regard to case.
class Profile {
 public:
  virtual ~Profile() = default;
  virtual std::string getString(std::string_view section, std::string_view key,
                                std::string_view fallback) = 0;
  /// The value's leading decimal integer, or `fallback` when the key is absent
  /// or does not start with a number.
  virtual int getInt(std::string_view section, std::string_view key, int fallback) = 0;
  /// Writes the value at once; false when the profile could not be written.
  virtual bool writeString(std::string_view section, std::string_view key,
                           std::string_view value) = 0;
};

}  // namespace tarn
