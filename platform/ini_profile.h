#pragma once

#include <string>
#include <string_view>

#include "platform/environment.h"
#include "platform/profile.h"

namespace tarn {

/// $TARNLIST_PROFILE, else win.ini in the user's configuration folder; empty
/// (nothing is stored) when the user has none.
std::string profilePath(const Environment& env);

/// A profile kept in an INI file the way WIN.INI keeps it: "[Section]" lines
/// and "key=value" lines, names compared without regard to case, values as
/// raw bytes. Every call reads the file afresh, so other writers are seen.
/// Writes keep all other lines as they were and replace the file atomically.
class IniProfile : public Profile {
 public:
  explicit IniProfile(std::string path);

  std::string getString(std::string_view section, std::string_view key,
                        std::string_view fallback) override;
  int getInt(std::string_view section, std::string_view key, int fallback) override;
  /// False, with the file untouched, when it cannot be read or replaced, or
  /// when a name or the value would not survive as one line of the file.
  bool writeString(std::string_view section, std::string_view key,
                   std::string_view value) override;

  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace tarn
