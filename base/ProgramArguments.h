// The program's command-line arguments as UTF-8, so that a path named on it may hold any
// character. On Windows they come from the UTF-16 command line (GetCommandLineW), split by
// the system's rules; the narrow argv there holds only what the ANSI code page can.
#pragma once

#include <string>
#include <vector>

// Every argument, the program's name first; `argc` and `argv` are main's, used where the
// system's own arguments are already UTF-8 (everywhere but Windows).
std::vector<std::string> ProgramArguments(int argc, const char* const* argv);

// Pointers to the texts of `arguments`, for parsers that take an argv; valid while
// `arguments` lives unchanged.
std::vector<const char*> ArgvOf(const std::vector<std::string>& arguments);
