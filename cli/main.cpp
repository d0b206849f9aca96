#include <unistd.h>

#include <iostream>

#include "cli_run.h"
#include "interrupt.h"

int main(int argc, char** argv) {
  int exitCode = 0;
  const auto options = nimbra::ParseOptions(argc, argv, exitCode);
  if (!options) return exitCode;
  nimbra::CatchInterrupts();
  return nimbra::RunCli(*options, std::cout, std::cerr, isatty(STDERR_FILENO) != 0);
}
