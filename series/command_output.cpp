#include "command_output.h"

namespace nimbra {

void SayHowWritten(const AtomicFile& file, std::ostream& log) {
  if (!file.Note().empty()) log << file.Note() << '\n';
}

void WriteOutput(const std::string& path, std::ostream& log,
                 const std::function<void(std::ostream&)>& write) {
  AtomicFile file(path);
  SayHowWritten(file, log);
  write(file.Stream());
  file.Commit();
}

}  // namespace nimbra
