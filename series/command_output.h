#pragma once
// An output file of a command written whole (see atomic_file.h), with the log told how a
// link or a device is written.

#include <functional>
#include <ostream>
#include <string>

#include "atomic_file.h"

namespace nimbra {

// Tells log how the file is written when it is a link or a device; a plain file says nothing.
void SayHowWritten(const AtomicFile& file, std::ostream& log);

// Writes the file through write and commits it.
void WriteOutput(const std::string& path, std::ostream& log, const std::function<void(std::ostream&)>& write);

}  // namespace nimbra
