#pragma once

#include <functional>
#include <string>
#include <vector>

#include "desktop/column_lists.h"
#include "document/project.h"

namespace tarn {

/// Formats a date (day, month, year) in the user's order.
using DateText = std::function<std::string(int day, int month, int year)>;

/// The files of a project: the name, and on the right the last write's date
/// and time and "[Modified]" while the recorded archive mark is set.
class ApplicationFileListData : public ColumnListData {
 public:
  ApplicationFileListData(const ApplicationData& project, DateText date);
  std::string_view mainText(int index) const override;
  std::string rightText(int index) const override;

 private:
  const ApplicationData& project_;
  DateText date_;
  std::vector<std::string> names_;  // per file: its name in the code page when it differs
};

/// The procedures of a project: the label, and on the right its file name
/// (padded to 15) and line.
class ApplicationProcListData : public ColumnListData {
 public:
  explicit ApplicationProcListData(const ApplicationData& project);
  std::string_view mainText(int index) const override;
  std::string rightText(int index) const override;

 private:
  const ApplicationData& project_;
  std::vector<std::string> fileNames_;  // per procedure, as in the file list
};

/// A project file's name in the code page, as the lists show and filter it:
/// its folder part is a file name of the platform, UTF-8 (characters the code
/// page lacks become "?").
std::string projectFileName(const ProjectFile& file);

/// "%s  %02i:%02i    %s": date, hour, minute and "[Modified]" or nothing.
std::string projectFileStamp(const ProjectFile& file, const DateText& date);

}  // namespace tarn
