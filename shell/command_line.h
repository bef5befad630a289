#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tarn {

/// What the command line asks for.
struct CommandLine {
  enum class Action { Window, Print, Dump, Help, Version, Error };
  Action action = Action::Window;
  std::string argument;   ///< the file or "@LIST" to print
  std::string dumpKind;   ///< tokens, structure, project or layout
  std::string pdfPath;    ///< --pdf: jobs become PDF files
  std::string project;    ///< --project PROGRAM.CLW
  std::vector<std::string> includePath;  ///< each --include-path value, "DIR[:DIR...]"
  std::optional<int> unit;
  std::optional<int> embed;
  bool modifiedOnly = false;
  bool clwOnly = false;
  std::string error;      ///< why the line could not be understood
};

CommandLine parseCommandLine(const std::vector<std::string>& args);

/// The text --help prints.
std::string usageText();

}  // namespace tarn
