#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "analysis/analyser.h"
#include "analysis/token_list.h"
#include "platform/dos_time.h"
#include "platform/file_system.h"
#include "platform/message_service.h"
#include "settings/setup_data.h"

namespace tarn {

/// Longest path a document accepts; a longer one is refused, never cut into
/// another file's path.
inline constexpr std::size_t kMaxDocumentPath = 499;

/// One source file loaded and analysed; read, never changed, once loaded.
struct TFileDataSource {
  std::string path;                 ///< as given to the load
  DosStamp stamp;                   ///< last write, local time
  std::unique_ptr<TokenList> tokens = std::make_unique<TokenList>();
  std::vector<TToken*> blocks;      ///< unit starts, pointing into `tokens`
  std::vector<TToken*> embeds;      ///< embed comments, pointing into `tokens`
  bool isClarion = false;
  /// What a token's line is ahead of the file's: 1 when the lexer put a
  /// line feed in front of the text (the rule before the first unit).
  std::int32_t lineShift = 0;
};

/// Whether a path names Clarion source: it ends in .CLW or .INC, any case.
bool isClarionPath(std::string_view path);

/// The analysis options of the settings of the moment: a file loaded after
/// the setup changed is read with the new tab width and keyword case.
AnalyseOptions analysisOptions(const SetupData& setup);

/// "Unable to open file", and the file's path on a second line: several
/// failures in a row must be told apart.
std::string unableToOpenFile(const std::string& path);

/// "The file contains a NUL byte at line %i; text after it is not shown or
/// printed": the text of a file ends at its first NUL.
std::string nulByteMessage(int line);

/// Reads and analyses a file. When it cannot be opened or read, shows
/// unableToOpenFile(path) and returns null. An AnalysisError travels to the caller.
std::unique_ptr<TFileDataSource> loadDocument(const std::string& path,
                                              const AnalyseOptions& options, FileSystem& fs,
                                              MessageService& messages);

}  // namespace tarn
