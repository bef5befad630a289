#include "printout/print_all.h"

#include "platform/paths.h"

namespace tarn {

int printAllSource(const ApplicationData& project, std::uint32_t options, PrintServices& services) {
  int failures = 0;
  for (const ProjectFile& file : project.files) {
    if ((options & kPrintModifiedOnly) && !(file.attributes & kAttrArchive)) continue;
    if ((options & kPrintClwOnly) && file.name.find(".CLW") == std::string::npos) continue;
    std::string path = resolvePath(services.fs, project.directory, file.name);
    DirectPrintResult r = printFileDirectly(path, services);
    if (r == DirectPrintResult::NotLoaded || r == DirectPrintResult::Failed) ++failures;
  }
  return failures;
}

}  // namespace tarn
