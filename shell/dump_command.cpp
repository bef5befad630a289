#include "shell/dump_command.h"

#include <string>

#include "analysis/analysis_error.h"
#include "analysis/dump.h"
#include "document/project.h"
#include "document/project_dump.h"
#include "document/source_document.h"
#include "platform/environment.h"
#include "platform/posix/posix_file_attributes.h"

namespace tarn {
namespace {

int write(const std::string& text, std::FILE* out) {
  std::fwrite(text.data(), 1, text.size(), out);
  return std::fflush(out) == 0 ? 0 : 1;
}

int dumpDocument(const CommandLine& command, const SetupData& setup, FileSystem& fs,
                 MessageService& messages, std::FILE* out) {
  std::unique_ptr<TFileDataSource> doc;
  try {
    doc = loadDocument(command.argument, analysisOptions(setup), fs, messages);
  } catch (const AnalysisError& e) {
    messages.show(e.what(), "Unhandled Exception", MessageIcon::Stop);
    return 1;
  }
  if (!doc) return 1;
  if (command.dumpKind == "structure") return write(dumpStructure(doc->blocks, doc->embeds), out);
  return write(dumpTokens(*doc->tokens), out);
}

// The loader itself stays silent about a PROGRAM file it cannot read; a dump
// reports it like every other file that cannot be opened.
int dumpProjectOf(const CommandLine& command, FileSystem& fs, MessageService& messages,
                  std::FILE* out) {
  PosixFileAttributes attributes(processEnvironment);
  ApplicationData project(command.argument, fs, attributes);
  if (project.files.empty()) {
    messages.show("Unable to open file", "File Error");
    return 1;
  }
  return write(dumpProject(project), out);
}

}  // namespace

int runDump(const CommandLine& command, const SetupData& setup, FileSystem& fs,
            MessageService& messages, std::FILE* out) {
  if (command.dumpKind == "tokens" || command.dumpKind == "structure")
    return dumpDocument(command, setup, fs, messages, out);
  if (command.dumpKind == "project") return dumpProjectOf(command, fs, messages, out);
  messages.show("this dump is not available yet", "Error");
  return 1;
}

}  // namespace tarn
