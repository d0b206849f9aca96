#pragma once
// Runs nimbra-cli with a subcommand and collects what it prints.

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

struct SubcommandOutput {
  int status;
  std::string text;  // standard output followed by standard error
};

inline SubcommandOutput RunSubcommand(const std::string& subcommand, const std::string& arguments) {
  const std::string command = std::string(NIMBRA_CLI_PATH) + " " + subcommand + " " + arguments + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  std::string text;
  std::array<char, 4096> buffer;
  for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
    text.append(buffer.data(), n);
  const int status = pclose(pipe);
  return {WEXITSTATUS(status), text};
}
