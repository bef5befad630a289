#include "settings/config_file.h"

#include <bit>
#include <cstring>

namespace tarn {

static_assert(std::endian::native == std::endian::little,
              "the configuration file is the record's little-endian image");

namespace {

std::string folderOf(const std::string& path) {
  auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

enum class FileState { Unreadable, Invalid, Valid };

/// The file's record over the defaults, brought into range when valid.
FileState readSetup(const std::string& path, FileSystem& fs, SetupData& setup) {
  setup = defaultSetupData();
  std::string bytes;
  ReadStatus status = fs.readFile(
      path,
      [&bytes](std::string_view chunk) {
        bytes.append(chunk.substr(0, kConfigFileSize - bytes.size()));
        return bytes.size() < kConfigFileSize;
      },
      nullptr, nullptr);
  if (status != ReadStatus::Okay) return FileState::Unreadable;
  std::int32_t version = 0;
  if (bytes.size() >= 4) std::memcpy(&version, bytes.data(), 4);
  if (bytes.size() < 4 || version != kConfigVersion) return FileState::Invalid;
  // A short file overwrites the record from its start; the rest keeps the defaults.
  std::memcpy(&setup, bytes.data() + 4, bytes.size() - 4);
  sanitize(setup);
  return FileState::Valid;
}

}  // namespace

std::string configFilePath(const std::string& programPath, FileSystem& fs,
                           const Environment& env) {
  if (auto named = env("TARNLIST_CONFIG")) return *named;
  // Only the file name's extension is replaced: a dot in a folder name is not one.
  auto slash = programPath.find_last_of('/');
  auto dot = programPath.find_last_of('.');
  bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  std::string beside = (hasExtension ? programPath.substr(0, dot) : programPath) + ".DAT";
  if (fs.isWritableDirectory(folderOf(beside))) return beside;
  if (auto folder = userConfigFolder(env)) return *folder + "/tarnlist.DAT";
  return {};
}

SetupData loadSetup(const std::string& path, FileSystem& fs, MessageService& messages) {
  SetupData setup;
  const FileState state = readSetup(path, fs, setup);
  if (state == FileState::Invalid)
    messages.show("Configuration file is no longer valid. Default settings is used", "Message",
                  MessageIcon::Exclamation);
  if (state != FileState::Valid) setup.sourceFont.flags = kDefaultSourceFontFlags;
  return setup;
}

std::string configFileImage(const SetupData& setup) {
  std::string image(kConfigFileSize, '\0');
  std::memcpy(image.data(), &kConfigVersion, 4);
  std::memcpy(image.data() + 4, &setup, sizeof setup);
  return image;
}

bool saveSetup(const std::string& path, const SetupData& setup, FileSystem& fs,
               MessageService& messages) {
  // No place at all is a failed save, never a file in the current folder.
  bool saved = false;
  if (!path.empty()) {
    fs.createDirectories(folderOf(path));
    saved = fs.writeFile(path, configFileImage(setup), nullptr);
  }
  if (!saved) {
    messages.show("Error writing config file", "Error", MessageIcon::Exclamation);
    return false;
  }
  return true;
}

bool saveSetupChanges(const std::string& path, const SetupData& loaded, const SetupData& now,
                      FileSystem& fs, MessageService& messages) {
  SetupData onDisk;
  // Without a place there is nothing to read; saveSetup reports it.
  if (path.empty() || readSetup(path, fs, onDisk) != FileState::Valid)
    return saveSetup(path, now, fs, messages);
  return saveSetup(path, mergeSetupChanges(loaded, now, onDisk), fs, messages);
}

}  // namespace tarn
