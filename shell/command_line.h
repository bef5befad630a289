#pragma once

#include <optional>
#include <string>
#include <vector>

#include "settings/listing_extras.h"

namespace tarn {

/// What the command line asks for.
struct CommandLine {
  enum class Action { Window, Print, Dump, Help, Version, Error };
  Action action = Action::Window;
  std::string argument;   ///< the file or "@LIST" to print
  std::vector<std::string> openFiles;  ///< --open: files for the desktop window, in order
  std::string dumpKind;   ///< tokens, structure, project or layout
  std::string pdfPath;    ///< --pdf: jobs become PDF files
  std::string project;    ///< --project PROGRAM.CLW
  std::vector<std::string> includePath;  ///< each --include-path value, "DIR[:DIR...]"
  std::optional<int> unit;
  std::optional<int> embed;
  bool modifiedOnly = false;
  bool clwOnly = false;
  bool lineNumbers = false;  ///< --line-numbers: for this run, whatever the profile says
  bool pageCount = false;    ///< --page-count
  std::optional<int> jobs;   ///< --jobs N: files print-all writes into PDF at once
  std::string error;      ///< why the line could not be understood
};

CommandLine parseCommandLine(const std::vector<std::string>& args);

/// The profile's listing extras with what the command line turns on for this run.
ListingExtras withCommandLine(ListingExtras extras, const CommandLine& command);

/// `paths` with each relative one taken from `folder`: the recent list keeps
/// whole paths, as File › Open gives them, for runs started elsewhere.
std::vector<std::string> wholePaths(std::vector<std::string> paths, const std::string& folder);

/// The text --help prints; it ends with where the help page is, `helpPage`,
/// or where it was looked for when not `found`.
std::string usageText(const std::string& helpPage, bool found);

}  // namespace tarn
