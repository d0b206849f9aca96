#include "input_file.h"

#include "errors.h"
#include "input_tokens.h"

namespace nimbra {

std::istream& RequireInputFile(EngineState& s) {
  if (s.InputFile == nullptr) throw InvalidArgument("No input file is open");
  return *s.InputFile;
}

void RewindInput(EngineState& s) {
  std::istream& in = RequireInputFile(s);
  in.clear();
  in.seekg(0);
  if (in.fail()) throw InOutError("The input file " + s.InputFileName + " cannot be rewound");
  s.InputLine = 1;
}

std::string InputLineName(const EngineState& s, std::int64_t line) {
  return InputLineName(s.InputFileName, line);
}

}  // namespace nimbra
