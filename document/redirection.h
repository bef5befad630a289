#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace tarn {

/// One line "pattern = folder; folder" of a redirection file.
struct RedirectionEntry {
  std::string pattern;
  std::vector<std::string> folders;  ///< normal paths, in the order written
};

/// The entries of the [Common] and [Release] sections of a redirection file,
/// in the order written. Folders are taken relative to `base` (none: the
/// current folder) unless absolute; "%REDDIR%" is `base`. An entry naming any
/// other %macro% is dropped whole: the values the build tools give them are
/// not known here.
std::vector<RedirectionEntry> parseRedirection(std::string_view text,
                                               const std::optional<std::string>& base);

/// Whether `name` matches the file pattern ("*" any run of characters, "?"
/// one), case ignored.
bool matchesFilePattern(std::string_view pattern, std::string_view name);

/// The redirection files of a folder: every "*.red" file there, read in name
/// order.
class Redirections {
 public:
  Redirections(FileSystem& fs, const std::optional<std::string>& folder);

  /// The folders, as they exist on disk, of the entries whose pattern matches
  /// the last part of `name`; each once, first mention first.
  std::vector<std::string> foldersFor(std::string_view name) const;

 private:
  std::vector<RedirectionEntry> entries_;
};

}  // namespace tarn
