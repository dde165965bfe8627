// The file operations of the workspace swap, with the platform's own semantics made the
// same everywhere. Paths are single-byte (ANSI) text.
#pragma once

#include <string>

// The platform's path separator: "\" on Windows, "/" elsewhere.
extern const char* const PATH_SEPARATOR;

// Renames `from` to `to`; fails, changing nothing, when `to` exists or `from` does not.
bool RenameFile(const std::string& from, const std::string& to);

// Copies `from` over `to`, replacing an existing file.
bool CopyFileOver(const std::string& from, const std::string& to);

// Deletes the file.
bool RemoveFile(const std::string& path);
