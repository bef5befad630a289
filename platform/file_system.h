#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tarn {

/// What the file system says about one path.
struct FileStat {
  bool exists = false;
  bool isDirectory = false;
  bool isRegular = false;
  std::int64_t mtime = 0;  ///< last write, seconds since the epoch (UTC)
  std::uint64_t size = 0;
};

/// Outcome of reading a file.
enum class ReadStatus {
  Okay,
  NotFound,    ///< no such file
  OtherError,  ///< a folder, a device, no permission, or a read error
};

/// Receives the bytes of a file in order; returns false to stop reading.
using ByteSink = std::function<bool(std::string_view chunk)>;

/// The file system as the core sees it; the real one lives in platform/posix,
/// tests use a recording fake.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  /// Streams the bytes of the regular file at `path` into `sink`. `opened`
  /// receives the attributes of the file that was actually read.
  virtual ReadStatus readFile(const std::string& path, const ByteSink& sink,
                              FileStat* opened, std::string* err) = 0;

  virtual FileStat stat(const std::string& path) = 0;

  /// Replaces the file's contents as a whole: either the new bytes are there
  /// completely or the old file is left as it was. A symbolic link stays and
  /// the file it names is written; a read-only file is refused. Where nothing
  /// can be created beside an existing file, it is written over in place, and
  /// there a failing write or a crash can leave it damaged. A file that holds
  /// the bytes already is left untouched.
  virtual bool writeFile(const std::string& path, std::string_view contents,
                         std::string* err) = 0;

  /// Names (not paths) of the entries of `dir`; empty when it cannot be read.
  virtual std::vector<std::string> listDirectory(const std::string& dir) = 0;

  /// Whether the file exists and may be read.
  virtual bool isReadable(const std::string& path) { return stat(path).exists; }

  /// Whether a new file can be created in `dir`.
  virtual bool isWritableDirectory(const std::string& dir) = 0;

  /// Creates `dir` and its missing parents; true when it exists afterwards.
  virtual bool createDirectories(const std::string& dir) = 0;
};

/// Reads a whole file into `contents` (convenience over readFile).
ReadStatus readWholeFile(FileSystem& fs, const std::string& path, std::string* contents,
                         FileStat* opened, std::string* err);

}  // namespace tarn
