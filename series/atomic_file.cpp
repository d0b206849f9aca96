#include "atomic_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "errors.h"

namespace nimbra {

namespace {

constexpr std::size_t kBufferBytes = 1 << 16;
constexpr int kNameTries = 100;

std::string Suffix(unsigned number) {
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::string suffix;
  for (int i = 0; i < 6; ++i, number /= 36) suffix += kLetters[number % 36];
  return suffix;
}

// A unique hidden name beside the final file, ".<name>.XXXXXX", created empty. Opened with
// the mode of any new file, so the process's umask applies without being read or changed.
std::string CreateTemporary(const std::string& path) {
  static std::atomic<unsigned> counter{static_cast<unsigned>(::getpid()) * 7919u};
  const std::filesystem::path final(path);
  for (int attempt = 0; attempt < kNameTries; ++attempt) {
    std::string hidden = ".";
    hidden += final.filename().string();
    hidden += '.';
    hidden += Suffix(counter.fetch_add(104729u));
    const std::string name = (final.parent_path() / hidden).string();
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      ::close(fd);
      return name;
    }
    if (errno != EEXIST) break;
  }
  throw InOutError(path + ": cannot create the file (" + std::strerror(errno) + ")");
}

// An exclusive lock on the folder of a file, held while the object lives. Where the folder
// cannot be opened, no lock is taken: the commit then goes on as it would alone.
class FolderLock {
 public:
  explicit FolderLock(const std::string& file) {
    const std::string folder = std::filesystem::path(file).parent_path().string();
    fd_ = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ >= 0) ::flock(fd_, LOCK_EX);
  }
  ~FolderLock() {
    if (fd_ >= 0) ::close(fd_);
  }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  int fd_ = -1;
};

}  // namespace

// Hands the bytes on to the file in large blocks and digests them on the way.
class AtomicFile::DigestBuffer : public std::streambuf {
 public:
  explicit DigestBuffer(std::streambuf* file) : file_(file), buffer_(kBufferBytes) {
    setp(buffer_.data(), buffer_.data() + buffer_.size());
  }

  std::string Hex() { return digest_.Hex(); }

 protected:
  int_type overflow(int_type c) override {
    if (sync() != 0) return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
      *pptr() = traits_type::to_char_type(c);
      pbump(1);
    }
    return traits_type::not_eof(c);
  }

  int sync() override {
    const std::string_view bytes(pbase(), static_cast<std::size_t>(pptr() - pbase()));
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    digest_.Add(bytes);
    const auto size = static_cast<std::streamsize>(bytes.size());
    return file_->sputn(bytes.data(), size) == size ? 0 : -1;
  }

 private:
  std::streambuf* file_;
  std::vector<char> buffer_;
  Sha256 digest_;
};

AtomicFile::AtomicFile(std::string path)
    : path_(std::move(path)),
      target_(ResolveOutput(path_)),
      temporary_(Straight() ? "" : CreateTemporary(target_.Path)),
      file_(Straight() ? target_.Path : temporary_, std::ios::binary | std::ios::trunc),
      buffer_(std::make_unique<DigestBuffer>(file_.rdbuf())),
      stream_(buffer_.get()) {
  if (!file_) {
    if (!temporary_.empty()) std::remove(temporary_.c_str());
    throw InOutError(path_ + ": cannot create the file");
  }
}

AtomicFile::~AtomicFile() {
  if (!committed_ && !temporary_.empty()) std::remove(temporary_.c_str());
}

void AtomicFile::Close() {
  if (!digest_.empty()) return;
  stream_.flush();
  file_.close();
  if (!stream_ || !file_) throw InOutError(path_ + ": cannot write the file");
  digest_ = buffer_->Hex();
}

void AtomicFile::Commit() {
  Close();
  if (!Straight() && std::rename(temporary_.c_str(), target_.Path.c_str()) != 0) {
    throw InOutError(path_ + ": cannot write the file (" + std::strerror(errno) + ")");
  }
  committed_ = true;
}

void AtomicFile::CommitTogether(AtomicFile& first, AtomicFile& second) {
  first.Close();
  second.Close();
  const FolderLock lock(first.target_.Path);
  first.Commit();
  second.Commit();
}

}  // namespace nimbra
