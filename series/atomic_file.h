#pragma once
// An output file that appears only when it is complete: written under a hidden temporary
// name beside its final place and renamed over it by Commit. A file never committed is
// removed, so a failed or interrupted run leaves no file that looks whole. A link is written
// through to its target; a device or a pipe is written straight (see output_target.h). The
// bytes written are counted and digested for the run's sidecar.

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>

#include "output_target.h"
#include "sha256.h"

namespace nimbra {

class AtomicFile {
 public:
  // Raises InOutError naming the file when it is a directory or its folder cannot take the
  // temporary file. A new file gets the permissions of any new file of the process.
  explicit AtomicFile(std::string path);
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  std::ostream& Stream() { return stream_; }
  const std::string& Path() const { return path_; }
  const std::string& TemporaryPath() const { return temporary_; }
  // How a link or a device is written, for the log; empty for a plain file.
  const std::string& Note() const { return target_.Note; }
  bool Straight() const { return target_.Kind == OutputKind::Device; }

  // Closes the stream, after which the digest is known; raises InOutError naming the file
  // when it could not be written.
  void Close();
  // Closes the stream and renames the file; raises InOutError naming the file on failure.
  void Commit();
  // Both files committed while no other run commits into the first one's folder, so that
  // two runs writing the same pair leave both files of one of them.
  static void CommitTogether(AtomicFile& first, AtomicFile& second);

  // The digest of the bytes written; read after Close or Commit.
  std::string Sha256Hex() const { return digest_; }

 private:
  class DigestBuffer;

  std::string path_;
  OutputTarget target_;
  std::string temporary_;
  std::ofstream file_;
  std::unique_ptr<DigestBuffer> buffer_;
  std::ostream stream_;
  std::string digest_;
  bool committed_ = false;
};

}  // namespace nimbra
