#include "printout/direct_print.h"

#include <algorithm>
#include <vector>

#include "analysis/analysis_error.h"
#include "document/source_document.h"
#include "printout/print_document.h"

namespace tarn {
namespace {

std::string couldNotRead(const std::string& path) { return "Could not read file '" + path + "'"; }

/// The paths of a list file, or nothing when it cannot be read.
std::optional<std::vector<std::string>> readList(const std::string& listPath,
                                                 PrintServices& services) {
  std::string bytes;
  if (!services.fs.isReadable(listPath) ||
      readWholeFile(services.fs, listPath, &bytes, nullptr, nullptr) != ReadStatus::Okay)
    return std::nullopt;
  std::vector<std::string> paths;
  std::size_t at = 0;
  while (at < bytes.size()) {
    std::size_t end = bytes.find('\n', at);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(at, end - at);
    at = end + 1;
    // A path is a C string: a NUL ends it, and one at the start leaves an empty line.
    line.resize(std::min(line.find('\0'), line.size()));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) break;
    if (paths.size() == static_cast<std::size_t>(kMaxListedFiles)) {
      services.messages.show("Only the first 500 files of '" + listPath + "' are printed", "Warning",
                             MessageIcon::Exclamation);
      break;
    }
    paths.push_back(std::move(line));
  }
  return paths;
}

}  // namespace

DirectPrintResult printFileDirectly(const std::string& path, PrintServices& services) {
  auto doc = loadDocument(path, analysisOptions(services.setup), services.fs, services.messages);
  if (!doc) return DirectPrintResult::NotLoaded;
  DirectPrintResult result = printDocument(*doc, PrintRequest{}, services);
  if (services.addRecentFile) services.addRecentFile(path);
  return result;
}

int printCommandLine(const std::string& argument, PrintServices& services,
                     bool passAnalysisErrors) {
  std::vector<std::string> paths;
  if (!argument.empty() && argument[0] == '@') {
    std::string listPath = argument.substr(1);
    auto list = readList(listPath, services);
    if (!list) {
      services.messages.show(couldNotRead(listPath), "", MessageIcon::Exclamation);
      return 1;
    }
    paths = std::move(*list);
  } else {
    paths.push_back(argument);
  }

  int status = 0;
  for (const std::string& path : paths) {
    if (!services.fs.isReadable(path)) {
      services.messages.show(couldNotRead(path), "", MessageIcon::Exclamation);
      status = 1;
      continue;
    }
    try {
      DirectPrintResult r = printFileDirectly(path, services);
      if (r == DirectPrintResult::NotLoaded || r == DirectPrintResult::Failed) status = 1;
      if (r == DirectPrintResult::Failed)
        services.messages.show("Could not print '" + path + "'", "Print Error",
                               MessageIcon::Exclamation);
    } catch (const AnalysisError& e) {
      if (passAnalysisErrors) throw;
      // The rest of the list is not printed, as when the question is answered
      // in a window; here nobody can answer, so the run ends.
      services.messages.show(std::string(e.what()) + "\nOK to resume?", "Unhandled Exception",
                             MessageIcon::Stop, MessageButtons::YesNo);
      return 1;
    }
  }
  return status;
}

}  // namespace tarn
