#pragma once

#include <cstdio>

#include "platform/file_attributes.h"
#include "printout/direct_print.h"
#include "shell/command_line.h"

namespace tarn {

/// Runs --dump: writes the requested view of the file to `out`; errors go
/// through the services' messages. Returns the exit status. Nothing on disk
/// changes (no archive bits are cleared).
int runDump(const CommandLine& command, PrintServices& services, FileAttributes& projectAttributes,
            std::FILE* out);

}  // namespace tarn
