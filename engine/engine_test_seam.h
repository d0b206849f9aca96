#pragma once
// Tests reach the engine's stages and state through this seam; front ends never do.

#include "engine.h"
#include "engine_core.h"

namespace nimbra {

struct EngineTestSeam {
  static EngineCore& Core(Engine& engine) { return *engine.core_; }
};

}  // namespace nimbra
