#include "shell/dump_command.h"

#include <string>

#include "analysis/analysis_error.h"
#include "analysis/dump.h"
#include "document/project.h"
#include "document/project_dump.h"
#include "document/source_document.h"
#include "printout/print_document.h"
#include "printout/recording_canvas.h"

namespace tarn {
namespace {

int write(const std::string& text, std::FILE* out) {
  std::fwrite(text.data(), 1, text.size(), out);
  return std::fflush(out) == 0 ? 0 : 1;
}

/// The printout of the whole file, one unit or one embed point on the test
/// device, as the file window's print buttons would make it.
int dumpLayout(const CommandLine& command, TFileDataSource& doc, PrintServices& services,
               std::FILE* out) {
  PrintSelection selection;
  if (command.unit) selection = PrintSelection::unit(static_cast<std::size_t>(*command.unit));
  if (command.embed) selection = PrintSelection::embed(static_cast<std::size_t>(*command.embed));
  PrintContext context{services.setup, services.dates, services.now, services.extras};
  auto printout = makePrintout(doc, selection, context);
  if (!printout) {
    const bool unit = command.unit.has_value();
    services.messages.show(std::string(unit ? "--unit " : "--embed ") +
                               std::to_string(selection.index) + ": the file has " +
                               std::to_string(unit ? doc.blocks.size() : doc.embeds.size()) +
                               (unit ? " units" : " embed points"),
                           "Error");
    return 1;
  }
  RecordingPrinter printer;
  printer.print(*printout, false);
  return write(printer.jobs.front(), out);
}

// The loader itself stays silent about a PROGRAM file it cannot read; a dump
// reports it like every other file that cannot be opened.
int dumpProjectOf(const CommandLine& command, PrintServices& services,
                  FileAttributes& attributes, const ProjectSearch& search, std::FILE* out) {
  ApplicationData project(command.argument, services.fs, attributes, search);
  if (project.files.empty()) {
    services.messages.show(unableToOpenFile(command.argument), "File Error");
    return 1;
  }
  return write(dumpProject(project), out);
}

}  // namespace

int runDump(const CommandLine& command, PrintServices& services, FileAttributes& projectAttributes,
            const ProjectSearch& search, std::FILE* out) {
  if (command.dumpKind == "project")
    return dumpProjectOf(command, services, projectAttributes, search, out);
  std::unique_ptr<TFileDataSource> doc;
  try {
    doc = loadDocument(command.argument, analysisOptions(services.setup), services.fs,
                       services.messages);
  } catch (const AnalysisError& e) {
    services.messages.show(e.what(), "Unhandled Exception", MessageIcon::Stop);
    return 1;
  }
  if (!doc) return 1;
  if (command.dumpKind == "structure") return write(dumpStructure(doc->blocks, doc->embeds), out);
  if (command.dumpKind == "layout") return dumpLayout(command, *doc, services, out);
  return write(dumpTokens(*doc->tokens), out);
}

}  // namespace tarn
