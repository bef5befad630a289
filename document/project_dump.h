#pragma once

#include <string>

#include "document/project.h"

namespace tarn {

/// The project's tables in table order: one line per file,
/// "file<TAB>name<TAB>attributes<TAB>YYYY-MM-DD HH:MM:SS", then one per
/// procedure, "proc<TAB>label<TAB>file name<TAB>line"; names and labels
/// escaped as in the other dumps.
std::string dumpProject(const ApplicationData& project);

}  // namespace tarn
