#pragma once

#include <cstdint>

#include "document/project.h"
#include "printout/direct_print.h"

namespace tarn {

/// Print-all options: bits of the word the options dialog builds.
enum : std::uint32_t {
  kPrintModifiedOnly = 0x1,  ///< only files whose archive bit was set when the project was loaded
  kPrintClwOnly = 0x2,       ///< only files whose name contains ".CLW" in any case
};

/// Prints the project's files one after another in table order, each as its
/// own job with printFileDirectly; a file that fails is passed over. An
/// AnalysisError leaves the run. Returns how many files could not be read
/// or printed.
int printAllSource(const ApplicationData& project, std::uint32_t options, PrintServices& services);

}  // namespace tarn
