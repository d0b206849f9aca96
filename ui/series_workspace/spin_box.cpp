#include "spin_box.h"

namespace nimbra {

QSpinBox* MakeSpinBox(int low, int high, int value) {
  auto* box = new QSpinBox;
  box->setRange(low, high);
  box->setValue(value);
  return box;
}

}  // namespace nimbra
