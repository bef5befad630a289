#pragma once

#include <cstdint>
#include <string>

#include "document/project.h"
#include "printout/print_all.h"

namespace tarn {

/// Print-all of a project into PDF files by our writer, `jobs` files at a
/// time; output, messages, recent files and archive marks as with one job.
/// Returns how many files could not be read or written; an AnalysisError
/// leaves after the files before it were written.
///
/// Into a folder: one PDF a file, "<file name>.pdf" ("-2", "-3" for a name
/// this run has written already).
int printAllToPdfFolder(const ApplicationData& project, std::uint32_t options,
                        PrintServices& services, const std::string& folder, int jobs);

/// The files of `files` in `folder` as printAllToPdfFolder names them.
std::vector<std::string> pdfFolderTargets(const std::vector<const ProjectFile*>& files,
                                          const std::string& folder);

/// The same into `targets[i]` for files[i]; `written` hears of each file
/// kept, in order. With `holdFailures`, what is said of a file that fails
/// goes into the result for one summary.
PrintAllResult printAllToPdfFiles(const std::vector<const ProjectFile*>& files,
                                  PrintServices& services, const std::vector<std::string>& targets,
                                  int jobs,
                                  const std::function<void(const std::string& path)>& written = {},
                                  const std::function<void(std::size_t done)>& progress = {},
                                  bool holdFailures = false);

/// What writing a book did.
struct BookResult {
  int failures = 0;      ///< files that could not be read or laid out
  bool written = false;  ///< the book is at its path
  bool empty = false;    ///< no file had anything to print: no book
  std::size_t listings = 0;  ///< files in the book
  std::vector<PrintAllFailure> failed;  ///< with `holdFailures`: which and why
};

/// Into one PDF at `path`, the book: contents, every selected file's
/// listing, the procedure index, with an outline and links from names to
/// definitions. Archive marks are cleared once the book is written.
BookResult printProjectBook(const ApplicationData& project, std::uint32_t options,
                            PrintServices& services, const std::string& path, int jobs,
                            const std::function<void(std::size_t done)>& progress = {},
                            bool holdFailures = false);

/// "Could not write the book '%s'"
std::string bookNotWritten(const std::string& path);

/// A file's name in a book's contents and outline: the name the project
/// table gives it, UTF-8.
std::string bookFileName(const ProjectFile& file);

}  // namespace tarn
