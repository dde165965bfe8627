#include <windows.h>

#include <string>
#include <vector>

#include "base/ModuleDir.h"
#include "base/SafeLibrary.h"
#include "base/WideText.h"

namespace {

// A folder of the system's (GetSystemDirectoryW, GetWindowsDirectoryW), "" when it does
// not fit.
std::wstring SystemFolder(UINT(WINAPI* query)(LPWSTR, UINT)) {
  wchar_t buffer[MAX_PATH];
  const UINT length = query(buffer, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::wstring(buffer, length) : std::wstring();
}

// The absolute folders on PATH, in order: "C:\..." or "\\server\...".
std::vector<std::wstring> PathFolders() {
  std::vector<std::wstring> folders;
  const DWORD size = GetEnvironmentVariableW(L"PATH", nullptr, 0);
  if (size == 0) return folders;
  std::wstring path(size, L'\0');
  path.resize(GetEnvironmentVariableW(L"PATH", &path[0], size));
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find(L';', start);
    if (end == std::wstring::npos) end = path.size();
    const std::wstring folder = path.substr(start, end - start);
    const bool absolute =
        (folder.size() >= 3 && folder[1] == L':' && folder[2] == L'\\') || folder.rfind(L"\\\\", 0) == 0;
    if (absolute) folders.push_back(folder);
    start = end + 1;
  }
  return folders;
}

}  // namespace

void* LoadLibraryFromSafeFolders(const char* name) {
  std::vector<std::wstring> folders = {WideFromUtf8(GetModuleDir()), SystemFolder(GetSystemDirectoryW),
                                       SystemFolder(GetWindowsDirectoryW)};
  for (const std::wstring& folder : PathFolders()) folders.push_back(folder);
  for (std::wstring candidate : folders) {
    if (candidate.empty()) continue;
    if (candidate.back() != L'\\') candidate += L'\\';
    candidate += WideFromUtf8(name);
    const DWORD attributes = GetFileAttributesW(candidate.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    // Its own dependencies are looked for beside it first.
    if (HMODULE library = LoadLibraryExW(candidate.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)) return library;
  }
  return nullptr;
}
