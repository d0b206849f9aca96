#pragma once
// Choosing, checking and opening the text files a command reads or writes, with
// the user answering through the prompt interface.

#include <fstream>
#include <string>

#include "prompts.h"

namespace nimbra {

// False for an empty name; otherwise whether something other than a directory
// exists under that name (a file another program holds open counts).
bool FileIsPresent(const std::string& name);

// Asks for an existing file, starting from name, and opens it for reading
// (binary: the reader deals with CR LF itself). On true, name holds the chosen
// file and file is open at its start. On false the user has been told, name
// holds the last name tried and file is left as it was. Throws InOutError when
// the chosen file exists but cannot be opened.
bool OpenInputTextFile(std::ifstream& file, std::string& name, Prompts& prompts);

// Asks for a file to write, confirming an overwrite, and creates it (emptied,
// binary). On true, name holds the chosen file and file is open for writing.
// False when the user cancels before choosing any name; nothing is then created
// and name is unchanged. Throws InOutError when the file cannot be created.
bool OpenOutputTextFile(std::ofstream& file, std::string& name, Prompts& prompts);

// The last component of a path: what follows the last '/' or '\' (names written
// on Windows use the backslash and must shorten too).
std::string StripDirectory(const std::string& name);

}  // namespace nimbra
