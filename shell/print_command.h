#pragma once

#include "printout/direct_print.h"
#include "shell/command_line.h"

namespace tarn {

/// Prints what the command line names, to the default printer or, with
/// --pdf, into PDF files; without any window. Returns the exit status.
int runPrintCommand(int argc, char** argv, const CommandLine& command, PrintServices& services);

}  // namespace tarn
