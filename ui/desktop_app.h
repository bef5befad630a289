#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/environment.h"
#include "platform/file_system.h"

namespace tarn {

/// Where the desktop program keeps its settings and how it tells time.
struct DesktopStart {
  std::string configPath;
  /// The file or "@LIST" to print before the run ends; none: an ordinary run.
  std::optional<std::string> argument;
  /// Files to open in file windows once the window shows, as File › Open does.
  std::vector<std::string> openFiles;
  /// --line-numbers and --page-count: on for this run, the profile untouched.
  bool lineNumbers = false;
  bool pageCount = false;
  /// --jobs: files print-all writes into PDF at once.
  int jobs = 1;
};

/// Runs the desktop program: settings loaded before the main window, the
/// window shown maximised, the event loop, settings saved after it. An
/// error outside the loop shows "Exception" and ends with -1.
int runDesktop(int argc, char** argv, const DesktopStart& start);

}  // namespace tarn
