#pragma once

#include <cstdio>

#include "document/project_lookup.h"
#include "platform/file_attributes.h"
#include "printout/direct_print.h"
#include "shell/command_line.h"

namespace tarn {

/// Runs --dump: writes the requested view of the file to `out`; errors go
/// through the services' messages. Returns the exit status. Nothing on disk
/// changes (no archive bits are cleared). A project's files are looked up
/// with `search` besides.
int runDump(const CommandLine& command, PrintServices& services, FileAttributes& projectAttributes,
            const ProjectSearch& search, std::FILE* out);

}  // namespace tarn
