#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/redirection.h"
#include "platform/file_system.h"

namespace tarn {

/// What the user adds to the places a project's files are looked up in.
struct ProjectSearch {
  std::vector<std::string> includePath;  ///< folders searched last, in order
};

/// The include path of the command line's values (each "DIR[:DIR...]"),
/// then the profile's value ("DIR[;DIR...]"); blanks around a folder and
/// empty folders dropped.
ProjectSearch projectSearch(const std::vector<std::string>& commandLine,
                            std::string_view profileValue);

/// A file found for a name a project file gives.
struct FoundFile {
  std::string path;  ///< where it is read from
  /// Its search folder seen from the PROGRAM file's folder ("../lib"); empty
  /// when that is the PROGRAM file's folder itself.
  std::string shownFolder;
};

/// Looks the names a project gives up, in this order: the PROGRAM file's
/// folder, the naming file's folder, the folders of the redirection files in
/// the PROGRAM file's folder, the include path. Each as resolvePath does.
class ProjectLookup {
 public:
  ProjectLookup(FileSystem& fs, std::optional<std::string> programFolder,
                const ProjectSearch& search);

  /// None when no folder holds the name as a file.
  std::optional<FoundFile> find(std::string_view name,
                                const std::optional<std::string>& namingFolder);

 private:
  std::optional<FoundFile> findIn(const std::optional<std::string>& folder, std::string_view name,
                                  std::vector<std::string>& tried);

  FileSystem& fs_;
  std::optional<std::string> programFolder_;
  std::string programNormal_;
  std::vector<std::string> includePath_;
  std::optional<Redirections> redirections_;  // read when first needed
};

}  // namespace tarn
