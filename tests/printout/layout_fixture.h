#pragma once

#include <functional>
#include <memory>
#include <string>

#include "document/source_document.h"
#include "printout/dates.h"
#include "printout/listing_printout.h"
#include "printout/print_document.h"
#include "printout/recording_canvas.h"
#include "support/fakes.h"

namespace tarn::test {

/// 2026-12-07 10:30 UTC, the printing time of every recorded layout.
inline constexpr std::time_t kPrintedAt = 1796639400;
/// 2001-03-05 09:07 UTC, the modification time of every test file.
inline constexpr std::int64_t kModifiedAt = 983783220;

/// Which part of the file a printout covers, as the file window's buttons choose it.
struct Selection {
  int unit = -1;   ///< print unit N alone
  int embed = -1;  ///< print embed point N alone
};

/// Loads a source text as a document and records its printout on the test
/// device, with the settings given (time zone UTC, day-month-year dates).
class LayoutFixture {
 public:
  LayoutFixture();
  ~LayoutFixture();

  SetupData setup;
  ListingExtras extras;
  VirtualFileSystem fs;
  RecordingMessages messages;
  MemoryProfile profile;
  FakeFileAttributes attributes;
  DateFormatter dates{profile, [] { return std::optional<int>(); }, messages};

  /// Loads `source` as `path` with the analysis options of `setup`.
  std::unique_ptr<TFileDataSource> load(const std::string& source,
                                        const std::string& path = "C:\\SRC\\MAIN.CLW");

  /// The record of the printout of a loaded document; `range` chooses pages
  /// as a print dialog does, `info` receives the job's document information.
  std::string record(TFileDataSource& doc, Selection selection = {}, int* pages = nullptr,
                     PageRange range = {}, DocumentInfo* info = nullptr);

  /// Loads and records in one go.
  std::string layout(const std::string& source, Selection selection = {},
                     const std::string& path = "C:\\SRC\\MAIN.CLW");
};

/// Compares `actual` with tests/data/layout/NAME.txt; with TARNLIST_UPDATE_GOLDEN
/// set, rewrites the file instead.
void expectGolden(const std::string& name, const std::string& actual);

}  // namespace tarn::test
