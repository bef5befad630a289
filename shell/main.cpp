#include <clocale>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "desktop/help_location.h"
#include "platform/environment.h"
#include "platform/ini_profile.h"
#include "platform/message_service.h"
#include "platform/ordered_jobs.h"
#include "platform/posix/date_order.h"
#include "platform/posix/memory_tuning.h"
#include "platform/posix/posix_file_attributes.h"
#include "platform/posix/program_path.h"
#include "platform/posix/real_file_system.h"
#include "platform/posix/user_environment.h"
#include "printout/dates.h"
#include "printout/direct_print.h"
#include "settings/config_file.h"
#include "shell/command_line.h"
#include "shell/dump_command.h"
#include "shell/print_command.h"
#include "ui/desktop_app.h"
#include "platform/qt/qt_environment.h"

int main(int argc, char** argv) {
  using namespace tarn;
  std::vector<std::string> args(argv + 1, argv + argc);
  CommandLine command = parseCommandLine(args);
  // With a display, the desktop window runs, and prints a FILE or @LIST as
  // its start-up task; PDF output, dumps and projects stay headless.
  const auto platform = processEnvironment("QT_QPA_PLATFORM");
  const bool display = !headlessPlatformNeeded(processEnvironment) &&
                       !(platform && (platform->rfind("offscreen", 0) == 0 ||
                                      platform->rfind("minimal", 0) == 0));
  const bool desktop = command.action == CommandLine::Action::Window ||
                       (command.action == CommandLine::Action::Print && display &&
                        command.pdfPath.empty() && command.project.empty());
  switch (command.action) {
    case CommandLine::Action::Help: {
      RealFileSystem fs;
      const std::string page = helpPagePath(programPath(argv[0]), fs);
      std::fputs(usageText(page, fs.stat(page).isRegular).c_str(), stdout);
      return 0;
    }
    case CommandLine::Action::Version:
      std::puts("tarnlist " TARNLIST_VERSION);
      return 0;
    case CommandLine::Action::Error:
      std::fprintf(stderr, "tarnlist: %s\nTry 'tarnlist --help'.\n", command.error.c_str());
      return 2;
    default:
      break;
  }

  tuneMemoryForLargeFiles();
  std::setlocale(LC_TIME, "");
  RealFileSystem fs;
  if (desktop) {
    if (!display) {
      std::fputs("tarnlist: no display for the desktop window (DISPLAY is not set); see --help\n",
                 stderr);
      return 1;
    }
    DesktopStart start;
    start.configPath = configFilePath(programPath(argv[0]), fs, userEnvironment);
    if (command.action == CommandLine::Action::Print) start.argument = command.argument;
    start.lineNumbers = command.lineNumbers;
    start.pageCount = command.pageCount;
    start.jobs = command.jobs.value_or(defaultJobs());
    std::error_code cwdError;
    const std::filesystem::path here = std::filesystem::current_path(cwdError);
    start.openFiles = wholePaths(command.openFiles, cwdError ? std::string() : here.string());
    return runDesktop(argc, argv, start);
  }
  StreamMessageService errors(stderr);
  IniProfile profile(profilePath(userEnvironment));
  const ListingExtras extras = withCommandLine(readListingExtras(profile), command);
  DateFormatter dates(profile, localeDateOrder, errors);
  std::string configPath = configFilePath(programPath(argv[0]), fs, userEnvironment);
  SetupData setup = loadSetup(configPath, fs, errors);
  const SetupData loaded = setup;
  const ProjectSearch search =
      projectSearch(command.includePath, profile.getString("Tarnlist", "IncludePath", ""));

  if (command.action == CommandLine::Action::Dump) {
    NoFileAttributes untouched;
    PosixFileAttributes attributes(userEnvironment);
    PrintServices services{setup, fs, untouched, errors, dates, printingClock(processEnvironment), {}, {},
                           extras};
    return runDump(command, services, attributes, search, stdout);
  }
  if (command.action == CommandLine::Action::Print) {
    PosixFileAttributes attributes(userEnvironment);
    PrintServices services{setup, fs, attributes, errors, dates, printingClock(processEnvironment), {}, {},
                           extras};
    int status = runPrintCommand(argc, argv, command, services, search);
    // A desktop window may have saved meanwhile; its settings stay.
    saveSetupChanges(configPath, loaded, setup, fs, errors);
    return status;
  }

  return 1;
}
