#pragma once

#include "platform/file_system.h"

namespace tarn {

/// The machine's file system through POSIX calls.
class RealFileSystem : public FileSystem {
 public:
  ReadStatus readFile(const std::string& path, const ByteSink& sink, FileStat* opened,
                      std::string* err) override;
  FileStat stat(const std::string& path) override;
  bool writeFile(const std::string& path, std::string_view contents, std::string* err) override;
  std::vector<std::string> listDirectory(const std::string& dir) override;
  bool isReadable(const std::string& path) override;
  bool isWritableDirectory(const std::string& dir) override;
  bool createDirectories(const std::string& dir) override;
};

}  // namespace tarn
