#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/profile.h"

namespace tarn {

/// The five files opened or printed last, newest first, kept in the profile
/// as "Tarnlist"/"File1".."File5".
class RecentFiles {
 public:
  static constexpr int kMaxEntries = 5;
  /// Longest path listed: a longer one would be cut into another file's path.
  static constexpr std::size_t kMaxPath = 259;
  /// Command id of the entry at position 0; position p has kFirstCommand + p.
  static constexpr int kFirstCommand = 25000;

  /// Reads File1..File5 up to the first empty value.
  void load(Profile& profile);
  /// Writes every key, empty beyond the list, so stale entries never return.
  /// False when the profile could not take every entry.
  bool save(Profile& profile) const;
  /// Enters a path at the front; an exact duplicate changes nothing. Returns
  /// whether the list changed.
  bool add(std::string_view path);

  const std::vector<std::string>& entries() const { return entries_; }

  /// "&N NAME  (FOLDER)": the menu text of the entry at `position`, with any
  /// "&" of the path doubled so that it shows as written.
  static std::string menuText(int position, std::string_view path);

 private:
  std::vector<std::string> entries_;
};

}  // namespace tarn
