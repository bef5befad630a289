#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_attributes.h"
#include "platform/file_system.h"
#include "platform/message_service.h"
#include "platform/profile.h"
#include "platform/shell.h"

namespace tarn::test {

/// An in-memory file system that records which files were read.
class VirtualFileSystem : public FileSystem {
 public:
  struct Entry {
    std::string contents;
    std::int64_t mtime = 0;
    bool directory = false;
    bool unreadable = false;
  };

  /// Adds or replaces a file.
  void create(const std::string& path, std::string contents, std::int64_t mtime = 0);
  void createDirectory(const std::string& path);
  /// A file that exists but cannot be read (no permission).
  void createUnreadable(const std::string& path);

  ReadStatus readFile(const std::string& path, const ByteSink& sink, FileStat* opened,
                      std::string* err) override;
  FileStat stat(const std::string& path) override;
  bool writeFile(const std::string& path, std::string_view contents, std::string* err) override;
  std::vector<std::string> listDirectory(const std::string& dir) override;
  bool isReadable(const std::string& path) override;
  bool isWritableDirectory(const std::string& dir) override;
  bool createDirectories(const std::string& dir) override;

  std::map<std::string, Entry> files;
  std::vector<std::string> filesRead;     ///< every readFile call, in order
  std::mutex readLock;                    ///< print-all reads on several threads
  std::vector<std::string> filesWritten;  ///< every successful writeFile
  bool failWrites = false;
  bool writableDirectories = true;
  std::size_t chunkSize = 7;  ///< small chunks exercise the readers' seams
};

/// Records every message; answers Yes/No questions from a script (No when empty).
class RecordingMessages : public MessageService {
 public:
  struct Message {
    std::string text;
    std::string caption;
    MessageIcon icon;
    MessageButtons buttons;
  };
  MessageAnswer show(std::string_view text, std::string_view caption, MessageIcon icon,
                     MessageButtons buttons) override;

  std::vector<Message> messages;
  std::deque<MessageAnswer> answers;
};

/// A profile held in memory.
class MemoryProfile : public Profile {
 public:
  std::string getString(std::string_view section, std::string_view key,
                        std::string_view fallback) override;
  int getInt(std::string_view section, std::string_view key, int fallback) override;
  bool writeString(std::string_view section, std::string_view key,
                   std::string_view value) override;

  std::map<std::string, std::string> values;  ///< "SECTION/KEY" upper-cased
  std::vector<std::string> reads;
  bool failWrites = false;  ///< every write refused, as by a read-only file
};

/// Attributes held in memory; records every write.
class FakeFileAttributes : public FileAttributes {
 public:
  std::optional<std::uint32_t> get(const std::string& path) override;
  bool set(const std::string& path, std::uint32_t attributes) override;

  std::map<std::string, std::uint32_t> attributes;
  std::vector<std::pair<std::string, std::uint32_t>> writes;
};

/// Root of the real Clarion sources, or empty when they are not on this machine.
std::string corpusDir();

/// Reads a file of the machine into a string (test data, corpus files).
std::optional<std::string> readRealFile(const std::string& path);

}  // namespace tarn::test

namespace tarn::test {

/// Answers from a script and records every call.
class RecordingShell : public Shell {
 public:
  int openWithAssociation(const std::string& path) override;
  bool openInTextEditor(const std::string& path) override;
  bool openUrl(const std::string& url) override;

  int associationAnswer = 33;
  bool editorAnswer = true;
  bool urlAnswer = true;
  std::vector<std::string> opened;  ///< every openWithAssociation path
  std::vector<std::string> edited;  ///< every openInTextEditor path
  std::vector<std::string> urls;    ///< every openUrl URL
};

}  // namespace tarn::test
