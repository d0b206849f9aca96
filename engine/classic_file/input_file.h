#pragma once
// What the readers of the daily input file's header and of its records share: the open
// file, and how a message names a place in it.

#include <cstdint>
#include <istream>
#include <string>

#include "engine_state.h"

namespace nimbra {

std::istream& RequireInputFile(EngineState& s);
// Back to the first byte and the first line.
void RewindInput(EngineState& s);
// "line 3 of the input file rain.txt", or without the name when it is not known.
std::string InputLineName(const EngineState& s, std::int64_t line);

}  // namespace nimbra
