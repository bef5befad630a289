#pragma once

#include "document/project_lookup.h"
#include "printout/direct_print.h"
#include "shell/command_line.h"

namespace tarn {

/// Prints what the command line names, to the default printer or, with
/// --pdf, into PDF files; without any window. A project's files are looked
/// up with `search` besides. Without a printer the files' own messages come
/// first, then "No printer is set up" once. Returns the exit status.
int runPrintCommand(int argc, char** argv, const CommandLine& command, PrintServices& services,
                    const ProjectSearch& search);

}  // namespace tarn
