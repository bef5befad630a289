#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "document/source_document.h"
#include "printout/direct_print.h"
#include "printout/listing_printout.h"

namespace tarn {

/// What one print covers: the whole file, or unit / embed point `index` of
/// the document's lists, as the file window's buttons choose it.
struct PrintSelection {
  enum class Kind { WholeFile, Unit, Embed };
  Kind kind = Kind::WholeFile;
  std::size_t index = 0;

  static PrintSelection wholeFile() { return {}; }
  static PrintSelection unit(std::size_t i) { return {Kind::Unit, i}; }
  static PrintSelection embed(std::size_t i) { return {Kind::Embed, i}; }
};

/// Where a printout of a selection starts and the flags that end it.
struct PrintRange {
  std::uint32_t stopMask = 0;
  TToken* start = nullptr;  ///< null: the first token
};

/// The range of a selection; nothing when its index is not in the list.
std::optional<PrintRange> printRange(const TFileDataSource& document, PrintSelection selection);

/// The printout of a selection with the print mode of the settings, titled
/// with the document's path. The preview and the layout dump use it as it
/// is; they make no nothing-to-print test. Null for an index out of range.
std::unique_ptr<TMyPrintout> makePrintout(TFileDataSource& document, PrintSelection selection,
                                          const PrintContext& context);

/// The text the file window shows for a file with nothing to print.
inline constexpr const char* kNothingToPrint = "There is nothing to print";

struct PrintRequest {
  PrintSelection selection;
  bool withDialog = false;
  /// Say "There is nothing to print" instead of passing over the file silently.
  bool sayNothingToPrint = false;
};

/// The print command: refuses a file with nothing to print in the current
/// mode (the test covers the whole file), makes the printer on first use,
/// prints the selection, and clears the archive mark of the file when the
/// settings ask for it and the job reached the printer or its PDF whole.
DirectPrintResult printDocument(TFileDataSource& document, const PrintRequest& request,
                                PrintServices& services);

/// Clears the archive bit of a file; attributes that cannot be read are
/// left alone.
void clearArchiveMark(const std::string& path, FileAttributes& attributes);

}  // namespace tarn
