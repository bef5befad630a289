#include "document/source_document.h"

#include <algorithm>
#include <optional>

#include "analysis/source_text.h"
#include "platform/cp1252.h"

namespace tarn {

bool isClarionPath(std::string_view path) {
  if (path.size() <= 3) return false;
  std::string_view tail = path.substr(path.size() - 4);
  return cp1252::compareIgnoreCase(tail, ".CLW") == 0 ||
         cp1252::compareIgnoreCase(tail, ".INC") == 0;
}

AnalyseOptions analysisOptions(const SetupData& setup) {
  AnalyseOptions o;
  o.lex.tabWidth = setup.tabWidth;
  o.lex.keywordsUppercase = setup.keywordsUppercase != 0;
  o.lex.lineBeforeUnit = setup.lineBeforeUnit != 0;
  o.includePrecedingComment = setup.includePrecedingComment != 0;
  return o;
}

std::string nulByteMessage(int line) {
  return "The file contains a NUL byte at line " + std::to_string(line) +
         "; text after it is not shown or printed";
}

std::string unableToOpenFile(const std::string& path) {
  return "Unable to open file\n" + path;
}

std::unique_ptr<TFileDataSource> loadDocument(const std::string& path,
                                              const AnalyseOptions& options, FileSystem& fs,
                                              MessageService& messages) {
  auto fail = [&messages, &path]() -> std::unique_ptr<TFileDataSource> {
    messages.show(unableToOpenFile(path), "File Error", MessageIcon::Exclamation);
    return nullptr;
  };
  if (path.empty() || path.size() > kMaxDocumentPath) return fail();

  auto doc = std::make_unique<TFileDataSource>();
  doc->path = path;
  doc->isClarion = isClarionPath(path);

  SourceTextReader reader;
  FileStat opened;
  ReadStatus status = fs.readFile(
      path, [&reader](std::string_view chunk) { return reader.feed(chunk); }, &opened, nullptr);
  if (status != ReadStatus::Okay) return fail();

  const std::string text = reader.take();
  // The text stops at a NUL; said once, so that a short listing is no surprise.
  if (reader.stoppedAtNul())
    messages.show(nulByteMessage(1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'))),
                  "Tarnlist for Clarion", MessageIcon::Exclamation);
  Structure structure;
  analyse(text, doc->isClarion, options, *doc->tokens, structure);
  doc->lineShift = options.lex.lineBeforeUnit ? 1 : 0;
  doc->blocks = std::move(structure.blocks);
  doc->embeds = std::move(structure.embeds);
  doc->stamp = dosStampFromEpoch(opened.mtime);
  return doc;
}

}  // namespace tarn
