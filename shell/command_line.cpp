#include "shell/command_line.h"

#include <charconv>

namespace tarn {
namespace {

bool parseIndex(const std::string& text, std::optional<int>& out) {
  int value = 0;
  auto r = std::from_chars(text.data(), text.data() + text.size(), value);
  if (r.ec != std::errc() || r.ptr != text.data() + text.size() || value < 0) return false;
  out = value;
  return true;
}

constexpr int kMaxJobs = 64;

CommandLine fail(std::string why) {
  CommandLine c;
  c.action = CommandLine::Action::Error;
  c.error = std::move(why);
  return c;
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& args) {
  CommandLine c;
  std::vector<std::string> positional;
  bool open = false;
  // After --open every file named is one to open, not one to print.
  auto files = [&]() -> std::vector<std::string>& { return open ? c.openFiles : positional; };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&]() -> const std::string* {
      return i + 1 < args.size() ? &args[++i] : nullptr;
    };
    if (a == "--help" || a == "-h") {
      c.action = CommandLine::Action::Help;
      return c;
    } else if (a == "--version") {
      c.action = CommandLine::Action::Version;
      return c;
    } else if (a == "--dump") {
      const std::string* kind = value();
      if (!kind) return fail("--dump needs a kind: tokens, structure, project or layout");
      if (*kind != "tokens" && *kind != "structure" && *kind != "project" && *kind != "layout")
        return fail("unknown dump kind '" + *kind + "'");
      c.dumpKind = *kind;
    } else if (a == "--pdf") {
      const std::string* path = value();
      if (!path) return fail("--pdf needs a path");
      c.pdfPath = *path;
    } else if (a == "--project") {
      const std::string* path = value();
      if (!path) return fail("--project needs the PROGRAM file");
      c.project = *path;
    } else if (a == "--include-path") {
      const std::string* folders = value();
      if (!folders) return fail("--include-path needs DIR[:DIR...]");
      c.includePath.push_back(*folders);
    } else if (a == "--unit" || a == "--embed") {
      const std::string* n = value();
      std::optional<int>& target = a == "--unit" ? c.unit : c.embed;
      if (!n || !parseIndex(*n, target)) return fail(a + " needs a number from 0 up");
    } else if (a == "--jobs") {
      const std::string* n = value();
      if (!n || !parseIndex(*n, c.jobs) || *c.jobs < 1 || *c.jobs > kMaxJobs)
        return fail("--jobs needs a number from 1 to " + std::to_string(kMaxJobs));
    } else if (a == "--open") {
      if (!positional.empty()) return fail("--open goes before the files it opens");
      open = true;
    } else if (a == "--modified-only") {
      c.modifiedOnly = true;
    } else if (a == "--clw-only") {
      c.clwOnly = true;
    } else if (a == "--line-numbers") {
      c.lineNumbers = true;
    } else if (a == "--page-count") {
      c.pageCount = true;
    } else if (a == "--") {
      files().insert(files().end(), args.begin() + static_cast<long>(i) + 1, args.end());
      break;
    } else if (a.size() > 1 && a[0] == '-' && a[1] == '-') {
      return fail("unknown option '" + a + "'");
    } else {
      files().push_back(a);
    }
  }
  if (open) {
    if (!c.dumpKind.empty() || !c.pdfPath.empty() || !c.project.empty() ||
        !c.includePath.empty() || c.unit || c.embed || c.modifiedOnly || c.clwOnly ||
        c.lineNumbers || c.pageCount)
      return fail("--open takes only the files to open");
    return c;
  }
  if (positional.size() > 1) return fail("only one file or @list may be given");
  if (!positional.empty()) c.argument = positional.front();
  if (c.unit && c.embed) return fail("--unit and --embed exclude each other");
  if ((c.unit || c.embed) && c.dumpKind != "layout")
    return fail("--unit and --embed go with --dump layout");
  if ((c.modifiedOnly || c.clwOnly) && c.project.empty())
    return fail("--modified-only and --clw-only go with --project");

  if (c.jobs && (!c.dumpKind.empty() || (c.project.empty() && !c.argument.empty())))
    return fail("--jobs goes with --project or the desktop window");

  if (!c.includePath.empty() && c.project.empty() && c.dumpKind != "project")
    return fail("--include-path goes with --project or --dump project");

  if ((c.lineNumbers || c.pageCount) &&
      (c.dumpKind.empty() ? c.argument.empty() && c.project.empty() : c.dumpKind != "layout"))
    return fail(std::string(c.lineNumbers ? "--line-numbers" : "--page-count") +
                " goes with FILE, @LIST, --project or --dump layout");

  if (!c.dumpKind.empty()) {
    if (c.argument.empty()) return fail("--dump " + c.dumpKind + " needs a file");
    c.action = CommandLine::Action::Dump;
  } else if (!c.project.empty()) {
    if (c.pdfPath.empty()) return fail("--project needs --pdf DIR or --pdf BOOK.pdf");
    c.action = CommandLine::Action::Print;
  } else if (!c.argument.empty()) {
    c.action = CommandLine::Action::Print;
  } else if (!c.pdfPath.empty()) {
    return fail("--pdf needs a file or @list to print");
  }
  return c;
}

ListingExtras withCommandLine(ListingExtras extras, const CommandLine& command) {
  extras.lineNumbers = extras.lineNumbers || command.lineNumbers;
  extras.pageCount = extras.pageCount || command.pageCount;
  return extras;
}

std::vector<std::string> wholePaths(std::vector<std::string> paths, const std::string& folder) {
  if (folder.empty()) return paths;
  const std::string prefix = folder.back() == '/' ? folder : folder + "/";
  for (std::string& path : paths)
    if (!path.empty() && path.front() != '/') path = prefix + path;
  return paths;
}

std::string usageText(const std::string& helpPage, bool found) {
  return "Usage: tarnlist [LISTING OPTIONS] [FILE | @LIST]\n"
         "       tarnlist --open [FILE...]\n"
         "       tarnlist [LISTING OPTIONS] --pdf PATH FILE|@LIST\n"
         "       tarnlist [LISTING OPTIONS] --project PROGRAM.CLW --pdf DIR|BOOK.pdf\n"
         "                [--modified-only] [--clw-only] [--include-path DIR[:DIR...]]\n"
         "                [--jobs N]\n"
         "       tarnlist --dump tokens|structure|project FILE [--include-path DIR[:DIR...]]\n"
         "       tarnlist [LISTING OPTIONS] --dump layout FILE [--unit N | --embed N]\n"
         "\n"
         "Prints formatted listings of Clarion source files.\n"
         "Without arguments the desktop window opens. FILE or @LIST (a file naming one\n"
         "path a line, up to the first empty line) prints those files to the default\n"
         "printer and ends.\n"
         "\n"
         "  --open FILE...   open the desktop window with each FILE in a file window,\n"
         "                   as File > Open does\n"
         "  --pdf PATH       write each print job as a PDF file: PATH itself when it ends\n"
         "                   in .pdf and one file is printed, else PATH/<file name>.pdf\n"
         "  --project FILE   print every source file of the project headless; with\n"
         "                   --pdf BOOK.pdf (a path ending in .pdf) as one PDF book:\n"
         "                   contents, every listing, the procedure index, with links\n"
         "                   from procedure names to their definitions\n"
         "  --modified-only  with --project: only files modified since their last printout\n"
         "  --clw-only       with --project: only .CLW files\n"
         "  --include-path DIR[:DIR...]\n"
         "                   with --project or --dump project: more folders to look in\n"
         "                   for the files a project names, after the PROGRAM file's\n"
         "                   folder, the naming file's folder and the *.red files there;\n"
         "                   the profile's [Tarnlist] IncludePath=DIR[;DIR...] follows\n"
         "  --jobs N         with --project or the desktop window: files written into\n"
         "                   PDF at once (default: the number of processors)\n"
         "  --dump KIND      write the analysis of FILE to standard output\n"
         "  --help           show this text\n"
         "  --version        show the version\n"
         "\n"
         "Listing options, for this run, whatever Setup > Listing extras keeps:\n"
         "  --line-numbers   print each source line's number in front of it\n"
         "  --page-count     number the pages \"Page 3 of 12\"\n"
         "\n"
         "Settings: $TARNLIST_CONFIG, else tarnlist.DAT beside the program (or in\n"
         "$XDG_CONFIG_HOME/tarnlist). Profile: $TARNLIST_PROFILE, else\n"
         "$XDG_CONFIG_HOME/tarnlist/win.ini.\n"
         "\n" +
         (found ? "Help page: " + helpPage : "Help page: not found (looked for " + helpPage + ")") +
         "\n";
}

}  // namespace tarn
