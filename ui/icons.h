#pragma once
// The toolbar's pictures, our own drawings in resources/icons.

#include <QIcon>

namespace nimbra {

inline constexpr int kToolbarIconCount = 13;

// Icons 0 to 12 in toolbar order: initialise, next sequence, next N sequences, constant
// length, input file, output file, clear output, print statistics, graphs, model
// parameters, repetition options, about, help. A null icon for any other index.
QIcon ToolbarIcon(int index);

}  // namespace nimbra
