// The file operations of the workspace swap and the macro install, with the platform's own
// semantics made the same everywhere. Paths are UTF-8 text.
#pragma once

#include <string>

// The platform's path separator: "\" on Windows, "/" elsewhere.
extern const char* const PATH_SEPARATOR;

// Whether `path` names an existing file (not a folder).
bool FileExists(const std::string& path);

// Whether `path` names an existing folder.
bool FolderExists(const std::string& path);

// Renames `from` to `to`; fails, changing nothing, when `to` exists or `from` does not.
bool RenameFile(const std::string& from, const std::string& to);

// Copies `from` over `to`, replacing an existing file.
bool CopyFileOver(const std::string& from, const std::string& to);

// Whether both files can be read and hold the same bytes.
bool SameContent(const std::string& a, const std::string& b);

// Deletes the file.
bool RemoveFile(const std::string& path);

// Makes the folder and whichever of its parents are missing; true when the folder exists
// afterwards (made now or already there), false when it cannot be made.
bool MakeFolders(const std::string& path);
