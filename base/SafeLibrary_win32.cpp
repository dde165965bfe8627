#include <windows.h>

#include <string>
#include <vector>

#include "ModuleDir.h"
#include "SafeLibrary.h"

namespace {

// A folder of the system's (GetSystemDirectoryA, GetWindowsDirectoryA), "" when it does
// not fit.
std::string SystemFolder(UINT(WINAPI* query)(LPSTR, UINT)) {
  char buffer[MAX_PATH];
  const UINT length = query(buffer, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::string(buffer, length) : std::string();
}

// The absolute folders on PATH, in order: "C:\..." or "\\server\...".
std::vector<std::string> PathFolders() {
  std::vector<std::string> folders;
  const DWORD size = GetEnvironmentVariableA("PATH", nullptr, 0);
  if (size == 0) return folders;
  std::string path(size, '\0');
  path.resize(GetEnvironmentVariableA("PATH", &path[0], size));
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find(';', start);
    if (end == std::string::npos) end = path.size();
    const std::string folder = path.substr(start, end - start);
    const bool absolute = (folder.size() >= 3 && folder[1] == ':' && folder[2] == '\\') || folder.rfind("\\\\", 0) == 0;
    if (absolute) folders.push_back(folder);
    start = end + 1;
  }
  return folders;
}

}  // namespace

void* LoadLibraryFromSafeFolders(const char* name) {
  std::vector<std::string> folders = {GetModuleDir(), SystemFolder(GetSystemDirectoryA),
                                      SystemFolder(GetWindowsDirectoryA)};
  for (const std::string& folder : PathFolders()) folders.push_back(folder);
  for (std::string candidate : folders) {
    if (candidate.empty()) continue;
    if (candidate.back() != '\\') candidate += '\\';
    candidate += name;
    const DWORD attributes = GetFileAttributesA(candidate.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    // Its own dependencies are looked for beside it first.
    if (HMODULE library = LoadLibraryExA(candidate.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)) return library;
  }
  return nullptr;
}
