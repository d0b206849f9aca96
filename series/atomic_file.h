#pragma once
// An output file that appears only when it is complete: written under a hidden temporary
// name in the same folder and renamed over the final name by Commit. A file never
// committed is removed, so a failed or interrupted run leaves no file that looks whole.

#include <fstream>
#include <string>

namespace nimbra {

class AtomicFile {
 public:
  // Raises InOutError naming the file when its folder cannot take the temporary file.
  explicit AtomicFile(std::string path);
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  std::ostream& Stream() { return stream_; }
  const std::string& TemporaryPath() const { return temporary_; }
  // Closes the stream and renames the file; raises InOutError naming the file on failure.
  void Commit();

 private:
  std::string path_;
  std::string temporary_;
  std::ofstream stream_;
  bool committed_ = false;
};

}  // namespace nimbra
