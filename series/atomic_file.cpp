#include "atomic_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "errors.h"

namespace nimbra {

namespace {

// A unique hidden name beside the final file: ".<name>.XXXXXX", created empty.
std::string CreateTemporary(const std::string& path) {
  const std::filesystem::path final(path);
  std::string hidden = ".";
  hidden += final.filename().string();
  hidden += ".XXXXXX";
  const std::string pattern = (final.parent_path() / hidden).string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = ::mkstemp(name.data());
  if (fd < 0) throw InOutError(path + ": cannot create the file (" + std::strerror(errno) + ")");
  // mkstemp makes the file private; the output gets the permissions of any new file.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);
  ::close(fd);
  return name.data();
}

}  // namespace

AtomicFile::AtomicFile(std::string path) : path_(std::move(path)), temporary_(CreateTemporary(path_)) {
  stream_.open(temporary_, std::ios::binary | std::ios::trunc);
  if (!stream_) throw InOutError(path_ + ": cannot create the file");
}

AtomicFile::~AtomicFile() {
  if (!committed_) std::remove(temporary_.c_str());
}

void AtomicFile::Commit() {
  stream_.close();
  if (!stream_) throw InOutError(path_ + ": cannot write the file");
  if (std::rename(temporary_.c_str(), path_.c_str()) != 0) {
    throw InOutError(path_ + ": cannot write the file (" + std::strerror(errno) + ")");
  }
  committed_ = true;
}

}  // namespace nimbra
