#pragma once

#include <functional>
#include <string>

#include "platform/file_attributes.h"
#include "platform/file_system.h"
#include "platform/message_service.h"
#include "printout/dates.h"
#include "platform/print_job.h"
#include "settings/listing_extras.h"
#include "settings/setup_data.h"

namespace tarn {

/// The services printing without a window uses.
struct PrintServices {
  const SetupData& setup;
  FileSystem& fs;
  FileAttributes& attributes;
  MessageService& messages;
  DateFormatter& dates;
  Clock now;
  /// The application's printer, made on first need.
  std::function<Printer&()> printer;
  /// Enters a path in the recent-file list (may be empty).
  std::function<void(const std::string&)> addRecentFile;
  /// Line numbers, page count and PDF outline for the jobs.
  ListingExtras extras = {};
};

enum class DirectPrintResult { Printed, NothingToPrint, NotLoaded, Cancelled, Failed };

/// Loads, analyses and prints one file with the current settings and print
/// mode, without a window or the print dialog. A file that cannot be read
/// has had its message; one with nothing to print is skipped silently. An
/// AnalysisError travels to the caller.
DirectPrintResult printFileDirectly(const std::string& path, PrintServices& services);

/// Most files one command line prints; the rest of a longer list is left out.
inline constexpr int kMaxListedFiles = 500;

/// Prints what the command line names: one file, or "@" and a list file of
/// one path a line up to the first empty line. Returns the exit status: 0
/// when every file was handled, 1 when one could not be read or printed, or
/// its analysis failed (which ends the run). With `passAnalysisErrors` an
/// AnalysisError leaves for the caller to ask about, as a window would.
int printCommandLine(const std::string& argument, PrintServices& services,
                     bool passAnalysisErrors = false);

}  // namespace tarn
