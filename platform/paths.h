#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace tarn {

/// A path split at its last "/" or backslash: the folder (none when the path
/// has no separator) and the name after it.
struct SplitPath {
  std::optional<std::string> directory;
  std::string name;
};
SplitPath splitPath(std::string_view path);

/// "  NAME  (FOLDER)" for a path with a folder, "  PATH" for one without: the
/// form window titles, the recent-file menu and page headers show.
std::string fileDisplayName(std::string_view path);

/// `directory` + "/" + `name`, the name's backslashes read as "/"; the name
/// alone when there is no directory.
std::string joinPath(const std::optional<std::string>& directory, std::string_view name);

/// The path of `name` inside `directory` as it exists on disk. Windows names
/// ignore case and projects copied from there rely on it, so each part of the
/// name that does not exist as written is looked up without regard to case.
/// When nothing matches, the path as written (which then fails to open).
std::string resolvePath(FileSystem& fs, const std::optional<std::string>& directory,
                        std::string_view name);

/// The path read lexically: backslashes as "/", no "." parts, no doubled or
/// trailing "/", each "x/.." pair taken out. ".." parts that climb above a
/// relative path's start stay; above the root they go. "." for nothing left.
std::string normalPath(std::string_view path);

/// Where `path` lies seen from `folder` ("../lib/X.CLW"), both normal paths;
/// "." for the folder itself. `path` unchanged when only one of them is
/// absolute, or the folder climbs where `path` cannot follow.
std::string relativePath(std::string_view folder, std::string_view path);

/// The folder at the normal path `folder` as it exists on disk, each part
/// that does not exist as written looked up without regard to case.
std::string resolveFolder(FileSystem& fs, std::string_view folder);

}  // namespace tarn
