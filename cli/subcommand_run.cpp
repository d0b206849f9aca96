#include "subcommand_run.h"

#include <new>

#include "errors.h"

namespace nimbra {

namespace {

std::string WhyOf(std::exception_ptr failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const NimbraError& e) {
    return e.what();
  } catch (const CLI::Error& e) {  // an option's value found wrong by the work itself
    return e.what();
  } catch (const std::bad_alloc&) {
    return "not enough memory for this run";
  } catch (const std::exception& e) {
    return std::string("unexpected error: ") + e.what();
  } catch (...) {
    return "unexpected error of an unknown kind";
  }
}

}  // namespace

int AtCommandBoundary(const std::string& name, std::ostream& err, int failureStatus,
                      const std::function<int()>& work) {
  std::exception_ptr failure;
  try {
    return work();
  } catch (...) {
    failure = std::current_exception();
  }
  err << "nimbra-cli" << (name.empty() ? "" : " ") << name << ": " << WhyOf(failure) << '\n';
  return failureStatus;
}

int ParseAndRun(CLI::App& app, const std::string& name, int argc, const char* const* argv,
                const std::function<int()>& work, std::ostream& out, std::ostream& err) {
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == 0) return app.exit(e, out, err);
    err << "nimbra-cli " << name << ": " << e.what() << '\n';
    return 2;
  }
  return AtCommandBoundary(name, err, 2, work);
}

}  // namespace nimbra
