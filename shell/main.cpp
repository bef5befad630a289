#include <clocale>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "platform/environment.h"
#include "platform/ini_profile.h"
#include "platform/message_service.h"
#include "platform/posix/date_order.h"
#include "platform/posix/memory_tuning.h"
#include "platform/posix/posix_file_attributes.h"
#include "platform/posix/program_path.h"
#include "platform/posix/real_file_system.h"
#include "printout/dates.h"
#include "printout/direct_print.h"
#include "settings/config_file.h"
#include "shell/command_line.h"
#include "shell/dump_command.h"
#include "shell/print_command.h"

namespace {

/// The printing time: $SOURCE_DATE_EPOCH when set (reproducible output), else now.
tarn::Clock printingClock() {
  if (auto fixed = tarn::processEnvironment("SOURCE_DATE_EPOCH")) {
    char* end = nullptr;
    long long seconds = std::strtoll(fixed->c_str(), &end, 10);
    if (end && *end == '\0') return [seconds] { return static_cast<std::time_t>(seconds); };
  }
  return [] { return std::time(nullptr); };
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tarn;
  std::vector<std::string> args(argv + 1, argv + argc);
  CommandLine command = parseCommandLine(args);
  switch (command.action) {
    case CommandLine::Action::Help:
      std::fputs(usageText().c_str(), stdout);
      return 0;
    case CommandLine::Action::Version:
      std::puts("tarnlist 0.1.0");
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
  StreamMessageService errors(stderr);
  IniProfile profile(profilePath(processEnvironment));
  DateFormatter dates(profile, localeDateOrder, errors);
  std::string configPath = configFilePath(programPath(argv[0]), fs, processEnvironment);
  SetupData setup = loadSetup(configPath, fs, errors);

  if (command.action == CommandLine::Action::Dump) {
    NoFileAttributes untouched;
    PosixFileAttributes attributes(processEnvironment);
    PrintServices services{setup, fs, untouched, errors, dates, printingClock(), {}, {}};
    return runDump(command, services, attributes, stdout);
  }
  if (command.action == CommandLine::Action::Print) {
    PosixFileAttributes attributes(processEnvironment);
    PrintServices services{setup, fs, attributes, errors, dates, printingClock(), {}, {}};
    int status = runPrintCommand(argc, argv, command, services);
    saveSetup(configPath, setup, fs, errors);
    return status;
  }

  std::fputs("tarnlist: the desktop window is not available yet; see --help\n", stderr);
  return 1;
}
