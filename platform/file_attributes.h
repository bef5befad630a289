#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tarn {

/// File attribute bits with their Windows values.
enum : std::uint32_t {
  kAttrReadOnly = 0x01,
  kAttrHidden = 0x02,
  kAttrSystem = 0x04,
  kAttrDirectory = 0x10,
  kAttrArchive = 0x20,
};

/// Reads and writes file attributes. The archive bit means "written since it
/// was last cleared"; printing clears it to mark a file as printed.
class FileAttributes {
 public:
  virtual ~FileAttributes() = default;
  /// The attribute bits, or nothing when the file cannot be queried.
  virtual std::optional<std::uint32_t> get(const std::string& path) = 0;
  /// Writes the bits back; false when that failed. Never touches the file's
  /// content or time stamps.
  virtual bool set(const std::string& path, std::uint32_t attributes) = 0;
};

/// Attributes of nothing: for runs that must not change any file.
class NoFileAttributes : public FileAttributes {
 public:
  std::optional<std::uint32_t> get(const std::string&) override { return std::nullopt; }
  bool set(const std::string&, std::uint32_t) override { return false; }
};

}  // namespace tarn
