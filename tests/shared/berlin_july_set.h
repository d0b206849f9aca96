#pragma once
// The Berlin-Tempelhof July set of the examples (berlin_tempelhof_july_params.csv), for the
// tests that need a real set without reading that file: as parameters, intensities
// exponential, and as the seven values of a parameters row.

#include "model_parameters.h"

namespace nimbra {

inline constexpr ModelParameters kBerlinJulySet{0.454678781,   0.07465552635, 0.02588573071, 3.9419622,
                                                0.02895838123, 143.2772408,   143.2772408};
inline constexpr char kBerlinJulyValues[] =
    "0.454678781,0.07465552635,0.02588573071,3.9419622,0.02895838123,143.2772408,143.2772408";

}  // namespace nimbra
