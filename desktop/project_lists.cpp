#include "desktop/project_lists.h"

#include <algorithm>
#include <cstdio>
#include <unordered_map>

#include "platform/cp1252.h"

namespace tarn {

std::string projectFileStamp(const ProjectFile& file, const DateText& date) {
  char time[16];
  std::snprintf(time, sizeof time, "  %02i:%02i    ", file.stamp.hour(), file.stamp.minute());
  return date(file.stamp.day(), file.stamp.month(), file.stamp.year()) + time +
         ((file.attributes & kAttrArchive) ? "[Modified]" : "");
}

std::string projectFileName(const ProjectFile& file) {
  std::string_view name = file.name;
  std::size_t folder = std::min(file.folderLength, name.size());
  return cp1252::fromUtf8(name.substr(0, folder)) + std::string(name.substr(folder));
}

namespace {

// Only names whose folder holds more than ASCII differ from the table's.
bool differs(const ProjectFile& file) {
  for (std::size_t i = 0; i < file.folderLength && i < file.name.size(); ++i)
    if (static_cast<unsigned char>(file.name[i]) >= 0x80) return true;
  return false;
}

}  // namespace

ApplicationFileListData::ApplicationFileListData(const ApplicationData& project, DateText date)
    : ColumnListData(project.fileCount()), project_(project), date_(std::move(date)) {
  names_.resize(project.files.size());
  for (std::size_t i = 0; i < project.files.size(); ++i)
    if (differs(project.files[i])) names_[i] = projectFileName(project.files[i]);
}

std::string_view ApplicationFileListData::mainText(int index) const {
  const auto i = static_cast<std::size_t>(index);
  return names_[i].empty() ? std::string_view(project_.files[i].name) : std::string_view(names_[i]);
}

std::string ApplicationFileListData::rightText(int index) const {
  return projectFileStamp(project_.files[static_cast<std::size_t>(index)], date_);
}

ApplicationProcListData::ApplicationProcListData(const ApplicationData& project)
    : ColumnListData(project.procedureCount()), project_(project) {
  std::unordered_map<std::string_view, const ProjectFile*> byPath;
  for (const ProjectFile& file : project.files)
    if (differs(file)) byPath.emplace(file.path, &file);
  fileNames_.resize(project.procedures.size());
  if (byPath.empty()) return;
  for (std::size_t i = 0; i < project.procedures.size(); ++i)
    if (auto it = byPath.find(project.procedures[i].path); it != byPath.end())
      fileNames_[i] = projectFileName(*it->second);
}

std::string_view ApplicationProcListData::mainText(int index) const {
  return project_.procedures[static_cast<std::size_t>(index)].label;
}

std::string ApplicationProcListData::rightText(int index) const {
  const ProjectProcedure& p = project_.procedures[static_cast<std::size_t>(index)];
  const std::string& shown = fileNames_[static_cast<std::size_t>(index)];
  std::string name = shown.empty() ? p.fileName : shown;
  if (name.size() < 15) name.resize(15, ' ');
  return name + " Line " + std::to_string(p.line);
}

}  // namespace tarn
