#include <windows.h>

#include "WorkspaceFiles.h"

const char* const PATH_SEPARATOR = "\\";

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FolderExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool RenameFile(const std::string& from, const std::string& to) { return MoveFileA(from.c_str(), to.c_str()) != 0; }

bool CopyFileOver(const std::string& from, const std::string& to) {
  return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

bool RemoveFile(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

bool MakeFolders(const std::string& path) {
  // Each parent in turn; one that exists already (or a drive, or a server's name) fails
  // harmlessly.
  for (size_t end = path.find_first_of("\\/", 1); end != std::string::npos; end = path.find_first_of("\\/", end + 1)) {
    CreateDirectoryA(path.substr(0, end).c_str(), nullptr);
  }
  CreateDirectoryA(path.c_str(), nullptr);
  return FolderExists(path);
}
