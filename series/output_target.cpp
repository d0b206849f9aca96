#include "output_target.h"

#include <sys/stat.h>

#include <filesystem>

#include "errors.h"

namespace nimbra {

namespace {

namespace fs = std::filesystem;

constexpr int kMostLinks = 40;  // as the kernel follows them

// The end of the chain of links that starts at path; it need not exist.
fs::path FollowLinks(const std::string& path) {
  fs::path at(path);
  std::error_code error;
  for (int hops = 0; fs::is_symlink(at, error); ++hops) {
    if (hops == kMostLinks) throw InOutError("the output file " + path + " is a loop of links");
    const fs::path target = fs::read_symlink(at, error);
    at = target.is_absolute() ? target : at.parent_path() / target;
  }
  return at.lexically_normal();
}

const char* DeviceWord(mode_t mode) {
  if (S_ISFIFO(mode)) return "a pipe";
  if (S_ISSOCK(mode)) return "a socket";
  return "a device";
}

}  // namespace

OutputTarget ResolveOutput(const std::string& path) {
  struct stat status {};
  const bool exists = ::stat(path.c_str(), &status) == 0;
  if (exists && S_ISDIR(status.st_mode)) throw InOutError("the output file " + path + " is a directory");
  if (exists && !S_ISREG(status.st_mode)) {
    return {OutputKind::Device, path,
            path + " is " + DeviceWord(status.st_mode) + ": written straight, without a temporary file"};
  }
  std::error_code error;
  if (!fs::is_symlink(path, error)) return {OutputKind::File, path, ""};
  const std::string target = FollowLinks(path).string();
  return {OutputKind::File, target, path + " is a link: its target " + target + " is written"};
}

}  // namespace nimbra
