#include <unistd.h>

#include <iostream>

#include "cli_run.h"
#include "series_commands.h"

int main(int argc, char** argv) {
  if (nimbra::IsSeriesCommand(argc, argv)) return nimbra::RunSeriesCommand(argc, argv, std::cout, std::cerr);
  int exitCode = 0;
  const auto options = nimbra::ParseOptions(argc, argv, exitCode);
  if (!options) return exitCode;
  return nimbra::RunCli(*options, std::cout, std::cerr, isatty(STDERR_FILENO) != 0);
}
