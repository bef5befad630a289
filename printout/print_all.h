#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "document/project.h"
#include "printout/direct_print.h"
#include "printout/listing_printout.h"

namespace tarn {

/// Print-all options: bits of the word the options dialog builds.
enum : std::uint32_t {
  kPrintModifiedOnly = 0x1,  ///< only files whose archive bit was set when the project was loaded
  kPrintClwOnly = 0x2,       ///< only files whose name contains ".CLW" in any case
  kPrintBook = 0x4,          ///< one PDF book of them, whatever printer is set
};

/// The files of the project the options select, in table order.
std::vector<const ProjectFile*> selectedFiles(const ApplicationData& project,
                                              std::uint32_t options);

/// A file a print-all did not print, and why.
struct PrintAllFailure {
  std::string path;
  std::string reason;  ///< the first line of what was said of it
};

/// What a print-all did.
struct PrintAllResult {
  int failures = 0;
  /// The files kept whole (every page), in table order.
  std::vector<std::string> printed;
  /// Files that failed, when their messages were held for the summary.
  std::vector<PrintAllFailure> failed;
};

/// The one message ending a print-all in which anything failed: how many
/// listings were `done` ("written into /out"), then each failed file and
/// why; empty when nothing failed.
std::string printAllSummary(const PrintAllResult& result, const std::string& done);

/// Prints the project's files one after another in table order, each as its
/// own job with printFileDirectly; a file that fails is passed over, what was
/// said of it held for the summary. An AnalysisError leaves the run.
PrintAllResult printAllSource(const ApplicationData& project, std::uint32_t options,
                              PrintServices& services);

/// A listing written on a worker thread, kept (put in its place) later on
/// the caller's thread, in table order.
class ListingOutput {
 public:
  virtual ~ListingOutput() = default;
  /// False when it could not be kept; an output never kept leaves nothing.
  virtual bool keep() = 0;
};

/// How print-all writes files on several threads.
struct ParallelPrintAll {
  int jobs = 1;
  /// Writes file `index` (of the selected ones) from its printout on a
  /// worker thread; null when that failed. Must not throw.
  std::function<std::unique_ptr<ListingOutput>(TMyPrintout& printout, std::size_t index)> write;
  /// Where the names of file `index` lead (null: its own units).
  std::function<std::unique_ptr<ListingLinks>(const TFileDataSource&, std::size_t index)> links;
  /// Archive marks are cleared by the caller later, from `printed`.
  bool holdMarks = false;
  /// Told how many files are done after each, on the caller's thread.
  std::function<void(std::size_t done)> progress;
  /// Why file `index`'s output could not be written or kept.
  std::function<std::string(std::size_t index)> notKept;
  /// What is said of a file that fails goes into PrintAllResult::failed
  /// instead, for one summary at the end.
  bool holdFailureMessages = false;
};

/// Print-all with `run.jobs` files loaded, laid out and written at once.
/// In table order, as printAllSource does it: each file's messages, its
/// output kept, the recent-file list, its archive mark. An AnalysisError
/// leaves after the files before it were kept; nothing after it is.
PrintAllResult printAllInParallel(const std::vector<const ProjectFile*>& files,
                                  PrintServices& services, const ParallelPrintAll& run);

}  // namespace tarn
