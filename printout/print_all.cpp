#include "printout/print_all.h"

#include "platform/cp1252.h"
#include "platform/paths.h"

namespace tarn {

int printAllSource(const ApplicationData& project, std::uint32_t options, PrintServices& services) {
  int failures = 0;
  for (const ProjectFile& file : project.files) {
    if ((options & kPrintModifiedOnly) && !(file.attributes & kAttrArchive)) continue;
    // A PROGRAM file keeps its own case (main.clw on Linux); the name's
    // folder, shown when outside the PROGRAM file's, does not count.
    if ((options & kPrintClwOnly) &&
        cp1252::upper(splitPath(file.path).name).find(".CLW") == std::string::npos)
      continue;
    DirectPrintResult r = printFileDirectly(file.path, services);
    if (r == DirectPrintResult::NotLoaded || r == DirectPrintResult::Failed) ++failures;
  }
  return failures;
}

}  // namespace tarn
