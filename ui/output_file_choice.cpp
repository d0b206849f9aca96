#include "output_file_choice.h"

#include <filesystem>

#include "file_prompts.h"
#include "qt_prompts.h"

namespace nimbra {

namespace {

enum class Verdict { Take, AskAgain };

Verdict Judge(const std::string& name, const std::string& input, Prompts& prompts) {
  if (name.empty()) {
    prompts.ShowError("Improper file name - Try again");
    return Verdict::AskAgain;
  }
  if (SameFile(name, input)) {
    prompts.ShowError(InputAsOutputMessage(name, input));
    return Verdict::AskAgain;
  }
  if (!FileIsPresent(name)) return Verdict::Take;
  return prompts.Confirm("Output file " + name + " exists. Overwrite?") ? Verdict::Take : Verdict::AskAgain;
}

}  // namespace

bool SameFile(const std::string& first, const std::string& second) {
  if (first.empty() || second.empty()) return false;
  std::error_code unknown;
  return std::filesystem::equivalent(first, second, unknown);
}

std::string InputAsOutputMessage(const std::string& output, const std::string& input) {
  return "Output file " + output + " is the input file " + input +
         ": writing it would destroy the input. Choose another output file.";
}

// Each showing of the dialog carries the title and the filters: a No to the overwrite
// question brings back the same dialog, and its Cancel ends the choice.
std::optional<std::string> ChooseOutputFile(Prompts& prompts, const std::string& input) {
  std::string proposed;
  for (;;) {
    TitleNextDialog(prompts, QStringLiteral("Write hourly rainfall to file"), QStringLiteral("txt"));
    const std::optional<std::string> chosen = prompts.ChooseFileToSave(proposed, kHourlyFileFilters);
    if (!chosen) return std::nullopt;
    if (Judge(*chosen, input, prompts) == Verdict::Take) return chosen;
    proposed = *chosen;
  }
}

}  // namespace nimbra
