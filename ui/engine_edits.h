#pragma once
// A window changes one setting at a time: it copies the engine's options or parameters,
// changes the copy and hands it back, so that the engine derives what depends on it.

#include "engine.h"

namespace nimbra {

template <class Change>
void EditOptions(Engine& engine, Change change) {
  RunOptions options = engine.View().Options;
  change(options);
  engine.SetOptions(options);
}

// New parameters restart the run.
template <class Change>
void EditParameters(Engine& engine, Change change) {
  ModelParameters parameters = engine.View().Parameters;
  change(parameters);
  engine.SetParameters(parameters);
}

}  // namespace nimbra
