// Opening a C stream on a path that may hold any character: the path is UTF-8 text, as
// every path inside the programs is. On Windows the narrow fopen would read it in the
// system's ANSI code page, so the wide call takes it there.
#pragma once

#include <cstdio>

// fopen(`path`, `mode`) for a UTF-8 path; null, with the system's error set, on failure.
std::FILE* OpenStdioFile(const char* path, const char* mode);
