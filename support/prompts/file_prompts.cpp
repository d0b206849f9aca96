#include "file_prompts.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "errors.h"

namespace nimbra {

namespace {

// The dialogs are shown without a filter: any file may hold the data.
constexpr const char* kNoFilter = "";

// Repeats the open dialog until it yields an existing file, or until an attempt
// after the first leaves the name as it was: the user keeping a missing name (or
// cancelling) twice is taken as giving up.
bool ChooseExistingFile(std::string& name, Prompts& prompts) {
  int attempts = 0;
  std::string previous;
  bool present = false;
  do {
    previous = name;
    ++attempts;
    name = prompts.ChooseFileToOpen(name, kNoFilter);
    present = FileIsPresent(name);
    if (!present) prompts.Inform("Input file " + name + " does not exist");
  } while (!present && !(attempts >= 2 && name == previous));
  return present;
}

void OpenForReading(std::ifstream& file, const std::string& name) {
  if (file.is_open()) file.close();
  file.open(name, std::ios::in | std::ios::binary);
  if (!file.is_open()) throw InOutError("Input file " + name + " cannot be opened for reading");
}

// The name the save dialog holds after being shown: the one chosen, or after a
// cancel the one it held before. Nothing when the user cancels with no name held.
std::optional<std::string> ShowSaveDialog(const std::string& held, Prompts& prompts) {
  std::optional<std::string> chosen = prompts.ChooseFileToSave(held, kNoFilter);
  if (chosen) return chosen;
  if (held.empty()) return std::nullopt;
  return held;
}

// Whether the user settles on name: a new file, or an existing one to overwrite.
bool AcceptOutputName(const std::string& name, Prompts& prompts) {
  if (FileIsPresent(name)) return prompts.Confirm("Output file " + name + " exists. Overwrite?");
  if (!name.empty()) return true;
  prompts.Inform("Improper file name - Try again");
  return false;
}

// A cancel with no name chosen yet lets the user give up, where a command that
// insisted on a file would trap them in the dialog. An empty name that the
// dialog does return is still refused with a message and asked for again.
std::optional<std::string> ChooseOutputFile(Prompts& prompts) {
  std::string held;
  for (;;) {
    std::optional<std::string> shown = ShowSaveDialog(held, prompts);
    if (!shown) return std::nullopt;
    held = *shown;
    if (AcceptOutputName(held, prompts)) return held;
  }
}

void CreateForWriting(std::ofstream& file, const std::string& name) {
  if (file.is_open()) file.close();
  file.open(name, std::ios::out | std::ios::trunc | std::ios::binary);
  if (!file.is_open()) throw InOutError("Output file " + name + " cannot be created");
}

}  // namespace

bool FileIsPresent(const std::string& name) {
  if (name.empty()) return false;
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(name, error);
  return std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

bool OpenInputTextFile(std::ifstream& file, std::string& name, Prompts& prompts) {
  if (!ChooseExistingFile(name, prompts)) {
    prompts.Inform("Input file was not open");
    return false;
  }
  OpenForReading(file, name);
  return true;
}

bool OpenOutputTextFile(std::ofstream& file, std::string& name, Prompts& prompts) {
  std::optional<std::string> chosen = ChooseOutputFile(prompts);
  if (!chosen) return false;
  name = *chosen;
  CreateForWriting(file, name);
  return true;
}

std::string StripDirectory(const std::string& name) {
  const std::size_t last = name.find_last_of("/\\");
  return last == std::string::npos ? name : name.substr(last + 1);
}

}  // namespace nimbra
