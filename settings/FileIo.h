// Whole-file reading for small text files that must be kept byte for byte.
// Failures raise CFileException with the operating system's error code.
#pragma once

#include <string>

// The whole content of the file at `path`. A missing file is created empty (and "" is
// returned); an existing file is only read, never truncated, so a read-only file loads.
// (Saving replaces the whole file: ReplaceFileContent.)
std::string LoadFileCreating(const std::string& path);
// Reads the whole file at `path` into `bytes` and returns true; false, with `bytes` left
// alone and nothing created, when there is no such file.
bool LoadFileIfPresent(const std::string& path, std::string& bytes);
