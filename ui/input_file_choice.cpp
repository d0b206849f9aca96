#include "input_file_choice.h"

#include "file_prompts.h"

namespace nimbra {

// The dialog starts empty: the open prompt hands back what it was given on a cancel.
std::string ChooseInputFile(Prompts& prompts, const char* filters) {
  for (;;) {
    const std::string name = prompts.ChooseFileToOpen(std::string(), filters);
    if (name.empty() || FileIsPresent(name)) return name;
    prompts.ShowError("Input file " + name + " does not exist");
  }
}

}  // namespace nimbra
