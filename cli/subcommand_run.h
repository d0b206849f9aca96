#pragma once
// A subcommand's options parsed and its work done, with the exit statuses of every
// subcommand: 0 on success or help, 2 with "nimbra-cli NAME: why" for a bad option or
// an error of the run.

#include <CLI/CLI.hpp>
#include <functional>
#include <ostream>
#include <string>

#include "errors.h"

namespace nimbra {

inline int ParseAndRun(CLI::App& app, const std::string& name, int argc, const char* const* argv,
                       const std::function<void()>& work, std::ostream& out, std::ostream& err) {
  try {
    app.parse(argc, argv);
    work();
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == 0) return app.exit(e, out, err);
    err << "nimbra-cli " << name << ": " << e.what() << '\n';
    return 2;
  } catch (const NimbraError& e) {
    err << "nimbra-cli " << name << ": " << e.what() << '\n';
    return 2;
  }
  return 0;
}

}  // namespace nimbra
