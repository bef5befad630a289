#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/environment.h"
#include "platform/file_attributes.h"

namespace tarn {

/// File attributes emulated on POSIX: read-only from the owner's write
/// permission, hidden for names starting with ".", and the archive bit kept
/// as a record of the modification time and size at which it was last
/// cleared. The file reads as archived (written since) when there is no
/// record or its time or size differ from it.
class PosixFileAttributes : public FileAttributes {
 public:
  /// Where clearing the archive bit keeps its record.
  enum class ArchiveStore {
    Automatic,    ///< the extended attribute; the state folder where that fails
    StateFolder,  ///< the state folder only
  };

  /// Records that cannot go to the file itself live under
  /// userStateFolder(env)/archive.
  explicit PosixFileAttributes(const Environment& env,
                               ArchiveStore store = ArchiveStore::Automatic);

  std::optional<std::uint32_t> get(const std::string& path) override;
  /// Only the archive bit is written; the others stay as they are on disk.
  bool set(const std::string& path, std::uint32_t attributes) override;

  /// Name of the extended attribute that holds the record.
  static constexpr const char* kAttributeName = "user.tarnlist.archive";

 private:
  std::string stateFolder_;
  ArchiveStore store_;
};

}  // namespace tarn
