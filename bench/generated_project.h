#pragma once

#include <map>
#include <string>

#include "platform/file_attributes.h"
#include "platform/file_system.h"

namespace tarn::bench {

/// Files held in memory, delivered in chunks as the disk would.
class MemoryFileSystem : public FileSystem {
 public:
  std::map<std::string, std::string> files;
  ReadStatus readFile(const std::string& path, const ByteSink& sink, FileStat* opened,
                      std::string* err) override;
  FileStat stat(const std::string& path) override;
  bool writeFile(const std::string&, std::string_view, std::string*) override { return false; }
  std::vector<std::string> listDirectory(const std::string& dir) override;
  bool isWritableDirectory(const std::string&) override { return false; }
  bool createDirectories(const std::string&) override { return false; }
};

/// Every file reads as modified.
class ArchivedAttributes : public FileAttributes {
 public:
  std::optional<std::uint32_t> get(const std::string&) override { return kAttrArchive; }
  bool set(const std::string&, std::uint32_t) override { return false; }
};

/// A program (/proj/MAIN.CLW) and 299 generated member files, 300,000 lines
/// in all: procedure headers and prototypes, routines, code and comments.
MemoryFileSystem generatedProject(int* totalLines);

}  // namespace tarn::bench
