#pragma once
// Ctrl-C on a command-line run: the first one ends the run after the current step, with
// the output complete up to it; a second one ends the program at once.

#include <string>

namespace nimbra {

inline constexpr int kInterruptedStatus = 130;  // 128 + SIGINT, as shells report it

void CatchInterrupts();
bool Interrupted();
// The log line that says where the run stopped.
std::string InterruptionNote(int lastSequence);

}  // namespace nimbra
