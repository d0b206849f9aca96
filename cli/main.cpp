#include <unistd.h>

#include <iostream>

#include "cli_run.h"
#include "interrupt.h"
#include "subcommand_run.h"
#include "subcommands.h"

int main(int argc, char** argv) {
  return nimbra::AtCommandBoundary("", std::cerr, 1, [&] {
    if (const auto status = nimbra::RunSubcommand(argc, argv, std::cout, std::cerr)) return *status;
    int exitCode = 0;
    const auto options = nimbra::ParseOptions(argc, argv, exitCode);
    if (!options) return exitCode;
    nimbra::CatchInterrupts();
    return nimbra::RunCli(*options, std::cout, std::cerr, isatty(STDERR_FILENO) != 0);
  });
}
