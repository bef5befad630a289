#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/project_lookup.h"
#include "platform/dos_time.h"
#include "platform/file_attributes.h"
#include "platform/file_system.h"

namespace tarn {

/// Most files, and most procedures, a project records; later ones are dropped.
inline constexpr std::size_t kMaxProjectEntries = 3500;
/// Longest file name a project records; longer names are cut.
inline constexpr std::size_t kMaxProjectNameLength = 79;
/// Longest procedure label a project records; longer labels are cut.
inline constexpr std::size_t kMaxProjectLabelLength = 149;

/// One file of a project that could be read.
struct ProjectFile {
  DosStamp stamp;    ///< last write of the file as opened, local time
  /// The PROGRAM file's name, or as MODULE/INCLUDE names it (upper case);
  /// outside the PROGRAM file's folder led by the folder seen from there
  /// ("../lib/X.CLW").
  std::string name;
  std::uint32_t attributes = 0;  ///< attribute bits; 0 when they cannot be queried
  std::string path;              ///< where the file was found and read
  /// Bytes of `name` that are its folder and "/" (file-system text, UTF-8
  /// on Linux); the rest is the code page's, as the source wrote it.
  std::size_t folderLength = 0;
};

/// A procedure or function defined outside MAP, MODULE and CLASS blocks.
struct ProjectProcedure {
  std::string label;     ///< as written in column 1
  std::string fileName;  ///< the ProjectFile name of the defining file
  int line = 0;          ///< 1-based line of the definition
  std::string path;      ///< the ProjectFile path of the defining file
};

/// A program seen as a whole: its PROGRAM file and every file it names in
/// MODULE('...') and INCLUDE('...'), followed through all levels.
struct ApplicationData {
  /// Loads the project of the PROGRAM file at `programPath`. Every file is
  /// looked up as ProjectLookup does. When the PROGRAM file cannot be read,
  /// both tables stay empty.
  ApplicationData(std::string_view programPath, FileSystem& fs, FileAttributes& attributes,
                  const ProjectSearch& search = {});

  std::vector<ProjectFile> files;            ///< sorted by name, case ignored
  std::vector<ProjectProcedure> procedures;  ///< sorted by label, case ignored
  /// Nesting of the file being read below the PROGRAM file; 0 once loaded.
  int depth = 0;
  std::optional<std::string> directory;  ///< folder of the PROGRAM file, none without one
  std::string programName;               ///< the PROGRAM file's name without its folder

  int fileCount() const { return static_cast<int>(files.size()); }
  int procedureCount() const { return static_cast<int>(procedures.size()); }
};

}  // namespace tarn
