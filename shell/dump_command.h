#pragma once

#include <cstdio>

#include "platform/file_system.h"
#include "platform/message_service.h"
#include "settings/setup_data.h"
#include "shell/command_line.h"

namespace tarn {

/// Runs --dump: writes the requested view of the file to `out`; errors go
/// through `messages`. Returns the exit status.
int runDump(const CommandLine& command, const SetupData& setup, FileSystem& fs,
            MessageService& messages, std::FILE* out);

}  // namespace tarn
