#include "support/fakes.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/cp1252.h"

namespace tarn::test {

void VirtualFileSystem::create(const std::string& path, std::string contents,
                               std::int64_t mtime) {
  files[path] = Entry{std::move(contents), mtime, false, false};
}

void VirtualFileSystem::createDirectory(const std::string& path) {
  files[path] = Entry{"", 0, true, false};
}

void VirtualFileSystem::createUnreadable(const std::string& path) {
  files[path] = Entry{"secret", 0, false, true};
}

ReadStatus VirtualFileSystem::readFile(const std::string& path, const ByteSink& sink,
                                       FileStat* opened, std::string* err) {
  {
    std::lock_guard lock(readLock);
    filesRead.push_back(path);
  }
  auto it = files.find(path);
  if (it == files.end()) {
    if (err) *err = path + ": No such file or directory";
    return ReadStatus::NotFound;
  }
  if (it->second.directory || it->second.unreadable) {
    if (err) *err = path + ": cannot be read";
    return ReadStatus::OtherError;
  }
  if (opened) *opened = stat(path);
  std::string_view all = it->second.contents;
  for (std::size_t at = 0; at < all.size(); at += chunkSize)
    if (!sink(all.substr(at, chunkSize))) break;
  return ReadStatus::Okay;
}

FileStat VirtualFileSystem::stat(const std::string& path) {
  FileStat st;
  auto it = files.find(path);
  if (it == files.end()) return st;
  st.exists = true;
  st.isDirectory = it->second.directory;
  st.isRegular = !it->second.directory;
  st.mtime = it->second.mtime;
  st.size = it->second.contents.size();
  return st;
}

bool VirtualFileSystem::writeFile(const std::string& path, std::string_view contents,
                                  std::string* err) {
  if (failWrites) {
    if (err) *err = path + ": Permission denied";
    return false;
  }
  files[path] = Entry{std::string(contents), 0, false, false};
  filesWritten.push_back(path);
  return true;
}

std::vector<std::string> VirtualFileSystem::listDirectory(const std::string& dir) {
  std::vector<std::string> names;
  std::string prefix = dir.empty() ? "" : dir + "/";
  for (const auto& [path, entry] : files) {
    if (path.compare(0, prefix.size(), prefix) != 0) continue;
    std::string rest = path.substr(prefix.size());
    if (!rest.empty() && rest.find('/') == std::string::npos) names.push_back(rest);
  }
  return names;
}

bool VirtualFileSystem::isReadable(const std::string& path) {
  auto it = files.find(path);
  return it != files.end() && !it->second.unreadable;
}

bool VirtualFileSystem::isWritableDirectory(const std::string&) { return writableDirectories; }

bool VirtualFileSystem::createDirectories(const std::string&) { return true; }

MessageAnswer RecordingMessages::show(std::string_view text, std::string_view caption,
                                      MessageIcon icon, MessageButtons buttons) {
  messages.push_back({std::string(text), std::string(caption), icon, buttons});
  if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
  if (answers.empty()) return MessageAnswer::No;
  MessageAnswer a = answers.front();
  answers.pop_front();
  return a;
}

namespace {
std::string profileKey(std::string_view section, std::string_view key) {
  return cp1252::upper(section) + "/" + cp1252::upper(key);
}
}  // namespace

std::string MemoryProfile::getString(std::string_view section, std::string_view key,
                                     std::string_view fallback) {
  std::string k = profileKey(section, key);
  reads.push_back(k);
  auto it = values.find(k);
  return it == values.end() ? std::string(fallback) : it->second;
}

int MemoryProfile::getInt(std::string_view section, std::string_view key, int fallback) {
  std::string k = profileKey(section, key);
  reads.push_back(k);
  auto it = values.find(k);
  if (it == values.end()) return fallback;
  int v = 0;
  const std::string& s = it->second;
  auto r = std::from_chars(s.data(), s.data() + s.size(), v);
  return r.ec == std::errc() ? v : fallback;
}

bool MemoryProfile::writeString(std::string_view section, std::string_view key,
                                std::string_view value) {
  if (failWrites) return false;
  values[profileKey(section, key)] = std::string(value);
  return true;
}

std::optional<std::uint32_t> FakeFileAttributes::get(const std::string& path) {
  auto it = attributes.find(path);
  if (it == attributes.end()) return std::nullopt;
  return it->second;
}

bool FakeFileAttributes::set(const std::string& path, std::uint32_t value) {
  writes.emplace_back(path, value);
  if (!attributes.count(path)) return false;
  attributes[path] = value;
  return true;
}

std::string corpusDir() {
  std::error_code ec;
  std::string dir = TARNLIST_CORPUS_DIR;
  if (const char* env = std::getenv("TARNLIST_CORPUS")) dir = env;
  return std::filesystem::is_directory(dir, ec) ? dir : std::string();
}

std::optional<std::string> readRealFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace tarn::test

namespace tarn::test {

int RecordingShell::openWithAssociation(const std::string& path) {
  opened.push_back(path);
  return associationAnswer;
}

bool RecordingShell::openInTextEditor(const std::string& path) {
  edited.push_back(path);
  return editorAnswer;
}

bool RecordingShell::openUrl(const std::string& url) {
  urls.push_back(url);
  return urlAnswer;
}

}  // namespace tarn::test
