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

namespace {

/// Most failed files the summary names one by one.
constexpr std::size_t kMostNamedFailures = 20;

std::string counted(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

std::string printAllSummary(const PrintAllResult& result, const std::string& done) {
  if (result.failures == 0) return {};
  const std::size_t written = result.printed.size();
  std::string text = written == 0 ? std::string("No listing was ") + done
                                  : counted(written, "listing was ", "listings were ") + done;
  text += ".\n" + counted(static_cast<std::size_t>(result.failures), "file", "files") +
          " could not be printed";
  if (result.failed.empty()) return text + ".";
  text += ":";
  for (std::size_t i = 0; i < result.failed.size() && i < kMostNamedFailures; ++i)
    text += "\n" + result.failed[i].path + ": " + result.failed[i].reason;
  if (result.failed.size() > kMostNamedFailures)
    text += "\n... and " + std::to_string(result.failed.size() - kMostNamedFailures) + " more";
  return text;
}

PrintAllResult printAllSource(const ApplicationData& project, std::uint32_t options,
                              PrintServices& services) {
  PrintAllResult result;
  for (const ProjectFile* file : selectedFiles(project, options)) {
    HeldMessages said;
    PrintServices quiet{services.setup, services.fs,  services.attributes,    said,
                        services.dates, services.now, services.printer,       services.addRecentFile,
                        services.extras};
    const DirectPrintResult r = printFileDirectly(file->path, quiet);
    if (r == DirectPrintResult::NotLoaded || r == DirectPrintResult::Failed) {
      ++result.failures;
      const std::string reason = said.firstLine();
      result.failed.push_back({file->path, reason.empty() ? "Could not print '" + file->path + "'"
                                                          : reason});
      continue;
    }
    said.replay(services.messages);
    if (r == DirectPrintResult::Printed) result.printed.push_back(file->path);
  }
  return result;
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
    const std::string& path = files[i]->path;
    auto fail = [&](std::string reason) {
      ++result.failures;
      if (reason.empty()) reason = "Could not print '" + path + "'";
      if (run.holdFailureMessages) {
        result.failed.push_back({path, std::move(reason)});
      } else {
        w.messages.replay(services.messages);
        // A file not written without a word would pass for printed.
        if (w.messages.empty()) services.messages.show(reason, "Print Error", MessageIcon::Exclamation);
      }
    };
    if (w.analysisError) {
      w.messages.replay(services.messages);
      analysisError = w.analysisError;
      return false;
    }
    if (!w.loaded) {
      fail(w.messages.firstLine());
      return true;
    }
    if (w.nothingToPrint) {
      w.messages.replay(services.messages);
    } else if (w.output && w.output->keep()) {
      w.messages.replay(services.messages);
      if (w.whole) {
        result.printed.push_back(path);
        if (setup.clearArchive && !run.holdMarks) clearArchiveMark(path, services.attributes);
      }
    } else {
      const std::string said = w.messages.firstLine();
      fail(!said.empty() ? said : run.notKept ? run.notKept(i) : std::string());
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
