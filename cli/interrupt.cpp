#include "interrupt.h"

#include <csignal>

namespace nimbra {

namespace {

volatile std::sig_atomic_t interrupted = 0;

extern "C" void NoteInterrupt(int) { interrupted = 1; }

}  // namespace

void CatchInterrupts() {
  struct sigaction action {};
  action.sa_handler = NoteInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESETHAND;  // the second Ctrl-C takes the default way out
  sigaction(SIGINT, &action, nullptr);
}

bool Interrupted() { return interrupted != 0; }

std::string InterruptionNote(int lastSequence) {
  return "Interrupted after sequence #" + std::to_string(lastSequence) +
         ": the output holds every sequence up to it and none after.";
}

}  // namespace nimbra
