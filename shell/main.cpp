#include <cstdio>
#include <string>
#include <vector>

#include "platform/environment.h"
#include "platform/message_service.h"
#include "platform/posix/memory_tuning.h"
#include "platform/posix/program_path.h"
#include "platform/posix/real_file_system.h"
#include "settings/config_file.h"
#include "shell/command_line.h"
#include "shell/dump_command.h"

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
  RealFileSystem fs;
  StreamMessageService errors(stderr);
  std::string configPath = configFilePath(programPath(argv[0]), fs, processEnvironment);
  SetupData setup = loadSetup(configPath, fs, errors);

  if (command.action == CommandLine::Action::Dump)
    return runDump(command, setup, fs, errors, stdout);

  std::fputs("tarnlist: printing and the desktop window are not available yet\n", stderr);
  return 1;
}
