#pragma once
#include <string>

// The program file's absolute path.
std::string ProgramPath();
// The directory of the program file, ending with a path separator.
std::string ProgramDir();
