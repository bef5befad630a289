#pragma once

#include <string>

#include "platform/environment.h"
#include "platform/file_system.h"
#include "platform/message_service.h"
#include "settings/setup_data.h"

namespace tarn {

/// The configuration file: a 32-bit version word 1, then the SetupData image.
inline constexpr std::size_t kConfigFileSize = 4 + sizeof(SetupData);
inline constexpr std::int32_t kConfigVersion = 1;

/// Where the configuration lives: $TARNLIST_CONFIG; else beside the program,
/// with the program's extension replaced by ".DAT" (added when it has none);
/// else, when the program's folder is not writable, tarnlist.DAT in the
/// user's configuration folder; empty when the user has none.
std::string configFilePath(const std::string& programPath, FileSystem& fs,
                           const Environment& env);

/// Defaults overwritten by the file's image when the file is valid. A missing
/// file is silent; a wrong version word gives the "no longer valid" message.
/// Values only a damaged file can hold are brought into range.
SetupData loadSetup(const std::string& path, FileSystem& fs, MessageService& messages);

/// Writes the whole file, creating its folder; on failure, or without a path,
/// shows "Error writing config file".
bool saveSetup(const std::string& path, const SetupData& setup, FileSystem& fs,
               MessageService& messages);

/// Saves at exit without undoing another instance's changes: what this
/// instance changed since `loaded` goes over the file as it is now. A file
/// that is missing, unreadable or not valid is written with `now` whole,
/// without a message; a failed write shows "Error writing config file".
bool saveSetupChanges(const std::string& path, const SetupData& loaded, const SetupData& now,
                      FileSystem& fs, MessageService& messages);

/// The 550 bytes of the file for `setup`.
std::string configFileImage(const SetupData& setup);

}  // namespace tarn
