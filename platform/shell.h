#pragma once

#include <string>

namespace tarn {

/// openWithAssociation: the file does not exist.
inline constexpr int kShellFileNotFound = 2;
/// openWithAssociation: no program is associated with the file's type.
inline constexpr int kShellNoAssociation = 31;

/// Hands files to other programs, as the desktop's file associations say.
class Shell {
 public:
  virtual ~Shell() = default;
  /// Opens `path` with the program associated with its type. Answers above 32
  /// for success; kShellFileNotFound, kShellNoAssociation, or another number
  /// of 32 or less for other failures.
  virtual int openWithAssociation(const std::string& path) = 0;
  /// Starts the user's plain-text editor with `path` as its one argument;
  /// false when none could be started.
  virtual bool openInTextEditor(const std::string& path) = 0;
  /// Opens a URL (the help page: a file:// URL with an #anchor) in the
  /// desktop's browser; false when none could be started.
  virtual bool openUrl(const std::string& url) = 0;
};

}  // namespace tarn
