#include "shell/print_command.h"

int tarn::runPrintCommand(int, char**, const CommandLine&, PrintServices& services) {
  services.messages.show("printing is not available yet", "Error");
  return 1;
}
