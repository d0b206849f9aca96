#pragma once
// Where the bytes of an output path go. A regular file or a new name is written beside its
// final place and renamed over it; a link is followed, so that its target is written and the
// link stays; a device or a pipe is written straight, since renaming onto it would replace the
// system's node with a regular file. A directory is refused.

#include <string>

namespace nimbra {

enum class OutputKind {
  File,    // a regular file, or a name that does not exist yet
  Device,  // a character or block device, a pipe or a socket: written straight
};

struct OutputTarget {
  OutputKind Kind = OutputKind::File;
  std::string Path;  // the file written: the path itself, or the end of its chain of links
  std::string Note;  // for the log: how a link or a device is written; empty for a plain file
};

// Raises InOutError naming the path when it is a directory or a loop of links.
OutputTarget ResolveOutput(const std::string& path);

}  // namespace nimbra
