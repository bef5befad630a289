#include "printout/print_all.h"

#include <optional>

#include "analysis/analysis_error.h"
#include "platform/cp1252.h"
#include "platform/ordered_jobs.h"
#include "platform/paths.h"
#include "printout/print_document.h"

namespace tarn {

std::vector<const ProjectFile*> selectedFiles(const ApplicationData& project,
                                              std::uint32_t options) {
  std::vector<const ProjectFile*> files;
  for (const ProjectFile& file : project.files) {
    if ((options & kPrintModifiedOnly) && !(file.attributes & kAttrArchive)) continue;
    // A PROGRAM file keeps its own case (main.clw on Linux); the name's
    // folder, shown when outside the PROGRAM file's, does not count.
    if ((options & kPrintClwOnly) &&
        cp1252::upper(splitPath(file.path).name).find(".CLW") == std::string::npos)
      continue;
    files.push_back(&file);
  }
  return files;
}

int printAllSource(const ApplicationData& project, std::uint32_t options, PrintServices& services) {
  int failures = 0;
  for (const ProjectFile* file : selectedFiles(project, options)) {
    DirectPrintResult r = printFileDirectly(file->path, services);
    if (r == DirectPrintResult::NotLoaded || r == DirectPrintResult::Failed) ++failures;
  }
  return failures;
}

namespace {

/// One file's work, as the worker leaves it.
struct FileWork {
  HeldMessages messages;
  bool loaded = false;
  bool nothingToPrint = false;
  std::optional<std::string> analysisError;
  std::unique_ptr<ListingOutput> output;
  bool whole = false;
};

}  // namespace

PrintAllResult printAllInParallel(const std::vector<const ProjectFile*>& files,
                                  PrintServices& services, const ParallelPrintAll& run) {
  // Read once here, so that the workers only read it.
  services.dates.order();
  const SetupData& setup = services.setup;
  std::function<FileWork(std::size_t)> work = [&](std::size_t i) {
    FileWork w;
    try {
      auto doc = loadDocument(files[i]->path, analysisOptions(setup), services.fs, w.messages);
      if (!doc) return w;
      w.loaded = true;
      if (hasNothingToPrint(*doc, setup.printMode)) {
        w.nothingToPrint = true;
        return w;
      }
      std::unique_ptr<ListingLinks> links = run.links ? run.links(*doc, i) : nullptr;
      PrintContext context{setup, services.dates, services.now, services.extras, links.get()};
      auto printout = makePrintout(*doc, PrintSelection::wholeFile(), context);
      if (!printout) return w;
      w.output = run.write(*printout, i);
      w.whole = printout->printedWhole();
    } catch (const AnalysisError& e) {
      w.analysisError = e.what();
    } catch (const std::exception& e) {
      // Out of memory, say: this file fails, the others go on.
      w.messages.show(e.what(), "Print Error", MessageIcon::Exclamation, MessageButtons::Ok);
    }
    return w;
  };

  PrintAllResult result;
  std::optional<std::string> analysisError;
  std::function<bool(std::size_t, FileWork&)> take = [&](std::size_t i, FileWork& w) {
    w.messages.replay(services.messages);
    if (w.analysisError) {
      analysisError = w.analysisError;
      return false;
    }
    if (!w.loaded) {
      ++result.failures;
      return true;
    }
    const std::string& path = files[i]->path;
    if (!w.nothingToPrint) {
      if (w.output && w.output->keep()) {
        if (w.whole) {
          result.printed.push_back(path);
          if (setup.clearArchive && !run.holdMarks) clearArchiveMark(path, services.attributes);
        }
      } else {
        ++result.failures;
      }
    }
    if (services.addRecentFile) services.addRecentFile(path);
    if (run.progress) run.progress(i + 1);
    return true;
  };
  runOrdered<FileWork>(files.size(), run.jobs, work, take);
  if (analysisError) throw AnalysisError(*analysisError);
  return result;
}

}  // namespace tarn
