#include "input_output_check.h"

#include <sys/stat.h>

#include <filesystem>
#include <optional>

#include "errors.h"
#include "output_target.h"

namespace nimbra {

namespace {

namespace fs = std::filesystem;

// What a path is: its device and inode when it exists, else the name its links lead to.
struct FileIdentity {
  dev_t Device = 0;
  ino_t Inode = 0;
  std::string Name;
  bool operator==(const FileIdentity&) const = default;
};

std::string Named(const NamedFile& file) {
  return file.Role.empty() ? file.Path : file.Path + " (" + file.Role + ")";
}

// Nothing for a character device, which no write destroys.
std::optional<FileIdentity> IdentityOf(const std::string& path, const std::string& target) {
  struct stat status {};
  if (::stat(path.c_str(), &status) == 0) {
    if (S_ISCHR(status.st_mode)) return std::nullopt;
    return FileIdentity{status.st_dev, status.st_ino, ""};
  }
  std::error_code error;
  return FileIdentity{0, 0, fs::weakly_canonical(fs::absolute(target), error).string()};
}

void RefuseInputDirectory(const NamedFile& input) {
  std::error_code error;
  if (fs::is_directory(input.Path, error))
    throw InOutError("the input file " + input.Path + " is a directory");
}

}  // namespace

void CheckFiles(const std::vector<NamedFile>& inputs, const std::vector<NamedFile>& outputs) {
  std::vector<std::pair<const NamedFile*, std::optional<FileIdentity>>> seen;
  for (const NamedFile& input : inputs) {
    if (input.Path.empty()) continue;
    RefuseInputDirectory(input);
    seen.emplace_back(&input, IdentityOf(input.Path, input.Path));
  }
  const std::size_t inputCount = seen.size();
  for (const NamedFile& output : outputs) {
    if (output.Path.empty()) continue;
    const std::optional<FileIdentity> identity = IdentityOf(output.Path, ResolveOutput(output.Path).Path);
    for (std::size_t i = 0; identity && i < seen.size(); ++i) {
      if (seen[i].second != identity) continue;
      if (i < inputCount) {
        throw InOutError("the output file " + Named(output) + " is the input file " + Named(*seen[i].first) +
                         ": writing it would destroy the input before it is read");
      }
      throw InOutError("the output files " + Named(*seen[i].first) + " and " + Named(output) +
                       " are one file: one would overwrite the other");
    }
    seen.emplace_back(&output, identity);
  }
}

void CheckInputAndOutput(const std::string& input, const std::string& output) {
  CheckFiles({{input, ""}}, {{output, ""}});
}

}  // namespace nimbra
