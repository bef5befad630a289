#include "document/project_dump.h"

#include <cstdio>

#include "analysis/dump.h"

namespace tarn {

std::string dumpProject(const ApplicationData& project) {
  std::string out;
  for (const ProjectFile& file : project.files) {
    const DosStamp& s = file.stamp;
    char time[32];
    std::snprintf(time, sizeof time, "%04d-%02d-%02d %02d:%02d:%02d", s.year(), s.month(), s.day(),
                  s.hour(), s.minute(), s.second());
    out += "file\t" + escapeDumpText(file.name) + "\t" + std::to_string(file.attributes) + "\t" +
           time + "\n";
  }
  for (const ProjectProcedure& proc : project.procedures)
    out += "proc\t" + escapeDumpText(proc.label) + "\t" + escapeDumpText(proc.fileName) + "\t" +
           std::to_string(proc.line) + "\n";
  return out;
}

}  // namespace tarn
