#include "desktop/project_lists.h"

#include <cstdio>

namespace tarn {

std::string projectFileStamp(const ProjectFile& file, const DateText& date) {
  char time[16];
  std::snprintf(time, sizeof time, "  %02i:%02i    ", file.stamp.hour(), file.stamp.minute());
  return date(file.stamp.day(), file.stamp.month(), file.stamp.year()) + time +
         ((file.attributes & kAttrArchive) ? "[Modified]" : "");
}

ApplicationFileListData::ApplicationFileListData(const ApplicationData& project, DateText date)
    : ColumnListData(project.fileCount()), project_(project), date_(std::move(date)) {}

std::string_view ApplicationFileListData::mainText(int index) const {
  return project_.files[static_cast<std::size_t>(index)].name;
}

std::string ApplicationFileListData::rightText(int index) const {
  return projectFileStamp(project_.files[static_cast<std::size_t>(index)], date_);
}

ApplicationProcListData::ApplicationProcListData(const ApplicationData& project)
    : ColumnListData(project.procedureCount()), project_(project) {}

std::string_view ApplicationProcListData::mainText(int index) const {
  return project_.procedures[static_cast<std::size_t>(index)].label;
}

std::string ApplicationProcListData::rightText(int index) const {
  const ProjectProcedure& p = project_.procedures[static_cast<std::size_t>(index)];
  std::string name = p.fileName;
  if (name.size() < 15) name.resize(15, ' ');
  return name + " Line " + std::to_string(p.line);
}

}  // namespace tarn
