#include <windows.h>

#include <cstdio>

#include "FileReplace.h"

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
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return ERROR_ACCESS_DENIED;
  // A name of this process's own beside the file; CREATE_NEW never opens an existing one.
  char name[MAX_PATH + 64];
  HANDLE file = INVALID_HANDLE_VALUE;
  for (unsigned attempt = 0; file == INVALID_HANDLE_VALUE && attempt < 100; ++attempt) {
    snprintf(name, sizeof name, "%s.%lu-%u.new", path.c_str(), GetCurrentProcessId(), attempt);
    file = CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
  }
  if (file == INVALID_HANDLE_VALUE) return static_cast<int>(GetLastError());
  DWORD error = WriteAllAndFlush(file, bytes);
  if (!CloseHandle(file) && error == 0) error = GetLastError();
  if (error == 0 && !MoveFileExA(name, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = GetLastError();
  }
  if (error != 0) DeleteFileA(name);
  return static_cast<int>(error);
}
