#include "shell/dump_command.h"

#include <string>

#include "analysis/analysis_error.h"
#include "analysis/dump.h"
#include "analysis/lexer.h"
#include "analysis/source_text.h"
#include "platform/cp1252.h"

namespace tarn {
namespace {

bool isClarionPath(const std::string& path) {
  if (path.size() < 4) return false;
  std::string_view tail(path.data() + path.size() - 4, 4);
  return cp1252::compareIgnoreCase(tail, ".CLW") == 0 || cp1252::compareIgnoreCase(tail, ".INC") == 0;
}

}  // namespace

int runDump(const CommandLine& command, const SetupData& setup, FileSystem& fs,
            MessageService& messages, std::FILE* out) {
  SourceTextReader reader;
  ReadStatus status = fs.readFile(
      command.argument, [&reader](std::string_view chunk) { return reader.feed(chunk); }, nullptr,
      nullptr);
  if (status != ReadStatus::Okay) {
    messages.show("Unable to open file", "File Error");
    return 1;
  }
  TokenList tokens;
  LexOptions options;
  options.tabWidth = setup.tabWidth;
  options.keywordsUppercase = setup.keywordsUppercase != 0;
  options.lineBeforeUnit = setup.lineBeforeUnit != 0;
  try {
    lex(reader.text(), isClarionPath(command.argument), options, tokens);
  } catch (const AnalysisError& e) {
    messages.show(e.what(), "Unhandled Exception", MessageIcon::Stop);
    return 1;
  }
  std::string text = dumpTokens(tokens);
  std::fwrite(text.data(), 1, text.size(), out);
  return std::fflush(out) == 0 ? 0 : 1;
}

}  // namespace tarn
