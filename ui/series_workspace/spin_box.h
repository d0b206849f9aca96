#pragma once
// The integer boxes of the workspace's forms: seeds, evaluations, threads.

#include <QSpinBox>

namespace nimbra {

QSpinBox* MakeSpinBox(int low, int high, int value);

}  // namespace nimbra
