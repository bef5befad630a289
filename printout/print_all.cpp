#include "printout/print_all.h"

#include "platform/cp1252.h"
#include "platform/paths.h"

namespace tarn {

int printAllSource(const ApplicationData& project, std::uint32_t options, PrintServices& services) {
  int failures = 0;
  for (const ProjectFile& file : project.files) {
    if ((options & kPrintModifiedOnly) && !(file.attributes & kAttrArchive)) continue;
    // A PROGRAM file keeps its own case (main.clw on Linux).
    if ((options & kPrintClwOnly) && cp1252::upper(file.name).find(".CLW") == std::string::npos) continue;
    std::string path = resolvePath(services.fs, project.directory, file.name);
    DirectPrintResult r = printFileDirectly(path, services);
    if (r == DirectPrintResult::NotLoaded || r == DirectPrintResult::Failed) ++failures;
  }
  return failures;
}

}  // namespace tarn
