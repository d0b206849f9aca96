#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <sstream>
#include <stdexcept>

#include "atomic_file.h"
#include "cli_process.h"
#include "errors.h"
#include "subcommand_run.h"

namespace nimbra_test {
namespace {

using CommandBoundary = CliTest;

// Whatever a command throws ends it with a message and the status it asks for, and the
// output it had begun is removed.
TEST_F(CommandBoundary, EveryKindOfErrorEndsTheCommandWithAMessageAndNoFileLeft) {
  const std::vector<std::pair<std::function<void()>, std::string>> cases = {
      {[] { throw nimbra::InputError("daily.csv, line 3: bad"); },
       "nimbra-cli fit: daily.csv, line 3: bad\n"},
      {[] { throw std::bad_alloc(); }, "nimbra-cli fit: not enough memory for this run\n"},
      {[] { throw std::length_error("vector"); }, "nimbra-cli fit: unexpected error: vector\n"},
      {[] { throw 7; }, "nimbra-cli fit: unexpected error of an unknown kind\n"},
  };
  for (const auto& [fail, message] : cases) {
    for (const int status : {1, 2}) {
      std::ostringstream err;
      EXPECT_EQ(nimbra::AtCommandBoundary("fit", err, status,
                                          [&] {
                                            nimbra::AtomicFile output((dir / "out.csv").string());
                                            output.Stream() << "half";
                                            fail();
                                            return 0;
                                          }),
                status);
      EXPECT_EQ(err.str(), message);
      EXPECT_TRUE(fs::is_empty(dir)) << message;
    }
  }
  std::ostringstream err;
  EXPECT_EQ(nimbra::AtCommandBoundary("", err, 2, [] { return 130; }), 130);
  EXPECT_EQ(err.str(), "");
}

// A two-row daily file spanning 9,999 years, under a memory limit: a message and status 1
// or 2, never an abort, and no hidden temporary file left.
TEST_F(CommandBoundary, ARunOutOfMemoryEndsWithAMessage) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "the sanitizers' shadow memory does not fit under a memory limit";
#endif
  std::ofstream(dir / "daily.csv") << "station,date,precip_mm\nA,0001-01-01,1\nA,9999-12-31,1\n";
  std::ofstream(dir / "params.csv") << "season,lambda,kappa,phi,alpha,nu,mu_x,sigma_x\n"
                                       "all,0.4547,0.07466,0.02589,3.942,0.02896,143.28,143.28\n";
  const std::string d = dir.string() + "/";
  const CliResult r =
      Run("disaggregate -q -i " + d + "daily.csv -p " + d + "params.csv -o " + d + "hourly.csv",
          "ulimit -v 300000; ");
  EXPECT_TRUE(r.status == 1 || r.status == 2) << r.status << r.err;
  EXPECT_EQ(r.err.substr(0, 25), "nimbra-cli disaggregate: ") << r.err;
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 4)
      << "daily.csv, params.csv, stdout and stderr only";
}

}  // namespace
}  // namespace nimbra_test
