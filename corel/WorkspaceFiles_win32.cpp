#include <windows.h>

#include "base/WideText.h"
#include "corel/WorkspaceFiles.h"

const char* const PATH_SEPARATOR = "\\";

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(WideFromUtf8(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FolderExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(WideFromUtf8(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool RenameFile(const std::string& from, const std::string& to) {
  return MoveFileW(WideFromUtf8(from).c_str(), WideFromUtf8(to).c_str()) != 0;
}

bool CopyFileOver(const std::string& from, const std::string& to) {
  return CopyFileW(WideFromUtf8(from).c_str(), WideFromUtf8(to).c_str(), FALSE) != 0;
}

bool RemoveFile(const std::string& path) { return DeleteFileW(WideFromUtf8(path).c_str()) != 0; }

bool MakeFolders(const std::string& path) {
  const std::wstring wide = WideFromUtf8(path);
  // Each parent in turn; one that exists already (or a drive, or a server's name) fails
  // harmlessly.
  for (size_t end = wide.find_first_of(L"\\/", 1); end != std::wstring::npos;
       end = wide.find_first_of(L"\\/", end + 1)) {
    CreateDirectoryW(wide.substr(0, end).c_str(), nullptr);
  }
  CreateDirectoryW(wide.c_str(), nullptr);
  return FolderExists(path);
}
