#include <windows.h>

#include "base/FileReplace.h"
#include "base/WideText.h"

namespace {

// Writes all of `bytes` and flushes them to the disk; 0 or GetLastError.
DWORD WriteAllAndFlush(HANDLE file, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD put = 0;
    const DWORD chunk = static_cast<DWORD>(bytes.size() - done > 65536 ? 65536 : bytes.size() - done);
    if (!WriteFile(file, bytes.data() + done, chunk, &put, nullptr)) return GetLastError();
    done += put;
  }
  return FlushFileBuffers(file) ? 0 : GetLastError();
}

}  // namespace

int ReplaceFileContent(const std::string& path, const std::string& bytes) {
  const std::wstring target = WideFromUtf8(path);
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return ERROR_ACCESS_DENIED;
  // A name of this process's own beside the file; CREATE_NEW never opens an existing one.
  std::wstring name;
  HANDLE file = INVALID_HANDLE_VALUE;
  for (unsigned attempt = 0; file == INVALID_HANDLE_VALUE && attempt < 100; ++attempt) {
    name = target + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(attempt) + L".new";
    file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
  }
  if (file == INVALID_HANDLE_VALUE) return static_cast<int>(GetLastError());
  DWORD error = WriteAllAndFlush(file, bytes);
  if (!CloseHandle(file) && error == 0) error = GetLastError();
  if (error == 0 && !MoveFileExW(name.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = GetLastError();
  }
  if (error != 0) DeleteFileW(name.c_str());
  return static_cast<int>(error);
}
