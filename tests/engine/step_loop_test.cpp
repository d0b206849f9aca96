// Where a run of steps ends: at its count, at the end of the input, and at dates going
// backwards only for the desktop program.

#include "step_loop.h"

#include <sstream>

#include "engine_fixture.h"

namespace nimbra {
namespace {

struct LoopCase {
  const char* input;  // empty: test mode
  std::optional<int> count;
  AtFailure atFailure;
  int steps;
};

TEST(StepLoop, EndsAtTheCountTheInputsEndOrAFailureWhenAsked) {
  const char* backwards = "D 0\r\n5 1 3 4.0\r\n2 1 3 5.0\r\n";
  const std::vector<LoopCase> cases = {
      {backwards, std::nullopt, AtFailure::Stop, 2},
      {backwards, std::nullopt, AtFailure::GoOn, 3},
      {backwards, 1, AtFailure::GoOn, 1},
      {backwards, 5, AtFailure::GoOn, 3},
      {"", 4, AtFailure::Stop, 4},
      {"", 0, AtFailure::Stop, 0},
  };
  for (const LoopCase& c : cases) {
    MemoryLog log;
    RecordingUserInterface ui;
    Engine engine(log, ui);
    std::istringstream input(c.input);
    if (*c.input != '\0') engine.OpenInput(input, "backwards.txt");
    StepLoop loop(c.count, c.atFailure);
    while (loop.WantsStep(engine)) loop.Took(engine.Step());
    EXPECT_EQ(loop.Steps(), c.steps) << "count " << c.count.value_or(-1) << ", input '" << c.input << "'";
  }
}

}  // namespace
}  // namespace nimbra
